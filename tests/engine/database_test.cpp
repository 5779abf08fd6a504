// The word database the build generates from hunspell-es, checked through the real engine.
// Skipped when the build has not generated it.

#include <gtest/gtest.h>

#include <string>

#include "checker/check_run.h"
#include "support/test_folder.h"
#include "support/generated_database.h"
#include "worddb/word_database.h"


namespace velmara {
namespace {

class GeneratedDatabaseTest : public ::testing::Test {
 protected:
  // Loaded once for the binary: the lists hold about a million words.
  static void SetUpTestSuite() { database_ = velmara::testing::GeneratedDatabase(); }

  void SetUp() override {
    if (database_ == nullptr) GTEST_SKIP() << "no generated word database at " << VELMARA_GENERATED_DATABASE;
  }

  // Classifies one lowercased word on its own.
  Verdict VerdictOf(std::string_view word, std::string* replacement = nullptr) {
    CheckState state;
    Classifier classifier(*database_, settings_, folder_.path() / kIntellisenseFile, state);
    std::string result = classifier.ClassifyWord(word);
    if (replacement != nullptr) *replacement = result;
    return state.lastVerdict;
  }

  std::string Check(std::string_view text, CheckState& state) {
    Classifier classifier(*database_, settings_, folder_.path() / kIntellisenseFile, state);
    CheckObserver observer;
    CheckText(classifier, text, observer, std::nullopt);
    return state.correctedText;
  }

  static const WordDatabase* database_;
  Settings settings_;
  testing::TestFolder folder_;
};

const WordDatabase* GeneratedDatabaseTest::database_ = nullptr;

TEST_F(GeneratedDatabaseTest, ListsAreFullAndCommonSpanishIsAccepted) {
  EXPECT_GT(database_->dictionary.Count(), 10000u);
  EXPECT_GT(database_->verbs.Count(), 10000u);
  EXPECT_GT(database_->properNames.Count(), 10000u);
  EXPECT_GT(database_->falsePositives.count, 300);

  CheckState state;
  Check("El perro de mi vecina duerme en el jard\xEDn cuando hace calor, y los ni\xF1os juegan con \xE9l "
        "por la tarde. Ma\xF1" "ana iremos a Sevilla en tren; dicen que all\xED las calles son m\xE1s "
        "estrechas que en Madrid, pero tambi\xE9n m\xE1s bonitas. \xBFQu\xE9 opinas t\xFA?",
        state);
  EXPECT_EQ(state.MissingCount, 0) << (state.missingWords.empty() ? "" : state.missingWords.front());
  EXPECT_EQ(state.CorrectedCount, 0);
}

TEST_F(GeneratedDatabaseTest, AccentsAndInterrogativesAreCorrected) {
  std::string replacement;
  EXPECT_EQ(VerdictOf("camion", &replacement), Verdict::Corrected);
  EXPECT_EQ(replacement, "cami\xF3n");

  CheckState state;
  EXPECT_EQ(Check("\xBF" "Donde est\xE1s?", state), "\xBF" "D\xF3nde est\xE1s?");
  EXPECT_EQ(state.MissingCount, 0);
}

TEST_F(GeneratedDatabaseTest, VerbFormsAndNeologismsAreNotMissing) {
  EXPECT_EQ(VerdictOf("cantar"), Verdict::Accepted);  // an infinitive is a dictionary word
  EXPECT_EQ(VerdictOf("cantamos"), Verdict::VerbForm);
  EXPECT_NE(VerdictOf("d\xE1melo"), Verdict::Missing);
  EXPECT_NE(VerdictOf("cant\xE1ndoselo"), Verdict::Missing);
  EXPECT_EQ(VerdictOf("abdicaciones"), Verdict::Accepted);  // a derived noun, not a verb form
  EXPECT_EQ(VerdictOf("selfie"), Verdict::FalsePositive);
  EXPECT_EQ(VerdictOf("qwertyuiop"), Verdict::Missing);
}

}  // namespace
}  // namespace velmara
