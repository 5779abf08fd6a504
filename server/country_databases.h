#pragma once
// The word databases of the countries a request may name ("language": "es-MX"), beside the one
// the server started with. Another country is loaded on its first request, with its suggester
// built before it answers, and kept while it is among the few asked for last; a request that
// holds one keeps it alive however the others come and go.

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "suggest/suggester.h"
#include "worddb/word_database.h"

namespace velmara::server {

struct CountryEngine {
  WordDatabase database;
  std::unique_ptr<Suggester> suggester;  // over `database`, built once it is loaded
};

class CountryDatabases {
 public:
  // Loads one country (its lists and the user's words); nothing when it cannot.
  using Loader = std::function<std::unique_ptr<CountryEngine>(const std::string& country)>;

  // `installed`: the countries that may be asked for, the server's own first. At most `kept`
  // others are held at once.
  CountryDatabases(std::vector<std::string> installed, Loader loader, std::size_t kept = 3);

  const std::vector<std::string>& Installed() const { return installed_; }
  const std::string& Own() const { return installed_.front(); }

  // The engine of `country` (es_MX); nothing for the server's own country or one not installed.
  std::shared_ptr<const CountryEngine> For(const std::string& country);

 private:
  const std::vector<std::string> installed_;
  const Loader loader_;
  const std::size_t kept_;
  std::mutex mutex_;  // over `loaded_` and the loads: a country is loaded once however many ask
  std::list<std::pair<std::string, std::shared_ptr<const CountryEngine>>> loaded_;  // the last asked first
};

}  // namespace velmara::server
