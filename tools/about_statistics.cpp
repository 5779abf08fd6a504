#include "tools/about_statistics.h"

#include <fstream>

namespace velmara {

int CountNonEmptyLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  int count = 0;
  std::string line;
  // Windows lines end in CR LF; the CR belongs to the line break, not to the line.
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) ++count;
  }
  return count;
}

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
