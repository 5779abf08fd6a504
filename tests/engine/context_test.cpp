#include "checker/context.h"

#include <gtest/gtest.h>

#include <optional>

#include "checker/check_run.h"
#include "checker/encoding.h"
#include "support/generated_database.h"

namespace velmara {
namespace {

// Each sentence with the advice it must get ("written>advised", in order, space-separated), or none.
struct Case {
  const char* text;  // UTF-8
  const char* advice;
};

std::string AdviceOf(const WordDatabase& database, const std::string& utf8, CheckState& state) {
  const Settings settings;
  Classifier classifier(database, settings, {}, state);
  CheckObserver quiet;
  CheckText(classifier, Utf8ToWindows1252(utf8), quiet, std::nullopt);
  std::string out;
  for (const Advice& a : ContextAdvisor(database).Advise(state))
    out += (out.empty() ? "" : " ") + Windows1252ToUtf8(state.source[a.token].text) + ">" +
           Windows1252ToUtf8(a.replacement);
  return out;
}

TEST(ContextAdvice, AccentsBetweenRealWordsFromTheWordsAround) {
  const WordDatabase* database = testing::GeneratedDatabase();
  if (database == nullptr) GTEST_SKIP() << "no generated word database at " << VELMARA_GENERATED_DATABASE;
  const Case cases[] = {
      {"Creo que el dijo la verdad.", "el>él"},
      {"Esto es para el.", "el>él"},
      {"¿Y tu sabes dónde vive?", "tu>tú"},
      {"Este regalo es para mi.", "mi>mí"},
      {"A mi me gusta.", "mi>mí"},
      {"No se si vendrá.", "se>sé"},
      {"Yo lo se.", "se>sé"},
      {"Creo que si.", "si>sí"},
      {"Es mas grande que el otro.", "mas>más"},
      {"Aun no ha llegado.", "Aun>Aún"},
      {"Ayer se termino la reunión.", "termino>terminó"},
      {"ESTO ES PARA EL.", "EL>ÉL"},
      // Correct text gets nothing: the other word of each pair, and the optional accents.
      {"El perro come en su casa.", ""},
      {"Si llueve, me quedo en casa.", ""},
      {"Esta casa es grande y solo tiene un baño.", ""},
      {"Se lo dije a mi hermano.", ""},
      {"Tu casa es bonita.", ""},
      {"Él dijo que sí, y tú también.", ""},
      {"Aun así, el término es correcto.", ""},
  };
  for (const Case& c : cases) {
    CheckState state;
    EXPECT_EQ(AdviceOf(*database, c.text, state), c.advice) << c.text;
  }
}

TEST(ContextAdvice, IsOfferedNeverApplied) {
  const WordDatabase* database = testing::GeneratedDatabase();
  if (database == nullptr) GTEST_SKIP() << "no generated word database at " << VELMARA_GENERATED_DATABASE;
  CheckState state;
  ASSERT_EQ(AdviceOf(*database, "Creo que el dijo la verdad.", state), "el>él");
  EXPECT_EQ(state.correctedText, "Creo que el dijo la verdad.");
  EXPECT_EQ(state.CorrectedCount, 0);
  EXPECT_EQ(state.result[4].verdict, Verdict::Accepted);
  // A word split from its neighbour by a line end does not see it.
  CheckState split;
  EXPECT_EQ(AdviceOf(*database, "Esto es para\nel", split), "");
}

}  // namespace
}  // namespace velmara
