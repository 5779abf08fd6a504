#pragma once
// The check run: walks the tokens, classifies every word, gives results their case back, and
// records result, verdict, corrected text and the trace of the run.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "checker/classify.h"
#include "tools/character_names.h"

namespace velmara {

inline constexpr const char* kTraceFile = "sucio.txt";

// What a run shows on screen. The headless build keeps the empty bodies; a run given this class
// itself, rather than a subclass, leaves out the work that would only feed them.
class CheckObserver {
 public:
  virtual ~CheckObserver() = default;
  // The whole main box black on white, not bold.
  virtual void ResetMainBoxFormat() {}
  // Moves the highlight to [start, start + length) of the display text (0-based character
  // positions); the word highlighted before goes back to black on white.
  virtual void HighlightMainBox(std::size_t start, std::size_t length) { (void)start, (void)length; }
  // Text of the first part of the status bar ("5 \ 120 palabras").
  virtual void SetProgressText(const std::string& text) { (void)text; }
  virtual void PumpPendingMessages() {}
};

// How a run asks for the classification of its words. Both give the same results; remembering
// classifies each distinct word once per run and is what the program uses.
enum class WordClassification { Remembered, EveryOccurrence };

// The source text with every CR and LF replaced by a space.
std::string DisplayTextOf(std::string_view source);

// Tokenises the source text into the state's source list (the display text splits at the same
// places, ShownText) and empties the result list.
// Returns the token count.
std::size_t PrepareCheck(CheckState& state, std::string_view sourceText);

// Runs over the prepared token lists. `traceFile` empty: no trace is written.
void CheckRun(Classifier& classifier, std::string_view displayText, const CharacterNameTable& names,
              CheckObserver& observer, const std::optional<std::filesystem::path>& traceFile,
              WordClassification classification = WordClassification::Remembered);

// Where the text of each token ends in state.correctedText after a run: a token stands there as
// its result entry holds it, but for a word whose result was longer than its entry keeps.
std::vector<std::size_t> CorrectedEnds(const CheckState& state);

// A check run over a text that comes in pieces, for a caller that reads a long input and writes
// each piece's outcome as it goes. A piece ends where PieceEnd says. After each Check the state's
// token lists and corrected text are those of the piece; the counts and the missing words are
// those of the run so far, and the open question, the sentence start and the trace go on from one
// piece to the next, so the pieces give what one run over the whole text gives.
class PiecewiseCheck {
 public:
  PiecewiseCheck(Classifier& classifier, const std::optional<std::filesystem::path>& traceFile);
  ~PiecewiseCheck();
  PiecewiseCheck(const PiecewiseCheck&) = delete;
  PiecewiseCheck& operator=(const PiecewiseCheck&) = delete;
  void Check(std::string_view sourcePiece);

 private:
  struct Carry;
  Classifier& classifier_;
  std::unique_ptr<Carry> carry_;
};

// Where the text may end a piece: after its last line feed, or else after its last space or TAB
// (a line end's CR LF stays together, an address stays whole); 0 when the text has neither.
std::size_t PieceEnd(std::string_view text);

// Prepare, name table and run in one call, for callers without a window.
void CheckText(Classifier& classifier, std::string_view sourceText, CheckObserver& observer,
               const std::optional<std::filesystem::path>& traceFile,
               WordClassification classification = WordClassification::Remembered);

}  // namespace velmara
