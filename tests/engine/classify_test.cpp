#include "checker/classify.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

namespace velmara {
namespace {

WordList Words(std::vector<std::string> words) { return WordList(std::move(words)); }

class ClassifyTest : public ::testing::Test {
 protected:
  ClassifyTest() {
    database.dictionary = Words({"casa", "perro", "cami\xF3n", "\xE1rbol", "papel", "pez", "club", "jersey", "rey",
                                 "antiguo", "que", "donde", "d\xF3nde", "s\xED", "dale", "sab\xE1"});
    database.verbs = Words({"cantar", "canta", "di", "casa", "sab\xED"});
    database.properNames = Words({"madrid"});
    std::vector<std::string> falsePositives(FalsePositiveList::kCapacity);
    falsePositives[0] = "wifi";
    falsePositives[1] = "casa";
    database.falsePositives.entries.Assign(falsePositives);
    database.falsePositives.count = 2;
  }

  std::string Classify(std::string_view word) {
    Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
    verdict = Verdict::Accepted;
    std::string result = classifier.ClassifyWord(word);
    verdict = state.lastVerdict;
    state.lastVerdict = Verdict::Accepted;
    return result;
  }

  testing::TestFolder folder;
  WordDatabase database;
  Settings settings;
  CheckState state;
  Verdict verdict = Verdict::Accepted;
};

// Roman numerals and numbers are taken without the lists; then the lists decide in order (false
// positives, Dictionary, proper names, verbs), plurals of Dictionary words are accepted, and a
// verb form with pronouns is doubtful when its stem is a verb form. None of them is corrected.
TEST_F(ClassifyTest, WordsTheListsAndRulesDecideUnchanged) {
  const std::pair<const char*, Verdict> cases[] = {
      {"xiv", Verdict::Accepted},      {"mil", Verdict::Accepted},     {"dim", Verdict::Accepted},
      {"mmxxiv", Verdict::Accepted},   {"2024", Verdict::Accepted},    {"12a", Verdict::Missing},
      {"wifi", Verdict::FalsePositive},
      {"casa", Verdict::Accepted},  // in the dictionary, the verbs and the false positives
      {"madrid", Verdict::Accepted},   {"canta", Verdict::VerbForm},   {"perro", Verdict::Accepted},
      {"casas", Verdict::Accepted},    {"clubs", Verdict::Accepted},   {"papeles", Verdict::Accepted},
      {"peces", Verdict::Accepted},    {"camiones", Verdict::Accepted}, {"\xE1rboles", Verdict::Accepted},
      {"jers\xE9is", Verdict::Accepted}, {"reis", Verdict::Accepted},
      {"dime", Verdict::DoubtfulVerbForm},  // stem "di" is a verb form
      {"dale", Verdict::Accepted},          // in the dictionary itself
      {"c\xF3mete", Verdict::Missing}};    // stem "cóme" is unknown
  for (const auto& [word, expected] : cases) {
    EXPECT_EQ(Classify(word), word);
    EXPECT_EQ(verdict, expected) << word;
  }
  EXPECT_EQ(state.CorrectedCount, 0);
  EXPECT_EQ(state.MissingCount, 2);
}

TEST_F(ClassifyTest, AnEmptyVerbMakesEveryUnknownWordDoubtful) {
  database.verbs = Words({"cantar", ""});
  Classify("zzz");
  EXPECT_EQ(verdict, Verdict::DoubtfulVerbForm);
}

TEST_F(ClassifyTest, InterrogativesInsideAQuestion) {
  state.openQuestion = true;
  EXPECT_EQ(Classify("donde"), "d\xF3nde");
  EXPECT_EQ(verdict, Verdict::Corrected);
  EXPECT_EQ(state.CorrectedCount, 1);
  EXPECT_FALSE(state.openQuestion);
  EXPECT_EQ(Classify("donde"), "donde");  // the question has had its interrogative
  EXPECT_EQ(verdict, Verdict::Accepted);

  state.openQuestion = true;
  Classify("perro");  // other words leave the question open
  EXPECT_TRUE(state.openQuestion);
  EXPECT_EQ(Classify("d\xF3nde"), "d\xF3nde");
  EXPECT_EQ(verdict, Verdict::Accepted);
  EXPECT_FALSE(state.openQuestion);
}

TEST_F(ClassifyTest, AccentCorrections) {
  EXPECT_EQ(Classify("camion"), "cami\xF3n");
  EXPECT_EQ(verdict, Verdict::Corrected);
  EXPECT_EQ(state.CorrectedCount, 1);

  // "sabi" has two accented spellings: both count, the later position wins.
  database.dictionary = Words({"s\xE1" "bi", "sab\xED"});
  EXPECT_EQ(Classify("sabi"), "sab\xED");
  EXPECT_EQ(state.CorrectedCount, 3);

  database.dictionary = Words({"antiguo"});
  EXPECT_EQ(Classify("antig\xFCo"), "antiguo");
}

TEST_F(ClassifyTest, ResolvingAKnownWordCountsEveryPositionThatLeavesItAlone) {
  // Asked directly, a word of the Dictionary is found at each of its positions that takes no
  // accent (c, s), and a later accent variant still wins over an earlier plain position.
  database.dictionary = Words({"casa", "cas\xE1"});
  Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
  EXPECT_EQ(classifier.ResolveUnknownWord("casa"), "cas\xE1");
  EXPECT_EQ(state.CorrectedCount, 3);
  EXPECT_EQ(state.lastVerdict, Verdict::Corrected);

  state.CorrectedCount = 0;
  database.dictionary = Words({"pal", "p\xE1l"});
  EXPECT_EQ(classifier.ResolveUnknownWord("pal"), "pal");  // the last position, "l", is the word itself
  EXPECT_EQ(state.CorrectedCount, 3);
  EXPECT_EQ(state.MissingCount, 0);
}

TEST_F(ClassifyTest, IntellisenseSubstitutionWinsAndCountsToo) {
  folder.Write("Intellisense.txt", "camion|cami\xF3n grande\r\naver|a ver\r\naver|haber\r\n");
  EXPECT_EQ(Classify("aver"), "aver");  // option off: the file is not consulted
  EXPECT_EQ(verdict, Verdict::Missing);

  settings.Inteligente = 1;
  EXPECT_EQ(Classify("aver"), "haber");
  EXPECT_EQ(verdict, Verdict::Corrected);
  state.CorrectedCount = 0;
  EXPECT_EQ(Classify("camion"), "cami\xF3n grande");
  EXPECT_EQ(state.CorrectedCount, 2);
}

TEST_F(ClassifyTest, MissingWordsAreListedCutAndCapped) {
  std::string longWord(60, 'q');
  EXPECT_EQ(Classify(longWord), longWord);  // the result keeps the whole word
  ASSERT_EQ(state.missingWords.size(), 1u);
  EXPECT_EQ(state.missingWords[0], std::string(49, 'q'));

  for (int i = 0; i < 2100; ++i) Classify("zz");
  EXPECT_EQ(state.MissingCount, 2101);
  EXPECT_EQ(state.missingWords.size(), kMissingWordCapacity);
}

TEST_F(ClassifyTest, DifficultyCountsEveryWord) {
  Classify("perro");
  EXPECT_EQ(state.CharacterTotal, 0);
  settings.Dificultad = 1;
  Classify("perro");
  Classify("xiv");
  Classify("zzzz");
  EXPECT_EQ(state.CharacterTotal, 12);
}

}  // namespace
}  // namespace velmara
