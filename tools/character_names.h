#pragma once
// A printable name for every character code, for the trace of a check ("$SPC", "$CR", ...).

#include <array>
#include <string>

namespace velmara {

// Entries 0 to 255 are filled; entry 256 stays empty.
using CharacterNameTable = std::array<std::string, 257>;

CharacterNameTable BuildCharacterNameTable();

}  // namespace velmara
