#include "checker/check_run.h"

#include <cstdio>
#include <memory>

#include "checker/characters.h"

namespace velmara {
namespace {

enum class CaseState { AsWritten, Capitalised, AllCaps, SentenceStart };

bool StartsSentence(std::string_view separator) {
  if (separator.size() != 1) return false;
  switch (static_cast<unsigned char>(separator[0])) {
    case '.': case 191 /* ¿ */: case 161 /* ¡ */: case '"': case '\'': case '?': case '!': case 171 /* « */:
      return true;
    default:
      return false;
  }
}

std::string ApplyCase(CaseState caseState, const std::string& result) {
  switch (caseState) {
    case CaseState::Capitalised:
    case CaseState::SentenceStart:
      return MixedCase(result);
    case CaseState::AllCaps:
      return UpperCase(result);
    case CaseState::AsWritten:
      break;
  }
  return result;
}

// The trace of the last run, one line per token ended by CR LF. Opened at the first line, so an
// empty text leaves no file; kept open for the whole run. Write errors are ignored: the trace is
// a diagnostic and the run does not depend on it.
class TraceWriter {
 public:
  explicit TraceWriter(const std::optional<std::filesystem::path>& file) : path_(file) {
    if (!path_) return;
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::file_status status = fs::symlink_status(*path_, ignored);
    if (fs::is_regular_file(status)) {
      fs::permissions(*path_, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ignored);
      fs::remove(*path_, ignored);
    } else if (fs::is_symlink(status)) {
      fs::remove(*path_, ignored);
    }
    // Only a trace of our own is replaced: a folder, a device or a pipe of that name is left as it
    // is and gets no trace (opening a pipe would wait for a reader for ever).
    failed_ = fs::exists(fs::symlink_status(*path_, ignored));
  }

  void Line(std::string_view left, std::string_view right) {
    if (!path_ || failed_) return;
    if (!file_) {
      file_.reset(std::fopen(path_->c_str(), "wb"));
      if (!file_) {
        failed_ = true;
        return;
      }
    }
    std::fwrite(left.data(), 1, left.size(), file_.get());
    std::fwrite(" = ", 1, 3, file_.get());
    std::fwrite(right.data(), 1, right.size(), file_.get());
    std::fwrite("\r\n", 1, 2, file_.get());
  }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::optional<std::filesystem::path> path_;
  std::unique_ptr<std::FILE, Closer> file_;
  bool failed_ = false;
};

}  // namespace

std::string DisplayTextOf(std::string_view source) {
  std::string display(source);
  for (char& c : display)
    if (c == '\r' || c == '\n') c = ' ';
  return display;
}

std::size_t PrepareCheck(CheckState& state, std::string_view sourceText) {
  Tokenise(DisplayTextOf(sourceText), state.display);
  std::size_t count = Tokenise(sourceText, state.source);
  state.result.assign(count, TokenEntry{});
  return count;
}

void CheckRun(Classifier& classifier, std::string_view displayText, const CharacterNameTable& names,
              CheckObserver& observer, const std::optional<std::filesystem::path>& traceFile) {
  CheckState& state = classifier.state();
  const std::size_t tokenCount = state.source.size();
  state.result.resize(tokenCount);

  state.missingWords.clear();
  TraceWriter trace(traceFile);
  state.CorrectedCount = 0;
  state.MissingCount = 0;
  state.correctedText.clear();
  state.correctedText.reserve(displayText.size());
  state.correctedEnds.assign(tokenCount, 0);
  CaseState caseState = CaseState::AsWritten;
  bool firstWord = true;
  std::size_t wordCounter = 0;
  const std::string totalText = std::to_string(CountWords(state.display));

  std::size_t previousStart = 0;
  std::size_t previousLength = 0;
  std::size_t searchFrom = 0;  // where the previous token ends in the display text

  for (std::size_t i = 0; i < tokenCount; ++i) {
    const std::string& display = state.display[i].text;
    const std::string& source = state.source[i].text;
    TokenEntry& result = state.result[i];
    const bool separator = IsSeparator(display);

    // Highlight the token where it stands: only spaces lie between it and the previous one.
    std::string trimmed = TrimSpaces(display);
    if (!trimmed.empty()) {
      std::size_t position = FindAfter(displayText, trimmed, searchFrom);
      if (position > 0) {
        previousStart = position - 1;
        previousLength = trimmed.size();
        observer.HighlightMainBox(previousStart, previousLength);
        searchFrom = previousStart + previousLength;
        // A word cut to 255 characters goes on in the text; the next token comes after all of it,
        // not at a copy of itself inside the rest of the word.
        while (!separator && searchFrom < displayText.size() &&
               !IsSeparatorChar(static_cast<unsigned char>(displayText[searchFrom])))
          ++searchFrom;
      }
    }

    if (!separator) ++wordCounter;
    observer.SetProgressText(std::to_string(wordCounter) + " \\ " + totalText + " palabras");

    if (separator) {
      result.text = display;
      trace.Line(names[static_cast<unsigned char>(display[0])], names[static_cast<unsigned char>(source[0])]);
      state.correctedText += source;
      if (StartsSentence(source)) caseState = CaseState::SentenceStart;
      if (source == "\xBF" || source == "\xA1") state.openQuestion = true;
      if (source == "?" || source == "!") state.openQuestion = false;
    } else {
      switch (CasePatternOf(source)) {
        case CasePattern::AllCaps: caseState = CaseState::AllCaps; break;
        case CasePattern::Capitalised: caseState = CaseState::Capitalised; break;
        case CasePattern::Other: break;
      }
      if (caseState == CaseState::AsWritten && firstWord) caseState = CaseState::SentenceStart;
      firstWord = false;

      std::string cased = ApplyCase(caseState, classifier.ClassifyWord(LowerCase(display)));
      caseState = CaseState::AsWritten;
      trace.Line(display, cased);
      state.correctedText += cased;
      result.text = cased.substr(0, kMaxTokenLength);
    }

    state.correctedEnds[i] = state.correctedText.size();
    result.verdict = state.lastVerdict;
    state.lastVerdict = Verdict::Accepted;
    observer.PumpPendingMessages();
  }
  observer.ResetMainBoxFormat();
}

void CheckText(Classifier& classifier, std::string_view sourceText, CheckObserver& observer,
               const std::optional<std::filesystem::path>& traceFile) {
  CheckState& state = classifier.state();
  if (classifier.settings().Dificultad == 1) state.CharacterTotal = 0;
  PrepareCheck(state, sourceText);
  CharacterNameTable names = BuildCharacterNameTable();
  CheckRun(classifier, DisplayTextOf(sourceText), names, observer, traceFile);
}

}  // namespace velmara
