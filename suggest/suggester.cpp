#include "suggest/suggester.h"

namespace velmara {

struct Suggester::Index {};

Suggester::Suggester(const WordDatabase& database) : database_(database) {}
Suggester::~Suggester() = default;

// Offers nothing yet.
std::vector<std::string> Suggester::Suggest(std::string_view word, std::size_t limit) const {
  (void)word, (void)limit;
  return {};
}

}  // namespace velmara
