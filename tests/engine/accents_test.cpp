#include "checker/accents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmara {
namespace {

TEST(AccentText, AccentMapAndPositions) {
  EXPECT_EQ(AccentAt("camion", 5), "cami\xF3n");
  EXPECT_EQ(AccentAt("aeiou", 1) + AccentAt("aeiou", 3) + AccentAt("aeiou", 5),
            "\xE1" "eiou" "ae\xEDou" "aeio\xFA");
  EXPECT_EQ(AccentAt("ping\xFCino", 5), "pinguino");  // the diaeresis is taken off, not accented
  for (std::size_t position : {0u, 1u, 9u}) EXPECT_EQ(AccentAt("\xE1rbol", position), "\xE1rbol") << position;
  EXPECT_EQ(AccentAt("CASA", 2), "CASA");
  EXPECT_EQ(ReplaceCharAt("casa", "XY", 1), "XYasa");
  EXPECT_EQ(ReplaceCharAt("casa", "X", 5), "casa");
}

TEST(AccentText, DiaeresisIsNotAnAccent) {
  EXPECT_TRUE(HasAccent("canci\xF3n"));
  EXPECT_FALSE(HasAccent("ping\xFCino"));
  EXPECT_FALSE(HasAccent("CANCI\xD3N"));
  EXPECT_EQ(StripAccents("ping\xFCino"), "ping\xFCino");
  EXPECT_EQ(StripAccents("\xE1\xE9\xED\xF3\xFA\xF1"), "aeiou\xF1");
}

// Whether `word` is taken for the plural of a word of `dictionary`.
TEST(Plurals, InSEsAndIsFromTheSingularsOfTheDictionary) {
  const std::string longSingular(300, 'b');
  const struct {
    std::vector<std::string> dictionary;
    std::string word;
    bool plural;
  } cases[] = {
      // After vowels and the consonants whose plural takes "s"; r takes "es"; ü is neither; one
      // letter has nothing before the last.
      {{"casa"}, "casas", true}, {{"club"}, "clubs", true}, {{"mar"}, "mars", false}, {{"x\xFC"}, "x\xFCs", false},
      {{"", "s"}, "s", false},
      // In "es", the accent of the singular found at any position; taking off a diaeresis is not
      // an accent variant.
      {{"papel"}, "papeles", true}, {{"cami\xF3n"}, "camiones", true}, {{"\xE1rbol"}, "\xE1rboles", true},
      {{"arbol"}, "\xE1rboles", false}, {{"pingu"}, "ping\xFC" "es", false}, {{"pez"}, "peces", true},
      // In "is" of words in y: "convoy" is too long for the short rule, the accented one needs six letters.
      {{"rey"}, "reis", true}, {{"convoy"}, "convois", false}, {{"jersey"}, "jers\xE9is", true},
      {{"rey"}, "r\xE9is", false}, {{"car\xE1" "cy"}, "caracis", true},
      // A built singular is cut to 255 characters; the singular of the vowel rule is looked up whole.
      {{longSingular.substr(0, 255)}, longSingular + "es", true},
      {{std::string(255, 'a')}, std::string(300, 'a') + "s", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPluralOfDictionaryWord(WordList(c.dictionary), c.word), c.plural) << c.word.substr(0, 20);
  }
}

}  // namespace
}  // namespace velmara
