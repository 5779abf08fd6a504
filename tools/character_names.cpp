#include "tools/character_names.h"

#include <utility>

namespace velmara {
namespace {

// Characters that would be invisible or ambiguous in the trace; every other code names itself.
constexpr std::pair<int, const char*> kNamedCodes[] = {
    {0, "$NUL"}, {7, "$BEL"},  {8, "$BS"},   {9, "$TAB"},  {10, "$LF"}, {11, "$VT"}, {12, "$FF"},
    {13, "$CR"}, {26, "$EOF"}, {27, "$ESC"}, {32, "$SPC"}, {34, "$DQ"}, {39, "$SQ"},
};

}  // namespace

CharacterNameTable BuildCharacterNameTable() {
  CharacterNameTable table;
  for (int code = 0; code <= 255; ++code) table[code] = std::string(1, static_cast<char>(code));
  for (const auto& [code, name] : kNamedCodes) table[code] = name;
  return table;
}

}  // namespace velmara
