#include "checker/encoding.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(Encoding, EveryWindows1252ByteRoundTrips) {
  std::string all;
  for (int code = 0; code <= 255; ++code) all += static_cast<char>(code);
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  bool lossless = false;
  EXPECT_EQ(Utf8ToWindows1252(utf8, lossless), all);
  EXPECT_TRUE(lossless);
  EXPECT_EQ(InputToWindows1252(utf8), all);
}

// A letter and the combining accent after it come in as one letter, whichever way text comes in.
TEST(Encoding, AccentsWrittenAfterTheirLettersAreComposed) {
  const std::pair<const char*, const char*> cases[] = {
      {"cancio\u0301n", "canci\xF3n"}, {"N\u0303ANDU\u0301", "\xD1" "AND\xDA"}, {"pingu\u0308ino", "ping\xFCino"},
      {"\u00F3\u0301", "\xF3?"},       {"x\u0301", "x?"},                   {"\u0301o", "?o"}};
  for (const auto& [utf8, composed] : cases) {
    EXPECT_EQ(Utf8ToWindows1252(utf8), composed) << utf8;
    EXPECT_EQ(InputToWindows1252(utf8), composed) << utf8;
  }
  UnheldCharacters unheld;
  EXPECT_EQ(Utf8ToWindows1252("cancio\u0301n x\u0301", unheld), "canci\xF3n x\x8F");
  EXPECT_EQ(unheld.codes, (std::vector<char32_t>{0x0301}));
  // Read in pieces, the last letter waits with its accents for an accent that may follow.
  EXPECT_EQ(ComposablePrefix("cancio\xCC\x81"), 5u);
  EXPECT_EQ(ComposablePrefix("ab\xC3"), 1u);
  EXPECT_EQ(ComposablePrefix("\xCC\x81"), 0u);
}

TEST(Encoding, HighControlTableMapsToTheRightCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"\x80", "\u20AC"},
      {"\x85\x91\x92\x93\x94\x96\x97", "\u2026\u2018\u2019\u201C\u201D\u2013\u2014"},
      {"\x8A\x9F", "\u0160\u0178"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
      {"cami\xF3n \xD1" "and\xFA", "cami\u00F3n \u00D1and\u00FA"}};
  for (const auto& [windows1252, utf8] : cases) EXPECT_EQ(Windows1252ToUtf8(windows1252), utf8) << utf8;
}

TEST(Encoding, MissingCharactersAndBrokenBytesBecomeQuestionMarks) {
  bool lossless = true;
  EXPECT_EQ(Utf8ToWindows1252("a\u4E2Db\U0001F600c", lossless), "a?b?c");
  EXPECT_FALSE(lossless);
  // U+0080 is a C1 control that Windows-1252 uses for the euro sign: no code for it.
  EXPECT_EQ(Utf8ToWindows1252("\u0080"), "?");
  EXPECT_EQ(Utf8ToWindows1252("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToWindows1252("\xE2\x82"), "?");       // cut short
  EXPECT_EQ(Utf8ToWindows1252("\xE2\x82z"), "?z");      // cut short, next character kept
  EXPECT_EQ(Utf8ToWindows1252("\xC3\xB1\xC3"), "\xF1?");
  lossless = false;
  EXPECT_EQ(Utf8ToWindows1252("plain ?", lossless), "plain ?");
  EXPECT_TRUE(lossless);
}

// One placeholder byte per character Windows-1252 lacks, and the characters back in order, also
// when the text goes both ways in pieces.
TEST(Encoding, CharactersWithoutACodeAreKeptInOrderBehindOnePlaceholderEach) {
  const std::string utf8 = "el \u2615 y \U0001F600 cami\u00F3n, \u03A9mega \u4E2D\u6587 \u008F.";
  UnheldCharacters unheld;
  const std::string text = Utf8ToWindows1252(utf8, unheld);
  EXPECT_EQ(text, "el \x8F y \x8F cami\xF3n, \x8Fmega \x8F\x8F \x8F.");
  EXPECT_EQ(unheld.codes, (std::vector<char32_t>{0x2615, 0x1F600, 0x03A9, 0x4E2D, 0x6587, 0x008F}));
  EXPECT_EQ(Windows1252ToUtf8(text, unheld), utf8);
  EXPECT_EQ(unheld.next, unheld.codes.size());

  UnheldCharacters pieces;
  const std::size_t cut = utf8.find("mega");
  const std::string first = Utf8ToWindows1252(utf8.substr(0, cut), pieces);
  const std::string second = Utf8ToWindows1252(utf8.substr(cut), pieces);
  EXPECT_EQ(first + second, text);
  std::string back = Windows1252ToUtf8(first, pieces);
  back += Windows1252ToUtf8(second, pieces);
  EXPECT_EQ(back, utf8);

  // A text Windows-1252 holds converts as before, and a placeholder without its character falls
  // back to the control of that code.
  UnheldCharacters none;
  EXPECT_EQ(Utf8ToWindows1252("cami\u00F3n \u20AC", none), "cami\xF3n \x80");
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(Windows1252ToUtf8("\x8F", none), "\u008F");
  EXPECT_EQ(InputToWindows1252("x\xFF\x8F", none), "x\xFF\x8F");
}

TEST(Encoding, StrictUtf8ValidationAndInputTakenAsUtf8OnlyWhenValid) {
  const std::pair<const char*, bool> valid[] = {
      {"", true},
      {"\xC3\xB1\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", true},
      {"\xC0\xAF", false},          // overlong "/"
      {"\xE0\x80\xAF", false},      // overlong
      {"\xF0\x80\x80\xAF", false},  // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false}, {"\x80", false}, {"\xC3", false}, {"\xC3\x28", false}};
  for (const auto& [bytes, isUtf8] : valid) EXPECT_EQ(IsValidUtf8(bytes), isUtf8) << ::testing::PrintToString(bytes);

  const std::pair<const char*, const char*> input[] = {
      {"cami\xC3\xB3n", "cami\xF3n"},
      {"cami\xF3n", "cami\xF3n"},  // already Windows-1252
      {"hola", "hola"}, {"\xE4\xB8\xAD", "?"}};
  for (const auto& [bytes, text] : input) EXPECT_EQ(InputToWindows1252(bytes), text) << bytes;
}

// A UTF-8 text with a stray Windows-1252 byte keeps its UTF-8 letters; what was met is reported,
// and a piece of input is decoded only up to a UTF-8 sequence the next bytes may finish.
TEST(Encoding, MixedInputDecodesEachSequenceOnItsOwn) {
  struct Case {
    std::string bytes, text;
    bool utf8, windows1252;
  };
  for (const Case& c : std::vector<Case>{{"cami\xC3\xB3n \xF1u", "cami\xF3n \xF1u", true, true},
                                         {"\xE9l cami\xC3\xB3n", "\xE9l cami\xF3n", true, true},
                                         {"cami\xF3n \xC3", "cami\xF3n \xC3", false, true},
                                         {"cami\xC3\xB3n", "cami\xF3n", true, false},
                                         {"hola", "hola", false, false}}) {
    InputEncodings seen;
    EXPECT_EQ(InputToWindows1252(c.bytes, seen), c.text) << c.bytes;
    EXPECT_EQ(seen.utf8, c.utf8) << c.bytes;
    EXPECT_EQ(seen.windows1252, c.windows1252) << c.bytes;
  }
  const std::pair<const char*, std::size_t> prefixes[] = {
      {"ab\xC3", 2}, {"ab\xE2\x82", 2}, {"ab\xE2\x82\xAC", 5}, {"ab\xF0\x9F\x98", 2}, {"ab\xF3", 2}, {"ab\x80", 3}};
  for (const auto& [bytes, decodable] : prefixes) EXPECT_EQ(DecodablePrefix(bytes), decodable) << bytes;
}

}  // namespace
}  // namespace velmara
