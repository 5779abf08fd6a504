#include "checker/accents.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(AccentText, ReplaceCharAtCopiesEverythingElse) {
  EXPECT_EQ(ReplaceCharAt("casa", "XY", 1), "XYasa");
  EXPECT_EQ(ReplaceCharAt("casa", "", 4), "cas");
  EXPECT_EQ(ReplaceCharAt("casa", "X", 0), "casa");
  EXPECT_EQ(ReplaceCharAt("casa", "X", 5), "casa");
  EXPECT_EQ(ReplaceCharAt("", "X", 1), "");
}

TEST(AccentText, AccentMap) {
  EXPECT_EQ(AccentAt("camion", 5), "cami\xF3n");
  EXPECT_EQ(AccentAt("aeiou", 1), "\xE1" "eiou");
  EXPECT_EQ(AccentAt("aeiou", 2), "a\xE9iou");
  EXPECT_EQ(AccentAt("aeiou", 3), "ae\xEDou");
  EXPECT_EQ(AccentAt("aeiou", 5), "aeio\xFA");
  EXPECT_EQ(AccentAt("ping\xFCino", 5), "pinguino");  // the diaeresis is taken off, not accented
  EXPECT_EQ(AccentAt("ping\xFCino", 1), "ping\xFCino");
  EXPECT_EQ(AccentAt("\xE1rbol", 1), "\xE1rbol");     // already accented
  EXPECT_EQ(AccentAt("casa", 0), "casa");
  EXPECT_EQ(AccentAt("casa", 9), "casa");
  EXPECT_EQ(AccentAt("CASA", 2), "CASA");  // capitals are not in the map
}

TEST(AccentText, DiaeresisIsNotAnAccent) {
  EXPECT_TRUE(HasAccent("canci\xF3n"));
  EXPECT_TRUE(HasAccent("\xFA"));
  EXPECT_FALSE(HasAccent("ping\xFCino"));
  EXPECT_FALSE(HasAccent("CANCI\xD3N"));
  EXPECT_FALSE(HasAccent(""));
  EXPECT_EQ(StripAccents("ping\xFCino"), "ping\xFCino");
  EXPECT_EQ(StripAccents("canci\xF3n"), "cancion");
  EXPECT_EQ(StripAccents("\xE1\xE9\xED\xF3\xFA\xF1"), "aeiou\xF1");
}

bool Plural(std::vector<std::string> dictionary, std::string_view word) {
  return IsPluralOfDictionaryWord(WordList(std::move(dictionary)), word);
}

TEST(Plurals, AfterVowelsAndPluralConsonants) {
  EXPECT_TRUE(Plural({"casa"}, "casas"));
  EXPECT_TRUE(Plural({"caf\xE9"}, "caf\xE9s"));
  EXPECT_TRUE(Plural({"club"}, "clubs"));
  EXPECT_TRUE(Plural({"bistec"}, "bistecs"));
  // r, l, n, ... take "es": "mars" is not the plural of "mar".
  EXPECT_FALSE(Plural({"mar"}, "mars"));
  // A diaeresis is neither a vowel nor a plural consonant.
  EXPECT_FALSE(Plural({"x\xFC"}, "x\xFCs"));
  EXPECT_FALSE(Plural({"perro"}, "casas"));
}

TEST(Plurals, InEs) {
  EXPECT_TRUE(Plural({"papel"}, "papeles"));
  EXPECT_TRUE(Plural({"cami\xF3n"}, "camiones"));  // accent of the singular found at any position
  EXPECT_TRUE(Plural({"\xE1rbol"}, "\xE1rboles"));  // accent kept in the plural
  EXPECT_FALSE(Plural({"arbol"}, "\xE1rboles"));
  // Taking off a diaeresis is not an accent variant.
  EXPECT_FALSE(Plural({"pingu"}, "ping\xFC" "es"));
  EXPECT_TRUE(Plural({"pez"}, "peces"));
}

TEST(Plurals, InIsOfWordsInY) {
  EXPECT_TRUE(Plural({"rey"}, "reis"));                // short, no accent
  EXPECT_FALSE(Plural({"convoy"}, "convois"));         // too long for the short rule
  EXPECT_TRUE(Plural({"jersey"}, "jers\xE9is"));       // accent written on the plural
  EXPECT_FALSE(Plural({"rey"}, "r\xE9is"));            // accented rule needs six letters
  EXPECT_TRUE(Plural({"car\xE1" "cy"}, "caracis"));    // accent of the singular found at any position
  EXPECT_FALSE(Plural({"caracy"}, "caracis"));
}

TEST(Plurals, NoSingularToTakeOff) {
  // An empty element of the list must not make one-letter words plurals.
  EXPECT_FALSE(Plural({"", "s"}, "s"));
  EXPECT_FALSE(Plural({""}, ""));
}

TEST(Plurals, BuiltSingularsAreCutTo255Characters) {
  std::string longSingular(300, 'b');
  std::string cut = longSingular.substr(0, 255);
  EXPECT_TRUE(Plural({cut}, longSingular + "es"));
  // The singular of the vowel rule is not built in a buffer: it is looked up whole.
  EXPECT_FALSE(Plural({std::string(255, 'a')}, std::string(300, 'a') + "s"));
  EXPECT_TRUE(Plural({std::string(300, 'a')}, std::string(300, 'a') + "s"));
}

}  // namespace
}  // namespace velmara
