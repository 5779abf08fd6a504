#include "checker/check_run.h"
#include "checker/characters.h"
#include "checker/trace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <fstream>
#include <iterator>

#include "support/file_size_limit.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizedBuild = true;
#else
constexpr bool kSanitizedBuild = false;
#endif
#else
constexpr bool kSanitizedBuild = false;
#endif

class RecordingObserver : public CheckObserver {
 public:
  void HighlightMainBox(std::size_t start, std::size_t length) override { highlights.emplace_back(start, length); }
  void SetProgressText(const std::string& text) override { progress.push_back(text); }
  void ResetMainBoxFormat() override { ++resets; }
  std::vector<std::pair<std::size_t, std::size_t>> highlights;
  std::vector<std::string> progress;
  int resets = 0;
};

class CheckRunTest : public ::testing::Test {
 protected:
  CheckRunTest() {
    database.dictionary = WordList({"hola", "mundo", "casa", "perro", "adi\xF3s", "que", "qu\xE9", "donde", "d\xF3nde",
                                    "bonito", "por", "no", "cami\xF3n", "el", "nasa"});
    database.verbs = WordList({"est\xE1s", "vienes", "quieres", "haga"});
    database.falsePositives.entries.Assign(std::vector<std::string>(FalsePositiveList::kCapacity, "x"));
  }

  std::string Check(std::string_view text) {
    Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
    CheckText(classifier, text, observer, folder.path() / kTraceFile);
    return state.correctedText;
  }

  testing::TestFolder folder;
  WordDatabase database;
  Settings settings;
  CheckState state;
  RecordingObserver observer;
};

TEST_F(CheckRunTest, SentencesStartWithACapital) {
  EXPECT_EQ(Check("hola mundo"), "Hola mundo");
  EXPECT_EQ(Check("Hola. adi\xF3s"), "Hola. Adi\xF3s");
  EXPECT_EQ(Check("hola, adi\xF3s"), "Hola, adi\xF3s");
  EXPECT_EQ(Check("casa\r\nperro"), "Casa\r\nperro");  // a line break alone starts nothing
  EXPECT_EQ(Check("\xABhola\xBB"), "\xABHola\xBB");
}

// The period of an abbreviation, in any case, ends no sentence and makes it no missing word; the
// period of any other word does end one.
TEST_F(CheckRunTest, AnAbbreviationsPeriodEndsNoSentence) {
  const std::pair<const char*, bool> cases[] = {
      {"sr", true},     {"SR", true},     {"Etc", true},  {"p\xE1gs", true}, {"P\xC1G", true}, {"c\xED" "a", true},
      {"izqda", true},  {"excmo", true},  {"abr", true},  {"vs", true},      {"x", true},      {"m\xEDn", true},
      {"casa", false},  {"srs", false},   {"izqdas", false}, {"zz", false},  {"vz", false},     {"p\xE1", false}};
  for (const auto& [word, abbreviation] : cases) {
    const std::string text = std::string("el ") + word + ". hola";
    EXPECT_EQ(Check(text), std::string("El ") + word + (abbreviation ? ". hola" : ". Hola")) << word;
    if (abbreviation) {
      EXPECT_EQ(state.MissingCount, 0) << word;
    }
  }
}

// A character Windows-1252 lacks is one separator: no capital after it, no question opened.
TEST_F(CheckRunTest, AKeptCharacterNeitherEndsASentenceNorOpensAQuestion) {
  EXPECT_EQ(Check("el \x8F y el \x8F camion \x8F" "donde"), "El \x8F y el \x8F cami\xF3n \x8F" "donde");
  EXPECT_EQ(state.result[2].text, "\x8F");
  EXPECT_FALSE(state.openQuestion);
}

TEST_F(CheckRunTest, CaseIsGivenBack) {
  EXPECT_EQ(Check("hola NASA y McDonald"), "Hola NASA y McDonald");
  EXPECT_EQ(Check("A casa"), "A casa");
  EXPECT_EQ(Check("el CAMION"), "El CAMI\xD3N");
}

TEST_F(CheckRunTest, InterrogativesFollowTheOpeningMarks) {
  EXPECT_EQ(Check("\xBF" "Donde est\xE1s?"), "\xBF" "D\xF3nde est\xE1s?");
  EXPECT_EQ(state.CorrectedCount, 1);
  EXPECT_EQ(state.result[1].verdict, Verdict::Corrected);
  EXPECT_EQ(Check("\xA1Que bonito!"), "\xA1Qu\xE9 bonito!");
  EXPECT_EQ(Check("\xBFPor que no?"), "\xBFPor qu\xE9 no?");
  EXPECT_EQ(Check("Donde est\xE1s?"), "Donde est\xE1s?");
  EXPECT_FALSE(state.openQuestion);
  EXPECT_EQ(Check("\xBFQu\xE9 quieres que haga?"), "\xBFQu\xE9 quieres que haga?");
}

TEST_F(CheckRunTest, AnOpenQuestionCarriesIntoTheNextRun) {
  Check("hola \xBFvienes");
  EXPECT_TRUE(state.openQuestion);
  EXPECT_EQ(Check("donde"), "D\xF3nde");
  EXPECT_FALSE(state.openQuestion);
}

TEST_F(CheckRunTest, CountsMissingWordsAndResults) {
  Check("hola camion zzz, zzz");
  EXPECT_EQ(state.CorrectedCount, 1);
  EXPECT_EQ(state.MissingCount, 2);
  EXPECT_EQ(state.missingWords, (std::vector<std::string>{"zzz", "zzz"}));
  EXPECT_EQ(state.correctedText, "Hola cami\xF3n zzz, zzz");
  ASSERT_EQ(state.result.size(), 8u);
  EXPECT_EQ(state.result[2].text, "cami\xF3n");
  EXPECT_EQ(state.result[2].verdict, Verdict::Corrected);
  EXPECT_EQ(state.result[4].verdict, Verdict::Missing);
  EXPECT_EQ(state.result[5].verdict, Verdict::Accepted);  // the comma

  Check("hola");  // a new run starts from zero
  EXPECT_EQ(state.MissingCount, 0);
  EXPECT_TRUE(state.missingWords.empty());
}

// Each token's place in the corrected text follows from the result list, but for a result longer
// than the entry keeps: a substitution of 300 characters, and a missing word of 270 kept whole.
TEST_F(CheckRunTest, CorrectedEndsPlaceEveryTokenInTheCorrectedText) {
  settings.Inteligente = 1;
  const std::string longReplacement(300, 'z');
  folder.Write("Intellisense.txt", "aver|" + longReplacement + "\r\n");
  const std::string longWord(270, 'q');
  Check("hola aver,\r\n" + longWord + " camion");
  ASSERT_EQ(state.result.size(), 9u);
  EXPECT_EQ(state.result[2].text.size(), kMaxTokenLength);
  const std::vector<std::size_t> ends = CorrectedEnds(state);
  std::vector<std::string> pieces;
  for (std::size_t i = 0, begin = 0; i < ends.size(); begin = ends[i++])
    pieces.push_back(state.correctedText.substr(begin, ends[i] - begin));
  EXPECT_EQ(pieces, (std::vector<std::string>{"Hola", " ", longReplacement, ",", "\r", "\n", longWord,
                                              " ", "cami\xF3n"}));
  EXPECT_EQ(ends.back(), state.correctedText.size());
  EXPECT_EQ(state.longResults.size(), 2u);

  // An address is passed over whatever its length, also when what makes it one comes after the
  // characters a long word is classified by, and after a word that begins the same way.
  const std::string longAddress = std::string(260, 'a') + "://ejemplo.es";
  Check(std::string(260, 'a') + " " + longAddress);
  ASSERT_EQ(state.result.size(), 3u);
  EXPECT_EQ(state.result[0].verdict, Verdict::Missing);
  EXPECT_EQ(state.result[2].verdict, Verdict::Accepted);
  EXPECT_EQ(state.MissingCount, 1);
  EXPECT_EQ(state.correctedText.substr(261), longAddress);
}

// A text checked in pieces, read a few bytes at a time and cut where PieceEnd says, gives what
// one run over the whole text gives: tokens, corrected text, counts, missing words, open
// question, trace. The text crosses piece ends inside questions, at sentence ends and in long
// words.
TEST_F(CheckRunTest, PiecewiseCheckGivesWhatTheWholeTextGives) {
  struct Outcome {
    std::string corrected;
    std::vector<std::string> tokens;  // source, result and verdict of each token
    std::int32_t correctedCount = 0, missingCount = 0, characterTotal = 0;
    std::vector<std::string> missingWords;
    bool openQuestion = false;
    std::string trace;
    bool operator==(const Outcome&) const = default;
  };
  auto take = [](const CheckState& checked, Outcome& outcome) {
    outcome.corrected += checked.correctedText;
    for (std::size_t i = 0; i < checked.result.size(); ++i)
      outcome.tokens.push_back(checked.source[i].text.str() + "|" + checked.result[i].text.str() + "|" +
                               std::string(VerdictName(checked.result[i].verdict)));
    outcome.correctedCount = checked.CorrectedCount;
    outcome.missingCount = checked.MissingCount;
    outcome.characterTotal = checked.CharacterTotal;
    outcome.missingWords = checked.missingWords;
    outcome.openQuestion = checked.openQuestion;
  };
  auto read = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string text = "\xBF" "donde est\xE1s? hola zzz. el camion\r\n\xA1que " + std::string(300, 'q') +
                           " casa.\r\n\r\nperro " + std::string(270, 'Z') + "zz,\xBFque quieres\nmundo " +
                           std::string(40, 'b') + ". no";
  settings.Dificultad = 1;
  Classifier wholeClassifier(database, settings, folder.path() / "Intellisense.txt", state);
  CheckText(wholeClassifier, text, observer, folder.path() / "whole.txt");
  Outcome whole;
  take(state, whole);
  whole.trace = read(folder.path() / "whole.txt");
  ASSERT_GT(whole.missingCount, 0);
  ASSERT_GT(whole.correctedCount, 0);

  for (std::size_t readSize : {1, 2, 3, 7, 64, 100000}) {
    CheckState pieceState;
    Classifier classifier(database, settings, folder.path() / "Intellisense.txt", pieceState);
    Outcome pieces;
    {
      PiecewiseCheck check(classifier, folder.path() / "pieces.txt");
      std::string pending;
      std::size_t pieceCount = 0;
      for (std::size_t at = 0; at < text.size(); at += readSize) {
        pending += text.substr(at, readSize);
        if (const std::size_t end = PieceEnd(pending); end > 0) {
          check.Check(std::string_view(pending).substr(0, end));
          take(pieceState, pieces);
          pending.erase(0, end);
          ++pieceCount;
        }
      }
      check.Check(pending);
      take(pieceState, pieces);
      if (readSize < 10) {
        EXPECT_GT(pieceCount, 10u);
      }
    }
    pieces.trace = read(folder.path() / "pieces.txt");
    EXPECT_EQ(pieces, whole) << "read " << readSize << " bytes at a time";
  }
}

TEST_F(CheckRunTest, ResultListKeepsDisplaySeparatorsAndCorrectedTextKeepsLineBreaks) {
  Check("hola\r\nmundo");
  EXPECT_EQ(state.result[1].text, " ");
  EXPECT_EQ(state.result[2].text, " ");
  EXPECT_EQ(state.correctedText, "Hola\r\nmundo");
}

TEST_F(CheckRunTest, TraceFileNamesSeparators) {
  Check("Hola, mundo\r\n");
  EXPECT_EQ(folder.Read(kTraceFile),
            "Hola = Hola\r\n, = ,\r\n$SPC = $SPC\r\nmundo = mundo\r\n$SPC = $CR\r\n$SPC = $LF\r\n");
  Check("abc123def");
  EXPECT_EQ(folder.Read(kTraceFile), "abc = Abc\r\n1 = 1\r\n2 = 2\r\n3 = 3\r\ndef = def\r\n");
  Check("");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / kTraceFile));
  EXPECT_TRUE(state.correctedText.empty());
}

TEST_F(CheckRunTest, ProgressAndHighlightPerToken) {
  Check("hola mundo casa");
  EXPECT_EQ(observer.progress, (std::vector<std::string>{"1 \\ 3 palabras", "1 \\ 3 palabras", "2 \\ 3 palabras",
                                                          "2 \\ 3 palabras", "3 \\ 3 palabras"}));
  EXPECT_EQ(observer.highlights,
            (std::vector<std::pair<std::size_t, std::size_t>>{{0, 4}, {5, 5}, {11, 4}}));
  EXPECT_EQ(observer.resets, 1);
}

TEST_F(CheckRunTest, ALongWordIsCutTo255Letters) {
  std::string word(300, 'b');
  Check(word);
  ASSERT_EQ(state.result.size(), 1u);
  EXPECT_EQ(state.result[0].text.size(), 255u);
  EXPECT_EQ(state.result[0].verdict, Verdict::Missing);
}

TEST_F(CheckRunTest, TheWordAfterALongWordIsHighlightedWhereItStands) {
  // "bb" also occurs inside the long word, which is highlighted whole.
  Check(std::string(300, 'b') + " bb");
  EXPECT_EQ(observer.highlights, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 300}, {301, 2}}));
}

TEST_F(CheckRunTest, AWrongTraceFolderDoesNotStopTheRun) {
  Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
  folder.Write("file", "x");
  CheckText(classifier, "hola mundo", observer, folder.path() / "file" / kTraceFile);
  EXPECT_EQ(state.correctedText, "Hola mundo");
}

TEST_F(CheckRunTest, ATraceThatCannotBeWrittenChangesNothingElse) {
  Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
  CheckText(classifier, "hola camion zzz", observer, std::nullopt);
  const std::string expected = state.correctedText;

  // A folder of that name is not removed, even an empty one.
  std::filesystem::create_directory(folder.path() / kTraceFile);
  EXPECT_EQ(Check("hola camion zzz"), expected);
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / kTraceFile));
  std::filesystem::remove(folder.path() / kTraceFile);

  // A pipe is left alone: opening it would wait for a reader.
  ASSERT_EQ(mkfifo((folder.path() / kTraceFile).c_str(), 0600), 0);
  EXPECT_EQ(Check("hola camion zzz"), expected);
  EXPECT_TRUE(std::filesystem::is_fifo(folder.path() / kTraceFile));
  std::filesystem::remove(folder.path() / kTraceFile);

  // The disk fills up during the run: the trace stops, the run goes to its end.
  {
    testing::FileSizeLimit limit(20);
    EXPECT_EQ(Check("hola camion zzz"), expected);
  }
  EXPECT_EQ(state.MissingCount, 1);
  EXPECT_EQ(state.CorrectedCount, 1);
  EXPECT_LE(folder.Read(kTraceFile).size(), 20u);
}

TEST_F(CheckRunTest, TheTraceNeverWritesThroughALink) {
  namespace fs = std::filesystem;
  const fs::path trace = folder.path() / kTraceFile;
  const fs::path secret = folder.Write("otra/secreto.txt", "privado");
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);

  // A link left at the path before the run is removed, not followed.
  fs::create_symlink(secret, trace);
  Check("hola mundo");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(trace)));
  EXPECT_EQ(folder.Read(kTraceFile), "hola = Hola\r\n$SPC = $SPC\r\nmundo = mundo\r\n");

  // A link or a file made at the path after the old trace was removed is left as it is.
  for (bool link : {true, false}) {
    TraceWriter writer(trace);
    ASSERT_FALSE(fs::exists(fs::symlink_status(trace)));
    if (link) {
      fs::create_symlink(secret, trace);
    } else {
      folder.Write(kTraceFile, "ajeno");
    }
    writer.Line("hola", "Hola");
    EXPECT_FALSE(writer.Wanted());
    EXPECT_EQ(folder.Read("otra/secreto.txt"), "privado");
    EXPECT_EQ(fs::is_symlink(fs::symlink_status(trace)), link);
    if (!link) {
      EXPECT_EQ(folder.Read(kTraceFile), "ajeno");
    }
    fs::remove(trace);
  }
}

// A million words go through to the end (forty thousand in the slower sanitizer builds).
TEST_F(CheckRunTest, AMillionWordsCheckToTheEnd) {
  constexpr std::size_t kRepeats = kSanitizedBuild ? 10'000 : 250'000;
  // Four words and six separators: accepted, accepted, corrected, missing.
  const std::string_view sentence = "hola mundo, camion zzz. ";
  const std::string_view corrected = "Hola mundo, cami\xF3n zzz. ";
  std::string text;
  std::string expected;
  text.reserve(sentence.size() * kRepeats);
  expected.reserve(corrected.size() * kRepeats);
  for (std::size_t i = 0; i < kRepeats; ++i) {
    text += sentence;
    expected += corrected;
  }

  struct LastProgress : CheckObserver {
    void SetProgressText(const std::string& text) override { last = text; }
    std::string last;
  } progress;
  Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
  CheckText(classifier, text, progress, std::nullopt);

  ASSERT_EQ(state.source.size(), 10 * kRepeats);
  EXPECT_EQ(state.result.size(), state.source.size());
  EXPECT_EQ(CountWords(state.source), 4 * kRepeats);
  EXPECT_TRUE(state.correctedText == expected);  // not EXPECT_EQ: a mismatch would print megabytes
  EXPECT_EQ(state.CorrectedCount, static_cast<std::int32_t>(kRepeats));
  EXPECT_EQ(state.MissingCount, static_cast<std::int32_t>(kRepeats));
  EXPECT_EQ(state.missingWords.size(), kMissingWordCapacity);

  std::array<std::size_t, 6> verdicts{};
  for (const auto& entry : state.result) ++verdicts[static_cast<std::size_t>(entry.verdict)];
  EXPECT_EQ(verdicts[static_cast<std::size_t>(Verdict::Corrected)], kRepeats);
  EXPECT_EQ(verdicts[static_cast<std::size_t>(Verdict::Missing)], kRepeats);
  EXPECT_EQ(verdicts[static_cast<std::size_t>(Verdict::Accepted)], 8 * kRepeats);
  EXPECT_EQ(state.result.back().text, " ");
  EXPECT_EQ(state.result[state.result.size() - 3].text, "zzz");
  EXPECT_EQ(progress.last, std::to_string(4 * kRepeats) + " \\ " + std::to_string(4 * kRepeats) + " palabras");
}

}  // namespace
}  // namespace velmara
