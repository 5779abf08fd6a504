#include "tools/character_names.h"

#include <gtest/gtest.h>

#include <map>

namespace velmara {
namespace {

TEST(CharacterNames, EveryCodeHasItsName) {
  const std::map<int, std::string> named{
      {0, "$NUL"}, {7, "$BEL"},  {8, "$BS"},   {9, "$TAB"},  {10, "$LF"}, {11, "$VT"}, {12, "$FF"},
      {13, "$CR"}, {26, "$EOF"}, {27, "$ESC"}, {32, "$SPC"}, {34, "$DQ"}, {39, "$SQ"},
  };
  const auto table = BuildCharacterNameTable();
  for (int code = 0; code <= 255; ++code) {
    auto it = named.find(code);
    EXPECT_EQ(table[code], it != named.end() ? it->second : std::string(1, static_cast<char>(code))) << code;
  }
  EXPECT_EQ(table[33], "!");
  EXPECT_EQ(table[65], "A");
  EXPECT_EQ(table[0xF1], "\xF1");  // ñ
  EXPECT_TRUE(table[256].empty());
}

}  // namespace
}  // namespace velmara
