#include "server/country_databases.h"

#include <algorithm>

namespace velmara::server {

CountryDatabases::CountryDatabases(std::vector<std::string> installed, Loader loader, std::size_t kept)
    : installed_(std::move(installed)), loader_(std::move(loader)), kept_(std::max<std::size_t>(kept, 1)) {}

std::shared_ptr<const CountryEngine> CountryDatabases::For(const std::string& country) {
  if (country == Own() || std::find(installed_.begin(), installed_.end(), country) == installed_.end()) return nullptr;
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = std::find_if(loaded_.begin(), loaded_.end(), [&](const auto& entry) { return entry.first == country; });
  if (found != loaded_.end()) {
    loaded_.splice(loaded_.begin(), loaded_, found);
    return loaded_.front().second;
  }
  std::shared_ptr<const CountryEngine> engine = loader_(country);
  if (!engine) return nullptr;
  loaded_.emplace_front(country, engine);
  if (loaded_.size() > kept_) loaded_.pop_back();
  return engine;
}

}  // namespace velmara::server
