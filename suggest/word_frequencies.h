#pragma once
// The words Spanish technical prose uses most, commonest first (Windows-1252), built into the
// program from resources/frecuencias.txt. Empty when the build had no such file: suggestions
// are still offered, ranked by the edits alone.

#include <string_view>
#include <vector>

namespace velmara {

std::vector<std::string_view> FrequentWords();

}  // namespace velmara
