#pragma once
// The string finder's search: words of the lists that begin with a prefix, or end with the
// letters after a leading "-".

#include <string>
#include <string_view>
#include <vector>

#include "worddb/word_database.h"

namespace velmara {

// 1 all lists, 2 verbs only, 3 dictionary only, 4 proper names only.
enum class FinderMode { All = 1, Verbs = 2, Dictionary = 3, ProperNames = 4 };

// Captions of the drop-down list, in mode order.
inline constexpr const char* kFinderModeCaptions[] = {"01 - Todas las palabras", "02 - Verbos solo",
                                                      "03 - Diccionario solo", "04 - Nombres Propios solo"};

struct StringSearchResult {
  bool valid = false;                // false: nothing happens at all (no message, results kept)
  std::vector<std::string> entries;  // in the order the sorted results list shows them
  std::size_t foundCount = 0;
  std::string message;  // "Termine de buscar ..." CR LF "Encontrados N palabras con ..."
};

// The order of the program's sorted lists: letters first with case and accents ignored (ñ after
// n), then accents, then case.
bool ListOrderLess(std::string_view a, std::string_view b);

StringSearchResult RunStringSearch(const WordDatabase& database, FinderMode mode, std::string_view searchText);

}  // namespace velmara
