#include "tools/character_names.h"

namespace velmara {

CharacterNameTable BuildCharacterNameTable() {
  CharacterNameTable table;
  for (int code = 0; code <= 255; ++code) {
    switch (code) {
      case 0: table[code] = "$NUL"; break;
      case 7: table[code] = "$BEL"; break;
      case 8: table[code] = "$BS"; break;
      case 9: table[code] = "$TAB"; break;
      case 10: table[code] = "$LF"; break;
      case 11: table[code] = "$VT"; break;
      case 12: table[code] = "$FF"; break;
      case 13: table[code] = "$CR"; break;
      case 26: table[code] = "$EOF"; break;
      case 27: table[code] = "$ESC"; break;
      case 32: table[code] = "$SPC"; break;
      case 34: table[code] = "$DQ"; break;
      case 39: table[code] = "$SQ"; break;
      default: table[code] = std::string(1, static_cast<char>(code)); break;
    }
  }
  return table;
}

}  // namespace velmara
