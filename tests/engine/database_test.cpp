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

// Correct text comes back as it was written, nothing marked; a written-wrong word is corrected
// in the case it was written in.
TEST_F(GeneratedDatabaseTest, CorrectSentencesStandAndNonWordsDoNot) {
  const char* correct[] = {
      "\x97Hola \x97" "dijo Juan\x97. Pero, \xBFqu\xE9 quieres? Lo explic\xF3 McLuhan en www.gnu.org, p. ej. ayer.",
      "\x97\xBFVienes? \x97pregunt\xF3 Juan. Si vienes, \xA1qu\xE9 alegr\xED" "a! Me dijo \xABhola\xBB y se fue.",
      "Compr\xE9 un iPhone y dos PCs. El Sr. Garc\xED" "a vino, etc. y luego el 3.5 por ciento\x85 no s\xE9.",
      "Escribe a juan.perez@ejemplo.es o visita https://www.debian.org/doc/ hoy. Uno * dos + tres \xB7 cuatro.",
      "Tengo camiones, \xE1rboles, ex\xE1menes, jers\xE9is, peces, pa\xEDses y j\xF3venes en la Uni\xF3n.",
  };
  for (const char* text : correct) {
    CheckState state;
    EXPECT_EQ(Check(text, state), text);
    EXPECT_EQ(state.MissingCount, 0) << text << ": " << (state.missingWords.empty() ? "" : state.missingWords[0]);
    EXPECT_EQ(state.CorrectedCount, 0) << text;
  }
  const std::pair<const char*, const char*> wrong[] = {
      {"mi corazon y la union", "Mi coraz\xF3n y la uni\xF3n"},
      {"los automoviles, jovenes y dolares", "Los autom\xF3viles, j\xF3venes y d\xF3lares"},
      {"hagalo y dimelo, acuestate", "H\xE1galo y d\xEDmelo, acu\xE9state"},
      {"el CAMION y el Camion", "El CAMI\xD3N y el Cami\xF3n"},
  };
  for (const auto& [text, corrected] : wrong) {
    CheckState state;
    EXPECT_EQ(Check(text, state), corrected);
  }
  EXPECT_EQ(VerdictOf("deportees"), Verdict::Missing);
  EXPECT_EQ(VerdictOf("solemnees"), Verdict::Missing);
  EXPECT_NE(VerdictOf("acordate"), Verdict::Corrected);  // voseo: acordá + te
}

}  // namespace
}  // namespace velmara
