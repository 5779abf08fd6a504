// A whole check run over any text on a small database. Whatever the text, the run keeps its
// bookkeeping straight: source and result lists of one length; the source tokens are
// the text itself (long words whole, nothing lost); the corrected text is built from exactly those
// tokens; the counts match the verdicts; only a correction changes a word's letters; and the
// trace has one line per token. Every token is highlighted where it stands, and the progress
// ends at the word count.
// The first byte chooses the options (Intellisense, difficulty) and whether a question is open.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "checker/characters.h"
#include "checker/check_run.h"
#include "fuzz_database.h"
#include "fuzz_support.h"

namespace {

using namespace velmara;

const WordDatabase& Database() { return fuzz::SmallDatabase(); }

const std::filesystem::path& IntellisenseFile() {
  static const std::filesystem::path file = [] {
    auto path = fuzz::TemporaryFolder() / "Intellisense.txt";
    fuzz::WriteFile(path, "aver|a ver\r\nola|hola|x\r\nzzz\r\nqe|que\r\naver|haber\r\n\r\nmuy|MUY bien\r\n");
    return path;
  }();
  return file;
}

// Keeps what the run showed: every highlight and the last progress text.
class RecordingObserver : public CheckObserver {
 public:
  void HighlightMainBox(std::size_t start, std::size_t length) override { highlights.emplace_back(start, length); }
  void SetProgressText(const std::string& text) override { progress = text; }
  std::vector<std::pair<std::size_t, std::size_t>> highlights;
  std::string progress;
};

// Where a word run that starts at `from` ends.
std::size_t WordRunEnd(std::string_view text, std::size_t from) {
  while (from < text.size() && !IsSeparatorChar(static_cast<unsigned char>(text[from]))) ++from;
  return from;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  const std::string_view text = fuzz::AsText(data + 1, size - 1);

  Settings settings;
  settings.Inteligente = control & 1;
  settings.Dificultad = (control >> 1) & 1;
  CheckState state;
  state.openQuestion = ((control >> 2) & 1) != 0;
  const auto trace = fuzz::TemporaryFolder() / kTraceFile;
  Classifier classifier(Database(), settings, IntellisenseFile(), state);
  RecordingObserver observer;
  CheckText(classifier, text, observer, trace);

  const std::size_t count = state.source.size();
  FUZZ_CHECK(state.result.size() == count);
  const std::vector<std::size_t> ends = CorrectedEnds(state);
  FUZZ_CHECK(count == 0 || ends.back() == state.correctedText.size());

  std::size_t position = 0;  // in the text
  std::size_t words = 0;
  std::size_t corrected = 0;
  std::size_t missing = 0;
  std::size_t segmentStart = 0;  // in the corrected text
  std::size_t highlighted = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view source = state.source[i].text;
    const std::string_view display = ShownText(state.source[i].text);
    const TokenEntry& result = state.result[i];
    FUZZ_CHECK(!source.empty() && position < text.size());
    FUZZ_CHECK(ends[i] >= segmentStart);
    const std::string_view segment = std::string_view(state.correctedText).substr(segmentStart, ends[i] - segmentStart);
    segmentStart = ends[i];
    const auto verdict = static_cast<std::int32_t>(result.verdict);
    FUZZ_CHECK(verdict >= 0 && verdict <= 5);
    // Every token but a space (or a line break, a space on screen) is highlighted where it stands.
    if (display != " ") {
      FUZZ_CHECK(highlighted < observer.highlights.size());
      FUZZ_CHECK(observer.highlights[highlighted] == std::make_pair(position, display.size()));
      ++highlighted;
    }

    if (IsSeparator(source)) {
      FUZZ_CHECK(source.size() == 1 && source[0] == text[position]);
      FUZZ_CHECK(display == (source == "\r" || source == "\n" ? " " : source));
      FUZZ_CHECK(result.text == display);
      FUZZ_CHECK(result.verdict == Verdict::Accepted);
      FUZZ_CHECK(segment == source);
      position += 1;
      continue;
    }

    // A word token is the whole run of word characters, however long; an address, which holds
    // separators, is neither checked nor counted.
    if (!IsWordToken(source)) {
      FUZZ_CHECK(source.size() == AddressLength(text, position) && source == text.substr(position, source.size()));
      FUZZ_CHECK(display == source && segment == source && result.verdict == Verdict::Accepted);
      position += source.size();
      continue;
    }
    const std::size_t end = WordRunEnd(text, position);
    FUZZ_CHECK(source == text.substr(position, end - position));
    FUZZ_CHECK(display == source);
    position = end;
    ++words;

    FUZZ_CHECK(result.text == segment.substr(0, kMaxTokenLength));
    if (result.verdict == Verdict::Corrected) {
      ++corrected;
    } else {
      if (result.verdict == Verdict::Missing) ++missing;
      // Only a correction changes the letters; the rest is the word in its own or a sentence case.
      FUZZ_CHECK(LowerCase(segment) == LowerCase(source));
    }
  }
  FUZZ_CHECK(position == text.size());
  FUZZ_CHECK(segmentStart == state.correctedText.size());
  FUZZ_CHECK(CountWords(state.source) == words);
  FUZZ_CHECK(highlighted == observer.highlights.size());
  if (count > 0) FUZZ_CHECK(observer.progress == std::to_string(words) + " \\ " + std::to_string(words) + " palabras");

  FUZZ_CHECK(static_cast<std::size_t>(state.MissingCount) == missing);
  FUZZ_CHECK(state.missingWords.size() == std::min(missing, kMissingWordCapacity));
  for (const auto& word : state.missingWords) FUZZ_CHECK(!word.empty() && word.size() <= kMissingWordLength);
  // One word can count several corrections (each accent the dictionary knows), never none.
  FUZZ_CHECK(static_cast<std::size_t>(state.CorrectedCount) >= corrected);
  FUZZ_CHECK((state.CorrectedCount == 0) == (corrected == 0));
  if (settings.Dificultad == 1) FUZZ_CHECK(state.CharacterTotal >= 0);

  // One trace line per token; an empty text leaves no trace.
  const std::string lines = fuzz::ReadFile(trace);
  std::size_t traceLines = 0;
  for (std::size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at + 2)) ++traceLines;
  FUZZ_CHECK(traceLines == count);
  FUZZ_CHECK(count > 0 || !std::filesystem::exists(trace));
  return 0;
}
