#include "checker/characters.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

std::vector<std::string> Texts(const TokenList& list) {
  std::vector<std::string> texts;
  for (const auto& entry : list) texts.push_back(entry.text.str());
  return texts;
}

TEST(Tokenise, SplitsWordsAndSingleSeparators) {
  TokenList list;
  EXPECT_EQ(Tokenise("", list), 0u);
  EXPECT_EQ(Tokenise("hola  mundo", list), 4u);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"hola", " ", " ", "mundo"}));
  Tokenise("\xBFQu\xE9?", list);  // ¿Qué?
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"\xBF", "Qu\xE9", "?"}));
  Tokenise("casa\r\nperro", list);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"casa", "\r", "\n", "perro"}));
}

TEST(Tokenise, DigitsAndApostrophes) {
  TokenList list;
  EXPECT_EQ(Tokenise("l\x92" "agua", list), 1u);  // curly apostrophe is a word character
  EXPECT_EQ(Tokenise("l'agua", list), 3u);
  EXPECT_EQ(Tokenise("3,14", list), 4u);
  EXPECT_EQ(CountWords(list), 0u);
  Tokenise("x\xB2 a\xF1o2025", list);  // x² año2025
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"x\xB2", " ", "a\xF1o", "2", "0", "2", "5"}));
}

TEST(Tokenise, CountWordsSkipsSeparatorTokens) {
  TokenList list;
  Tokenise(", ;", list);
  EXPECT_EQ(CountWords(list), 0u);
  Tokenise("hola, mundo", list);
  EXPECT_EQ(CountWords(list), 2u);
  Tokenise("uno\tdos", list);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"uno", "\t", "dos"}));
  EXPECT_EQ(CountWords(list), 2u);
}

// Dialogue dashes and symbols separate words; an address is one token, neither word nor separator.
TEST(Tokenise, DashesSymbolsAndAddresses) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"\x97" "dijo Juan\x97.", {"\x97", "dijo", " ", "Juan", "\x97", "."}},
      {"a*b+c\xB7" "d\x95", {"a", "*", "b", "+", "c", "\xB7", "d", "\x95"}},
      {"en www.gnu.org, ya", {"en", " ", "www.gnu.org", ",", " ", "ya"}},
      {"(https://es.wikipedia.org/wiki/A_(b)).", {"(", "https://es.wikipedia.org/wiki/A_(b)", ")", "."}},
      {"a juan.perez23@ejemplo.es.", {"a", " ", "juan.perez23@ejemplo.es", "."}},
      {"gnu.org/x fin.Luego EE.UU.", {"gnu.org/x", " ", "fin", ".", "Luego", " ", "EE", ".", "UU", "."}}};
  TokenList list;
  for (const auto& [text, tokens] : cases) {
    Tokenise(text, list);
    EXPECT_EQ(Texts(list), tokens) << text;
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
