// A run that remembers each distinct word's classification must give exactly what classifying
// every occurrence gives: results, verdicts, counts, character total, missing words and the
// question flag it passes on.

#include "checker/classification_memo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "checker/check_run.h"
#include "checker/encoding.h"
#include "support/test_folder.h"
#include "suggest/intellisense.h"

#ifndef VELMARA_GENERATED_DATABASE
#define VELMARA_GENERATED_DATABASE ""
#endif
#ifndef VELMARA_SAMPLE_TEXT
#define VELMARA_SAMPLE_TEXT ""
#endif

namespace velmara {
namespace {

// Prose with the words of every kind repeated: plurals, verb forms with and without pronouns,
// names, numbers, missing accents, unknown words and interrogatives in and out of questions.
const std::string kProse = Utf8ToWindows1252(
    "El lunes por la mañana Lucía fue al mercado con sus hermanos. ¿Donde estaba el camion de las "
    "frutas? Nadie sabía donde estaba, y el camion no llegó hasta las diez. Compraron peces, "
    "papeles y dos arboles pequeños para el jardín; la vendedora, que era de Sevilla, les dijo: "
    "«dámelo todo y te hago un precio». ¡Que bonito! ¿Que quieres que haga? Lucía cantaba "
    "cantándoselo a los niños mientras los hermanos contaban monedas: 1999 pesetas, XIV duros y "
    "un wifi roto. Que nadie diga que el mercado es aburrido. ¿Como lo sabes? Porque como "
    "cada lunes, el camion volvió tarde y los peces llegaron frescos. Dámelo, dijo otra vez la "
    "vendedora, y Lucía se rió. Qwerty zxcv qwerty, escribía el niño en papeles y arboles. "
    "¿Cuando volveremos? Cuando el camion vuelva. ¿QUE? ¿Y");

class ClassificationMemoTest : public ::testing::Test {
 protected:
  ClassificationMemoTest() {
    database.dictionary = WordList(Words(
        "el lunes por la mañana fue al mercado con sus hermano estaba camión de las fruta nadie sabía "
        "y no llegó hasta diez pez papel dos árbol pequeño para jardín vendedora que era les dijo todo "
        "te un precio bonito a los niño mientras contaban moneda peseta duro roto diga es aburrido "
        "porque como cada tarde fresco otra vez se escribía en qué donde dónde cuando cuándo cómo mano"));
    database.verbs =
        WordList(Words("compraron cantaba llegaron volvió rió haga quieres volveremos vuelva hago da cantando sabes"));
    database.properNames = WordList(Words("lucía sevilla"));
    std::vector<std::string> falsePositives(FalsePositiveList::kCapacity);
    falsePositives[0] = "wifi";
    database.falsePositives.entries.Assign(falsePositives);
    database.falsePositives.count = 1;
  }

  static std::vector<std::string> Words(std::string_view utf8) {
    std::vector<std::string> words;
    std::string text = Utf8ToWindows1252(utf8);
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(' ', start);
      if (end == std::string::npos) end = text.size();
      words.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return words;
  }

  // Runs the texts in order on one state, as successive checks do, and returns the state.
  CheckState Run(const std::vector<std::string>& texts, WordClassification classification,
                 CheckObserver& observer) {
    CheckState state;
    Classifier classifier(database, settings, folder.path() / kIntellisenseFile, state);
    for (const std::string& text : texts) {
      CheckText(classifier, text, observer, std::nullopt, classification);
      runs.push_back(state);
    }
    return state;
  }

  void ExpectSameRuns(const std::vector<std::string>& texts, CheckObserver& remembered, CheckObserver& plain) {
    runs.clear();
    Run(texts, WordClassification::Remembered, remembered);
    std::vector<CheckState> rememberedRuns = std::move(runs);
    runs.clear();
    Run(texts, WordClassification::EveryOccurrence, plain);
    ASSERT_EQ(rememberedRuns.size(), runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) ExpectSameState(rememberedRuns[r], runs[r], r);
  }

  static void ExpectSameState(const CheckState& remembered, const CheckState& plain, std::size_t run) {
    EXPECT_EQ(remembered.correctedText, plain.correctedText) << "run " << run;
    EXPECT_EQ(remembered.longResults, plain.longResults) << "run " << run;
    EXPECT_EQ(CorrectedEnds(remembered), CorrectedEnds(plain)) << "run " << run;
    EXPECT_EQ(remembered.CorrectedCount, plain.CorrectedCount) << "run " << run;
    EXPECT_EQ(remembered.MissingCount, plain.MissingCount) << "run " << run;
    EXPECT_EQ(remembered.CharacterTotal, plain.CharacterTotal) << "run " << run;
    EXPECT_EQ(remembered.missingWords, plain.missingWords) << "run " << run;
    EXPECT_EQ(remembered.openQuestion, plain.openQuestion) << "run " << run;
    ASSERT_EQ(remembered.result.size(), plain.result.size()) << "run " << run;
    for (std::size_t i = 0; i < plain.result.size(); ++i) {
      EXPECT_EQ(remembered.result[i].text, plain.result[i].text) << "run " << run << " token " << i;
      EXPECT_EQ(remembered.result[i].verdict, plain.result[i].verdict) << "run " << run << " token " << i;
    }
  }

  void ExpectSameRuns(const std::vector<std::string>& texts) {
    CheckObserver quiet;
    ExpectSameRuns(texts, quiet, quiet);
  }

  testing::TestFolder folder;
  WordDatabase database;
  Settings settings;
  std::vector<CheckState> runs;
};

TEST_F(ClassificationMemoTest, ProseGivesTheSameResultsUnderEveryOption) {
  // The prose ends inside a question, so the second run starts with the flag set.
  IntellisenseAppend(folder.path() / kIntellisenseFile, "qwerty|teclado");
  for (std::int32_t difficulty : {0, 1}) {
    for (std::int32_t intellisense : {0, 1}) {
      settings.Dificultad = difficulty;
      settings.Inteligente = intellisense;
      SCOPED_TRACE("Dificultad " + std::to_string(difficulty) + ", Inteligente " + std::to_string(intellisense));
      ExpectSameRuns({kProse, kProse, Utf8ToWindows1252("donde? que")});
    }
  }

  // A run on screen does the highlight and progress work a quiet one leaves out; same results.
  class WatchingObserver : public CheckObserver {};
  WatchingObserver watching;
  CheckObserver quiet;
  ExpectSameRuns({kProse, kProse}, watching, quiet);

  // The prose does exercise what the remembering must get right.
  CheckState state = Run({kProse}, WordClassification::Remembered, quiet);
  EXPECT_GT(state.MissingCount, 2);
  EXPECT_GT(state.CorrectedCount, 4);
  EXPECT_TRUE(state.openQuestion);
  EXPECT_NE(state.correctedText.find("\xBF" "D\xF3nde estaba"), std::string::npos);
  EXPECT_NE(state.correctedText.find("sab\xED" "a donde"), std::string::npos);  // outside a question
}

// The user may add a substitution while a check runs; every later occurrence must see it.
TEST_F(ClassificationMemoTest, IntellisenseEditedDuringTheRunCountsAtOnce) {
  class EditingObserver : public CheckObserver {
   public:
    explicit EditingObserver(std::filesystem::path file) : file_(std::move(file)) {}
    void PumpPendingMessages() override {
      if (++tokens_ == 40) IntellisenseAppend(file_, "zxcv|teclas");
    }

   private:
    std::filesystem::path file_;
    int tokens_ = 0;
  };
  settings.Inteligente = 1;
  const std::string text = Utf8ToWindows1252("zxcv y zxcv, ") + kProse + " zxcv qwerty";
  const auto file = folder.path() / kIntellisenseFile;
  std::filesystem::remove(file);
  EditingObserver rememberedEditor(file);
  runs.clear();
  Run({text}, WordClassification::Remembered, rememberedEditor);
  CheckState remembered = runs.back();
  std::filesystem::remove(file);
  EditingObserver plainEditor(file);
  runs.clear();
  Run({text}, WordClassification::EveryOccurrence, plainEditor);
  ExpectSameState(remembered, runs.back(), 0);
  EXPECT_EQ(remembered.result[0].verdict, Verdict::Missing);
  EXPECT_EQ(remembered.result.back().verdict, Verdict::Missing);  // qwerty: no substitution for it
  EXPECT_NE(remembered.correctedText.find("teclas qwerty"), std::string::npos);
}

// The options dialog can be used while a run on screen processes messages.
TEST_F(ClassificationMemoTest, IntellisenseOptionChangedDuringTheRunCountsAtOnce) {
  class TogglingObserver : public CheckObserver {
   public:
    explicit TogglingObserver(Settings& settings) : settings_(settings) {}
    void PumpPendingMessages() override {
      if (++tokens_ % 60 == 0) settings_.Inteligente = 1 - settings_.Inteligente;
    }

   private:
    Settings& settings_;
    int tokens_ = 0;
  };
  IntellisenseAppend(folder.path() / kIntellisenseFile, "qwerty|teclado");
  IntellisenseAppend(folder.path() / kIntellisenseFile, "zxcv|teclas");
  TogglingObserver remembered(settings), plain(settings);
  ExpectSameRuns({kProse + " " + kProse}, remembered, plain);
  EXPECT_NE(runs.back().correctedText.find("teclado"), std::string::npos);
  EXPECT_NE(runs.back().correctedText.find("qwerty"), std::string::npos);
}

// Words of every length up to twenty letters, accented letters included, in every case and at
// sentence starts, and enough distinct words that the memory grows several times mid-run.
TEST_F(ClassificationMemoTest, ShortAndLongWordsInEveryCaseAcrossGrowth) {
  const std::string letters = Utf8ToWindows1252("abcdefghijklmnopqrstuvwxyzáéíóúñü");
  std::string text = Utf8ToWindows1252(
      "aburrido Aburrido ABURRIDO aburridos vendedora Vendedora VENDEDORA vendedor. aburrido. vendedoras "
      "vendedorxs vendedoras VENDEDORXS "
      "camión CAMIÓN Camión camion. Camion camIon ");
  for (std::size_t i = 0; i < 3000; ++i) {
    std::string word;
    for (std::size_t n = i, length = 1 + i % 20; word.size() < length; n = n / letters.size() + 7 * i + 3)
      word += letters[n % letters.size()];
    const std::string capitalised = MixedCase(word), capitals = UpperCase(word);
    text += word + " " + capitalised + " " + capitals + ". " + word + "\r\n" + capitals + " ";
  }
  for (std::int32_t difficulty : {0, 1}) {
    settings.Dificultad = difficulty;
    ExpectSameRuns({text, text});
  }
  EXPECT_GT(runs.back().MissingCount, 6000);
  EXPECT_NE(runs.back().correctedText.find("ABURRIDO"), std::string::npos);
}

// A check reuses its token buffers: a short word may sit where a longer one was, with the rest
// of the old word still in the buffer behind it.
TEST_F(ClassificationMemoTest, ShortWordsInBuffersLeftByLongerWords) {
  std::string longer, shorter;
  for (int i = 0; i < 40; ++i) {
    longer += "vendedorasvendedorasvendedoras aburridisimamente tardes, ";
    shorter += i % 2 == 0 ? "vendedora aburrido tarde, " : "vendedoras aburridos ta, ";
  }
  ExpectSameRuns({longer, shorter, longer + shorter, shorter});
  EXPECT_NE(runs.back().correctedText.find("Vendedora aburrido tarde, vendedoras"), std::string::npos);
}

TEST_F(ClassificationMemoTest, MissingWordListStopsAtItsCapacityBothWays) {
  std::string text;
  for (int i = 0; i < 1100; ++i) text += "qwerty zxcv ";
  ExpectSameRuns({text});
  EXPECT_EQ(runs.back().MissingCount, 2200);
  EXPECT_EQ(runs.back().missingWords.size(), kMissingWordCapacity);
}

TEST_F(ClassificationMemoTest, GeneratedDatabaseOnTheSampleText) {
  const std::filesystem::path generated = VELMARA_GENERATED_DATABASE;
  std::ifstream sample(VELMARA_SAMPLE_TEXT, std::ios::binary);
  if (generated.empty() || !CheckWordDatabasePresent(generated) || !sample)
    GTEST_SKIP() << "no generated word database or sample text";
  LoadHooks hooks;
  LoadWordDatabase(generated, database, hooks);
  const std::string text =
      InputToWindows1252(std::string(std::istreambuf_iterator<char>(sample), std::istreambuf_iterator<char>()));
  settings.Dificultad = 1;
  ExpectSameRuns({text, text});
  EXPECT_GT(runs.back().CorrectedCount, 0);
  EXPECT_GT(runs.back().MissingCount, 0);
}

}  // namespace
}  // namespace velmara
