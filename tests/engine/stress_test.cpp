#include "checker/stress.h"

#include <gtest/gtest.h>

#include <string>

namespace velmara {
namespace {

std::string Split(std::string_view word) {
  std::string out;
  for (const Syllable& syllable : Syllables(word)) {
    if (!out.empty()) out += '-';
    out += word.substr(syllable.begin, syllable.end - syllable.begin);
  }
  return out;
}

TEST(Stress, SyllablesOfSpanishWords) {
  const std::pair<const char*, const char*> cases[] = {
      {"casa", "ca-sa"},         {"hablar", "ha-blar"},     {"instante", "ins-tan-te"},
      {"perro", "pe-rro"},       {"guerra", "gue-rra"},     {"ping\xFCino", "pin-g\xFCi-no"},
      {"d\xED" "a", "d\xED-a"},     {"cielo", "cie-lo"},       {"reyes", "re-yes"},
      {"aqu\xED", "a-qu\xED"},   {"leer", "le-er"},         {"muy", "muy"},
      {"ahora", "a-ho-ra"},      {"construir", "cons-truir"}, {"brr", ""}};
  for (const auto& [word, syllables] : cases) EXPECT_EQ(Split(word), syllables) << word;
}

TEST(Stress, AccentWhereTheGeneralRulesPutIt) {
  // word, the vowel stressed (from 0), the word as the rules write it
  const std::tuple<const char*, std::size_t, const char*> cases[] = {
      {"camion", 4, "cami\xF3n"},        {"camiones", 4, "camiones"},    {"dia", 1, "d\xED" "a"},
      {"examenes", 2, "ex\xE1menes"},    {"examen", 2, "examen"},        {"hagalo", 1, "h\xE1galo"},
      {"acuestate", 3, "acu\xE9state"}, {"decime", 3, "decime"},        {"reir", 2, "re\xEDr"},
      {"robots", 3, "robots"},           {"biceps", 1, "b\xED" "ceps"},  {"arbol", 0, "\xE1rbol"},
      {"pa\xEDses", 2, "pa\xEDses"},    {"prohibo", 4, "proh\xED" "bo"}, {"mas", 1, "mas"},
      {"jerseis", 4, "jers\xE9is"},     {"casa", 3, "cas\xE1"},         {"casa", 11, "casa"}};
  for (const auto& [word, vowel, written] : cases) EXPECT_EQ(WithStressOn(word, vowel), written) << word;

  EXPECT_EQ(StressedVowel("casa"), 1u);
  EXPECT_EQ(StressedVowel("reloj"), 3u);
  EXPECT_EQ(StressedVowel("cami\xF3n"), 4u);
  EXPECT_EQ(StressedVowel("brr"), kNoVowel);
  EXPECT_EQ(StressFromEnd("hagalo", 1), 2u);
  EXPECT_EQ(StressFromEnd("dia", 1), 1u);  // the accent the stress brings parts d\xED-a
  for (const char* right : {"casa", "cami\xF3n", "d\xED" "a", "\xE1rboles", "reloj", "pa\xEDs"})
    EXPECT_TRUE(AccentFollowsRules(right)) << right;
  for (const char* wrong : {"c\xE1mion", "m\xE1s", "c\xE1mi\xF3n", "arb\xF3l"})
    EXPECT_FALSE(AccentFollowsRules(wrong)) << wrong;
}

}  // namespace
}  // namespace velmara
