#include "tools/character_names.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(CharacterNames, ControlCharactersAndQuotesHaveNames) {
  const auto table = BuildCharacterNameTable();
  EXPECT_EQ(table[0], "$NUL");
  EXPECT_EQ(table[7], "$BEL");
  EXPECT_EQ(table[8], "$BS");
  EXPECT_EQ(table[9], "$TAB");
  EXPECT_EQ(table[10], "$LF");
  EXPECT_EQ(table[11], "$VT");
  EXPECT_EQ(table[12], "$FF");
  EXPECT_EQ(table[13], "$CR");
  EXPECT_EQ(table[26], "$EOF");
  EXPECT_EQ(table[27], "$ESC");
  EXPECT_EQ(table[32], "$SPC");
  EXPECT_EQ(table[34], "$DQ");
  EXPECT_EQ(table[39], "$SQ");
}

TEST(CharacterNames, OtherCodesNameThemselvesAndLastEntryIsEmpty) {
  const auto table = BuildCharacterNameTable();
  for (int code : {1, 6, 14, 25, 28, 31, 33, 35, 38, 40, 65})
    EXPECT_EQ(table[code], std::string(1, static_cast<char>(code))) << code;
  for (int code = 127; code <= 255; ++code)
    EXPECT_EQ(table[code], std::string(1, static_cast<char>(code))) << code;
  EXPECT_EQ(table[33], "!");
  EXPECT_EQ(table[65], "A");
  EXPECT_EQ(table[0xF1], "\xF1");
  EXPECT_TRUE(table[256].empty());
}

}  // namespace
}  // namespace velmara
