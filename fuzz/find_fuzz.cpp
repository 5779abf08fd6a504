// The finder (velmara-check --find) over any search text and mode: a valid search finds only
// words of the lists it searches (a proper name with its capital), never more than it counts,
// and always says what it did.

#include <cstdint>
#include <string>

#include "checker/characters.h"
#include "fuzz_database.h"
#include "fuzz_support.h"
#include "tools/string_search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  if (size == 0) return 0;
  const auto mode = static_cast<FinderMode>(1 + data[0] % 4);
  const WordDatabase& database = fuzz::SmallDatabase();
  const StringSearchResult result = RunStringSearch(database, mode, fuzz::AsText(data + 1, size - 1));
  if (!result.valid) return 0;
  FUZZ_CHECK(!result.message.empty());
  FUZZ_CHECK(result.entries.size() <= result.foundCount);
  // Proper names are shown with their capital.
  auto in = [](const WordList& list, const std::string& word) {
    return list.Find(word) != 0 || list.Find(LowerCase(word)) != 0;
  };
  for (const std::string& entry : result.entries)
    FUZZ_CHECK(in(database.dictionary, entry) || in(database.verbs, entry) || in(database.properNames, entry));
  return 0;
}
