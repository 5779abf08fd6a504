#include "checker/characters.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

std::vector<std::string> Texts(const TokenList& list) {
  std::vector<std::string> texts;
  for (const auto& entry : list) texts.push_back(entry.text.str());
  return texts;
}

// Words are runs of word characters (letters, the curly apostrophe, superscripts); every other
// character is a token of its own. Dialogue dashes and symbols separate words; an address is one
// token, neither word nor separator; digits are separators, so a number is no word.
TEST(Tokenise, SplitsWordsSeparatorsAndAddresses) {
  struct Case {
    const char* text;
    std::vector<std::string> tokens;
    std::size_t words;
  };
  const Case cases[] = {
      {"", {}, 0},
      {"hola  mundo", {"hola", " ", " ", "mundo"}, 2},
      {"\xBFQu\xE9?", {"\xBF", "Qu\xE9", "?"}, 1},  // ¿Qué?
      {"casa\r\nperro", {"casa", "\r", "\n", "perro"}, 2},
      {"uno\tdos", {"uno", "\t", "dos"}, 2},
      {", ;", {",", " ", ";"}, 0},
      {"hola, mundo", {"hola", ",", " ", "mundo"}, 2},
      {"l\x92" "agua", {"l\x92" "agua"}, 1},
      {"l'agua", {"l", "'", "agua"}, 2},
      {"3,14", {"3", ",", "1", "4"}, 0},
      {"x\xB2 a\xF1o2025", {"x\xB2", " ", "a\xF1o", "2", "0", "2", "5"}, 2},  // x² año2025
      {"\x97" "dijo Juan\x97.", {"\x97", "dijo", " ", "Juan", "\x97", "."}, 2},
      {"a*b+c\xB7" "d\x95", {"a", "*", "b", "+", "c", "\xB7", "d", "\x95"}, 4},
      {"en www.gnu.org, ya", {"en", " ", "www.gnu.org", ",", " ", "ya"}, 2},
      {"(https://es.wikipedia.org/wiki/A_(b)).", {"(", "https://es.wikipedia.org/wiki/A_(b)", ")", "."}, 0},
      {"a juan.perez23@ejemplo.es.", {"a", " ", "juan.perez23@ejemplo.es", "."}, 1},
      {"gnu.org/x fin.Luego EE.UU.", {"gnu.org/x", " ", "fin", ".", "Luego", " ", "EE", ".", "UU", "."}, 4}};
  TokenList list;
  for (const Case& c : cases) {
    EXPECT_EQ(Tokenise(c.text, list), c.tokens.size()) << c.text;
    EXPECT_EQ(Texts(list), c.tokens) << c.text;
    EXPECT_EQ(CountWords(list), c.words) << c.text;
  }
  Tokenise("uno * dos \x85 www.gnu.org y a@b.com", list);
  EXPECT_EQ(CountWords(list), 3u);
}

TEST(Tokenise, KeepsLongWordsWhole) {
  TokenList list;
  Tokenise(std::string(300, 'a') + " b", list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].text.size(), 300u);
}

// The lists are reused from check to check: what a longer text left behind must not survive. The
// display text's tokens are the source's, a line break shown as a space.
TEST(Tokenise, ReusedListsEndAsFreshOnes) {
  const std::string text = "Casa\r\nperro,  " + std::string(300, 'b') + "\n\xBFqu\xE9?\r";
  TokenList source;
  Tokenise(std::string(400, 'x') + " uno dos tres cuatro cinco seis siete", source);
  for (TokenEntry& entry : source) entry.verdict = Verdict::Missing;
  const std::size_t count = Tokenise(text, source);

  TokenList freshSource, freshDisplay;
  EXPECT_EQ(count, Tokenise(text, freshSource));
  std::string displayText = text;
  for (char& c : displayText)
    if (c == '\r' || c == '\n') c = ' ';
  Tokenise(displayText, freshDisplay);
  EXPECT_EQ(Texts(source), Texts(freshSource));
  ASSERT_EQ(freshDisplay.size(), count);
  for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(ShownText(source[i].text), freshDisplay[i].text.view()) << i;
  for (const TokenEntry& entry : source) EXPECT_EQ(entry.verdict, Verdict::Accepted);
}

// The text is read in blocks: a token across a block's edge or near the text's end, and a text
// of one-character tokens longer than the lists make room for at once, come out as anywhere else.
TEST(Tokenise, SameTokensWhereverTheTextFalls) {
  const std::string sample = "Vea www.gnu.org/licencias, escriba a juan.perez@ejemplo.es o " + std::string(70, 'x') +
                             ".\r\nacci\xF3n \xBFQu\xE9? palabraDeQuince";
  TokenList expected, list;
  Tokenise(sample, expected);
  for (std::size_t shift = 0; shift < 140; ++shift) {
    const std::size_t trailing = shift % 17;
    const std::string text = std::string(shift, ' ') + sample + std::string(trailing, ' ');
    ASSERT_EQ(Tokenise(text, list), shift + expected.size() + trailing) << shift;
    const std::vector<std::string> texts = Texts(list);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + shift, texts.end() - trailing), Texts(expected)) << shift;
  }
  // Every character inside a block read whole splits a word exactly when it is a separator.
  for (int c = 0; c < 256; ++c) {
    std::string text(70, 'a');
    text[33] = static_cast<char>(c);
    EXPECT_EQ(Tokenise(text, list), IsSeparatorChar(static_cast<unsigned char>(c)) ? 3u : 1u) << c;
  }
  // A short text takes no more room than its tokens (it may be one word from a spelling library).
  TokenList fresh;
  Tokenise("hola mundo", fresh);
  EXPECT_LE(fresh.capacity(), 16u);
  std::string pairs;
  for (int i = 0; i < 6000; ++i) pairs += "a.";
  for (const std::string& text : {std::string(10000, ','), pairs}) {
    ASSERT_EQ(Tokenise(text, list), text.size());
    std::string joined;
    for (const TokenEntry& entry : list) joined += entry.text.view();
    EXPECT_EQ(joined, text);
  }
}

TEST(FindAfter, SearchesAfterThePosition) {
  EXPECT_EQ(FindAfter("la casa y la casa", "casa", 0), 4u);
  EXPECT_EQ(FindAfter("la casa y la casa", "casa", 4), 14u);
  EXPECT_EQ(FindAfter("la casa y la casa", "casa", 14), 0u);
  EXPECT_EQ(FindAfter("la casa", "Casa", 0), 0u);
  EXPECT_EQ(FindAfter("abc", "abcd", 0), 0u);
  EXPECT_EQ(FindAfter("abc", "c", 100), 0u);
}

TEST(CaseMappings, FollowWindows1252Pairs) {
  EXPECT_EQ(MixedCase("\xD1" "AND\xDA"), "\xD1" "and\xFA");  // ÑANDÚ -> Ñandú
  EXPECT_EQ(UpperCase("\xF1" "and\xFA"), "\xD1" "AND\xDA");
  EXPECT_EQ(MixedCase("o'neil"), "O'Neil");
  EXPECT_EQ(MixedCase("de el"), "De El");
  EXPECT_EQ(MixedCase("\xC1RBOL"), "\xC1rbol");  // ÁRBOL -> Árbol
  EXPECT_EQ(LowerCase("\x8A\x8C\x8E\x9F\xD7"), "\x9A\x9C\x9E\xFF\xD7");  // Š Œ Ž Ÿ ×
  EXPECT_EQ(UpperCase("\xDF\xF7"), "\xDF\xF7");                          // ß ÷ unchanged
}

TEST(CaseMappings, CasePatterns) {
  EXPECT_EQ(CasePatternOf("A"), CasePattern::Capitalised);
  EXPECT_EQ(CasePatternOf("\xD1U"), CasePattern::AllCaps);  // ÑU
  EXPECT_EQ(CasePatternOf("\xC7" "ava"), CasePattern::Other);  // Çava
  EXPECT_EQ(CasePatternOf("McDonald"), CasePattern::Other);
  EXPECT_EQ(CasePatternOf("NASA"), CasePattern::AllCaps);
}

TEST(Separators, FirstCharacterOnly) {
  EXPECT_TRUE(IsSeparator(".abc"));
  EXPECT_FALSE(IsSeparator("abc."));
  EXPECT_FALSE(IsSeparator(""));
  EXPECT_FALSE(IsSeparatorChar(0));
  EXPECT_TRUE(IsSeparatorChar('\t'));
  EXPECT_EQ(TrimSpaces("  \ta "), "\ta");
}

}  // namespace
}  // namespace velmara
