#include "checker/accents.h"

#include <gtest/gtest.h>

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

bool Plural(std::vector<std::string> dictionary, std::string_view word) {
  return IsPluralOfDictionaryWord(WordList(std::move(dictionary)), word);
}

TEST(Plurals, AfterVowelsAndPluralConsonants) {
  EXPECT_TRUE(Plural({"casa"}, "casas"));
  EXPECT_TRUE(Plural({"club"}, "clubs"));
  EXPECT_FALSE(Plural({"mar"}, "mars"));    // r takes "es"
  EXPECT_FALSE(Plural({"x\xFC"}, "x\xFCs"));  // ü is neither a vowel nor a plural consonant
  EXPECT_FALSE(Plural({"", "s"}, "s"));     // one letter: nothing before the last
}

TEST(Plurals, InEs) {
  EXPECT_TRUE(Plural({"papel"}, "papeles"));
  EXPECT_TRUE(Plural({"cami\xF3n"}, "camiones"));  // accent of the singular found at any position
  EXPECT_TRUE(Plural({"\xE1rbol"}, "\xE1rboles"));
  EXPECT_FALSE(Plural({"arbol"}, "\xE1rboles"));
  EXPECT_FALSE(Plural({"pingu"}, "ping\xFC" "es"));  // taking off a diaeresis is not an accent variant
  EXPECT_TRUE(Plural({"pez"}, "peces"));
}

TEST(Plurals, InIsOfWordsInY) {
  EXPECT_TRUE(Plural({"rey"}, "reis"));
  EXPECT_FALSE(Plural({"convoy"}, "convois"));  // too long for the short rule
  EXPECT_TRUE(Plural({"jersey"}, "jers\xE9is"));
  EXPECT_FALSE(Plural({"rey"}, "r\xE9is"));  // the accented rule needs six letters
  EXPECT_TRUE(Plural({"car\xE1" "cy"}, "caracis"));
}

TEST(Plurals, BuiltSingularsAreCutTo255Characters) {
  std::string longSingular(300, 'b');
  EXPECT_TRUE(Plural({longSingular.substr(0, 255)}, longSingular + "es"));
  // The singular of the vowel rule is looked up whole.
  EXPECT_FALSE(Plural({std::string(255, 'a')}, std::string(300, 'a') + "s"));
}

}  // namespace
}  // namespace velmara
