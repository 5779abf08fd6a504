#include "suggest/chosen_word.h"

#include <gtest/gtest.h>

#include <string>

#include "checker/check_run.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

// The corrected text as the result list and CorrectedEnds place it: every token's piece must
// still be where the ends say, after any choice.
void ExpectEndsAgree(const CheckState& state) {
  const std::vector<std::size_t> ends = CorrectedEnds(state);
  ASSERT_EQ(ends.back(), state.correctedText.size());
  std::size_t start = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const std::string_view piece = std::string_view(state.correctedText).substr(start, ends[i] - start);
    const std::string_view kept = state.result[i].text.view();
    if (kept.size() == 1 && kept[0] == ' ') {
      EXPECT_EQ(piece.size(), 1u) << i;  // a line break shows as a space
    } else {
      EXPECT_EQ(piece.substr(0, kMaxTokenLength), kept) << i;
    }
    start = ends[i];
  }
}

TEST(ChosenWord, TakesTheTokensPlaceInTheResultAndTheCorrectedTextWhateverTheLengths) {
  testing::TestFolder folder;
  const std::string longResult(300, 'k');  // longer than a result entry keeps
  folder.Write("Intellisense.txt", "xyzzy|" + longResult + "\r\n");
  WordDatabase database;
  database.dictionary = WordList({"hola", "casa"});
  Settings settings;
  settings.Inteligente = 1;
  CheckState state;
  Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
  CheckObserver observer;
  CheckText(classifier, "hola xyzzy qwrt,\r\nzzz casa", observer, std::nullopt);
  ASSERT_EQ(state.result.size(), 11u);
  ASSERT_EQ(state.longResults.size(), 1u);

  // Positions of the result text; the long result stands there cut to its kept characters.
  EXPECT_EQ(ResultTokenAt(state, 0)->token, 0u);
  EXPECT_EQ(ResultTokenAt(state, 5 + 254)->token, 2u);
  const ResultSpan qwrt = *ResultTokenAt(state, 5 + 255 + 1);
  EXPECT_EQ(qwrt.token, 4u);
  EXPECT_EQ(qwrt.start, 261u);
  EXPECT_EQ(qwrt.length, 4u);
  EXPECT_FALSE(ResultTokenAt(state, 276));

  // Long for short, short for long, and a line break kept in the corrected text.
  const std::string longChoice(280, 'z');
  PutChosenWord(state, 2, "corto");
  PutChosenWord(state, 4, longChoice);
  PutChosenWord(state, 8, "que");
  PutChosenWord(state, 99, "fuera");
  EXPECT_EQ(state.correctedText, "Hola corto " + longChoice + ",\r\nque casa");
  for (std::size_t token : {2u, 4u, 8u}) EXPECT_EQ(state.result[token].verdict, Verdict::Corrected) << token;
  EXPECT_EQ(state.result[0].verdict, Verdict::Accepted);
  ASSERT_EQ(state.longResults.size(), 1u);
  EXPECT_EQ(state.longResults[0], std::make_pair(std::size_t{4}, std::size_t{280}));
  ExpectEndsAgree(state);
}

}  // namespace
}  // namespace velmara
