#pragma once
// What the suggester knows of everyday Spanish, built into the program from
// resources/frecuencias.txt (Windows-1252): the words writers use most, commonest first, and the
// sequences of two or three words they use most (por favor, sin embargo, a lo mejor), each with
// its words separated by one space. Both are empty when the build had no such file: suggestions
// are still offered, ranked by the edits alone.

#include <string_view>
#include <vector>

namespace velmara {

std::vector<std::string_view> FrequentWords();
std::vector<std::string_view> CommonSequences();

}  // namespace velmara
