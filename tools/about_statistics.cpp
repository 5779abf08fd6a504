#include "tools/about_statistics.h"

#include "suggest/intellisense.h"

namespace velmara {

int CountNonEmptyLines(const std::filesystem::path& file) { return IntellisenseCountEntries(file); }

std::array<std::string, 5> AboutStatisticsLines(const WordDatabase& database, int intellisenseLines) {
  return {
      "Diccionario: [ali-] " + std::to_string(database.dictionary.Count()) + " palabras",
      "Verbos: [desen-] " + std::to_string(database.verbs.Count()) + " palabras",
      "Nombres propios: " + std::to_string(database.properNames.Count()) + " palabras",
      "Falsos positivos: " + std::to_string(database.falsePositives.count) + " palabras; max. " +
          std::to_string(FalsePositiveList::kCapacity),
      "Intellisense: " + std::to_string(intellisenseLines) + " palabras",
  };
}

}  // namespace velmara
