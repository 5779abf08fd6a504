#include "checker/check_run.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <typeinfo>

#include "checker/characters.h"
#include "checker/classification_memo.h"
#include "checker/trace_file.h"
#include "worddb/text_hash.h"

namespace velmara {
namespace {

// Abbreviations whose period ends no sentence (p. ej., Sr., etc.), in byte order, so that a word
// is looked for among them in a few comparisons; a single letter (initials, a. C.) is taken as
// one too.
constexpr std::string_view kAbbreviations[] = {
    "abr", "ago", "apdo", "aprox", "arq", "art", "atte", "av", "avda", "cap", "cc", "cf", "cfr", "cit", "coord",
    "c\xED" "a", "dcha", "depto", "dic", "dir", "doc", "dom", "dpto", "dr", "dra", "dres", "ed", "eds", "ee", "ej",
    "ene", "esp", "etc", "excma", "excmo", "fdo", "feb", "fig", "gr", "gral", "h", "ib", "ibid", "ib\xED" "d", "id",
    "ilma", "ilmo", "ing", "izq", "izqda", "jue", "jul", "jun", "lic", "loc", "lun", "mi\xE9", "ms", "m\xE1x",
    "m\xEDn", "nov", "num", "n\xFAm", "oct", "op", "pag", "pp", "pral", "prof", "profa", "prov", "ptas", "pts",
    "pza", "p\xE1g", "p\xE1gs", "ref", "sec", "sept", "sig", "sigs", "sr", "sra", "sras", "sres", "srta", "ss",
    "sta", "sto", "s\xE1" "b", "tel", "tfno", "tlf", "trad", "ud", "uds", "uu", "vd", "vda", "vds", "vid", "vie",
    "vol", "vs"};
static_assert(std::ranges::is_sorted(kAbbreviations));
constexpr std::size_t kLongestAbbreviation = std::ranges::max(kAbbreviations, {}, &std::string_view::size).size();

bool IsAbbreviation(std::string_view written) {
  if (written.size() == 1) return true;
  if (written.size() > kLongestAbbreviation) return false;
  char lowered[kLongestAbbreviation];
  for (std::size_t i = 0; i < written.size(); ++i)
    lowered[i] = static_cast<char>(LowerChar(static_cast<unsigned char>(written[i])));
  return std::ranges::binary_search(kAbbreviations, std::string_view(lowered, written.size()));
}

}  // namespace

// Which words start a sentence, told one token at a time, so that a text read in pieces gives
// what the whole text gives. A leading capital is added only at the start of the text and after
// a real sentence end: a period, "?" or "!" written against a word (not after a space, as a
// symbol is) and not after an abbreviation or a number. Opening marks (¿ ¡ « “, a quote after a
// space, a dash at the start of a line) keep a pending capital and never make one; anything else
// between the end and the word (a comma or colon, a bracket, a closing mark, an ellipsis, a
// number, a symbol, a dash that brings in the narrator) leaves the word as written.
class SentenceStarts {
 public:
  void Separator(char character) {
    const auto c = static_cast<unsigned char>(character);
    const bool againstText = last_ == Last::Word || last_ == Last::Closing || last_ == Last::Number ||
                             last_ == Last::Period || last_ == Last::Ellipsis;
    const bool afterSpace = last_ == Last::Space || last_ == Last::LineStart || last_ == Last::Opening;
    Last last = Last::Other;
    switch (c) {
      case '.':
        if (last_ == Last::Period || last_ == Last::Ellipsis) {
          pending_ = false;
          last = Last::Ellipsis;
        } else {
          const bool abbreviation =
              last_ == Last::Word && wordLength_ <= sizeof word_ && IsAbbreviation(std::string_view(word_, wordLength_));
          pending_ = (last_ == Last::Word && !abbreviation) || last_ == Last::Closing;
          last = Last::Period;
        }
        break;
      case '?': case '!':
        pending_ = againstText;
        last = Last::Closing;
        break;
      case 133:  // …
        pending_ = false;
        last = Last::Ellipsis;
        break;
      case ',': case ';': case ':': case ')': case ']': case '}': case 187 /* » */: case 148 /* ” */:
        pending_ = false;
        last = Last::Closing;
        break;
      case '"': case '\'':
        // After a space a quote opens; against the text before it, it closes.
        if (!afterSpace) pending_ = false;
        last = afterSpace ? Last::Opening : Last::Closing;
        break;
      case 151 /* — */: case 150 /* – */: case '-':
        // A dash opens a turn of dialogue only at the start of a line; elsewhere it brings in the
        // narrator (—¿Vienes? —preguntó) or an aside.
        if (last_ != Last::LineStart && last_ != Last::Opening) pending_ = false;
        last = afterSpace ? Last::Opening : Last::Closing;
        break;
      case 191 /* ¿ */: case 161 /* ¡ */: case 171 /* « */: case 147 /* “ */:
        last = Last::Opening;
        break;
      case '(': case '[': case '{':
        pending_ = false;  // an aside after a sentence may begin in lower case
        last = Last::Opening;
        break;
      case '\r': case '\n':
        last = Last::LineStart;
        break;
      default:
        if (c <= ' ' || c == 160) {
          last = last_ == Last::LineStart ? Last::LineStart : Last::Space;
        } else {
          pending_ = false;  // a number took the sentence's start; a symbol leaves it unclear
          last = c >= '0' && c <= '9' ? Last::Number : Last::Other;
        }
        break;
    }
    last_ = last;
  }

  // A word, or an address; true when it starts a sentence.
  bool Word(std::string_view written) {
    // Straight after a period, with no space between, the period was inside the word's group.
    const bool starts = pending_ && last_ != Last::Period;
    pending_ = false;
    last_ = Last::Word;
    // Kept for a period that may follow: abbreviations are short.
    wordLength_ = written.size();
    std::memcpy(word_, written.data(), std::min(written.size(), sizeof word_));
    return starts;
  }

 private:
  enum class Last { LineStart, Space, Word, Number, Period, Ellipsis, Opening, Closing, Other };
  bool pending_ = true;  // the first word of the text
  Last last_ = Last::LineStart;
  char word_[8] = {};
  std::size_t wordLength_ = 0;
};

namespace {

// The plain observer's hooks do nothing: a run given it is watched by nobody.
bool Watched(const CheckObserver& observer) { return typeid(observer) != typeid(CheckObserver); }

std::string_view TrimmedSpaces(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// FindAfter for a token: only spaces lie between the previous token and this one, and a text
// without leading spaces cannot start on a space, so the first place past the spaces is the
// first occurrence whenever the text stands there.
std::size_t FindTokenAfter(std::string_view displayText, std::string_view token, std::size_t after) {
  std::size_t p = after;
  while (p < displayText.size() && displayText[p] == ' ') ++p;
  if (token.size() <= displayText.size() - std::min(p, displayText.size())) {
    std::size_t k = 0;
    while (k < token.size() && displayText[p + k] == token[k]) ++k;
    if (k == token.size()) return p + 1;
  }
  return FindAfter(displayText, token, after);
}

// Builds the corrected text in place, a token at a time. The text is kept longer than what has
// been written, so a word is copied without a library call; Finish cuts it to what was written.
class CorrectedTextWriter {
 public:
  CorrectedTextWriter(std::string& text, std::size_t expected) : text_(text) {
    text_.resize(expected + kSpare);
  }

  void Put(char c) {
    Room(1);
    text_[used_++] = c;
  }

  // `sixteenReadable`: sixteen bytes can be read from word.data() (SixteenReadable); what is
  // copied past the word is written over by the next token.
  void Append(std::string_view word, bool sixteenReadable) {
    const std::size_t length = word.size();
    Room(std::max(length, kShort));
    if (length <= kShort && sixteenReadable) {
      std::memcpy(text_.data() + used_, word.data(), kShort);
    } else {
      std::memcpy(text_.data() + used_, word.data(), length);
    }
    used_ += length;
  }

  void Finish() { text_.resize(used_); }

 private:
  static constexpr std::size_t kShort = 16;
  static constexpr std::size_t kSpare = 64;

  void Room(std::size_t length) {
    if (text_.size() - used_ < length) text_.resize(std::max(text_.size() * 2, used_ + length + kSpare));
  }

  std::string& text_;
  std::size_t used_ = 0;
};

// "5 \ 120 palabras": the count in front changes only at a word, by one.
class ProgressText {
 public:
  explicit ProgressText(std::size_t total) : text_("0 \\ " + std::to_string(total) + " palabras") {}
  void CountWord() {
    std::size_t digit = digits_;
    while (digit > 0 && text_[digit - 1] == '9') text_[--digit] = '0';
    if (digit == 0) {
      text_.insert(text_.begin(), '1');
      ++digits_;
    } else {
      ++text_[digit - 1];
    }
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  std::size_t digits_ = 1;
};

}  // namespace

std::string DisplayTextOf(std::string_view source) {
  std::string display(source);
  for (char& c : display)
    if (c == '\r' || c == '\n') c = ' ';
  return display;
}

std::size_t PrepareCheck(CheckState& state, std::string_view sourceText) {
  std::size_t count = Tokenise(sourceText, state.source);
  state.advice.clear();
  // Emptied in place: the entries keep their buffers for the run that fills them.
  state.result.resize(count);
  for (TokenEntry& entry : state.result) {
    entry.text.clear();
    entry.verdict = Verdict::Accepted;
  }
  return count;
}

namespace {

// What a check run carries from one piece of its text to the next: the trace, which word starts
// a sentence, and the memory of classified words.
struct RunCarry {
  RunCarry(Classifier& classifier, const std::optional<std::filesystem::path>& traceFile, std::size_t tokens)
      : trace(traceFile), memo(classifier, tokens) {}
  TraceWriter trace;
  ClassificationMemo memo;
  SentenceStarts sentences;
};

// Runs over the prepared token lists of one piece of the text; the counts and missing words go on
// from what the state holds.
void RunPiece(Classifier& classifier, std::string_view displayText, const CharacterNameTable& names,
              CheckObserver& observer, RunCarry& carry, WordClassification classification) {
  CheckState& state = classifier.state();
  const std::size_t tokenCount = state.source.size();
  state.result.resize(tokenCount);

  TraceWriter& trace = carry.trace;
  CorrectedTextWriter corrected(state.correctedText, displayText.size());
  state.longResults.clear();
  SentenceStarts& sentences = carry.sentences;
  // A run nobody watches skips what only feeds the observer (the word count, the highlight, the
  // progress text).
  const bool watched = Watched(observer);
  ProgressText progress(watched ? CountWords(state.source) : 0);

  std::size_t previousStart = 0;
  std::size_t previousLength = 0;
  std::size_t searchFrom = 0;  // where the previous token ends in the display text

  ClassificationMemo& memo = carry.memo;
  // Reused from token to token: a long text costs no allocation per word.
  std::string lowered, cased;
  // A word longer than kMaxTokenLength is classified by its first kMaxTokenLength characters;
  // the rest stands after the result as written.
  TokenText head;

  // A table of our own: the lookup sits in the loop instead of a call per token.
  std::array<bool, 256> separatorChar{};
  for (std::size_t c = 0; c < separatorChar.size(); ++c) separatorChar[c] = IsSeparatorChar(static_cast<unsigned char>(c));

  // Every token is read from the source list; its display form only places the highlight.
  for (std::size_t i = 0; i < tokenCount; ++i) {
    const TokenText& written = state.source[i].text;
    TokenEntry& result = state.result[i];
    if (i + 24 < tokenCount) {
      __builtin_prefetch(&state.source[i + 24]);
      __builtin_prefetch(&state.result[i + 24], 1);
    }
    const bool separator = !written.empty() && separatorChar[static_cast<unsigned char>(written[0])];

    // Highlight the token where it stands: only spaces lie between it and the previous one.
    if (watched) {
      // Word tokens hold no space; a separator token is one character.
      const std::string_view display = ShownText(written);
      std::string_view trimmed = display;
      if (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.back() == ' ')) trimmed = TrimmedSpaces(display);
      if (!trimmed.empty()) {
        std::size_t position = FindTokenAfter(displayText, trimmed, searchFrom);
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
      if (!separator && IsWordToken(written)) progress.CountWord();
      observer.SetProgressText(progress.Text());
    }

    if (separator) {
      // A separator is one character; a line break is shown as a space.
      const char character = written[0];
      const char shown = character == '\r' || character == '\n' ? ' ' : character;
      if (result.text.size() != 1 || result.text[0] != shown) result.text.assign(std::string_view(&shown, 1));
      if (trace.Wanted())
        trace.Line(names[static_cast<unsigned char>(shown)], names[static_cast<unsigned char>(character)]);
      corrected.Put(character);
      sentences.Separator(character);
      if (character == '\xBF' || character == '\xA1') state.openQuestion = true;
      if (character == '?' || character == '!') state.openQuestion = false;
    } else {
      // A word holds no line break: it reads the same on display.
      std::string_view tail;
      const TokenText* classified = &written;
      // An address is told by the whole token: what makes it one may lie past the characters a
      // long word is classified by.
      bool longAddress = false;
      if (written.size() > kMaxTokenLength) [[unlikely]] {
        head.assign(written.view().substr(0, kMaxTokenLength));
        tail = written.view().substr(kMaxTokenLength);
        classified = &head;
        longAddress = !IsWordToken(written);
      }
      const TokenText& asked = *classified;
      const bool sentenceStart = sentences.Word(asked);

      // The result in the word's case, and whether sixteen bytes of it can be read.
      std::string_view casedResult;
      bool sixteenReadable = true;
      auto resultIn = [&casedResult, &sixteenReadable](const std::string& text) {
        casedResult = text;
        sixteenReadable = SixteenReadable(text);
      };
      // Only words are remembered: a word recalled needs no look at its characters.
      Recollection known;
      if (classification == WordClassification::Remembered && !longAddress) known = memo.Recall(asked);
      if (longAddress || (known.word == nullptr && !IsWordToken(asked))) {
        casedResult = asked;  // an address: passed over, neither checked nor counted
      } else {
        if (known.word != nullptr && known.writtenStands && !sentenceStart) {
          casedResult = asked;  // the word's own case gives back the word as written
        } else if (known.word != nullptr) {
          RememberedWord& word = *known.word;
          const std::size_t variant = sentenceStart ? 1 : 0;
          const auto bit = static_cast<std::uint8_t>(1u << variant);
          if ((word.casedKnown & bit) == 0) {
            word.cased[variant] = CasedResult(asked, word.result, sentenceStart);
            word.casedKnown |= bit;
          }
          resultIn(word.cased[variant]);
        } else {
          lowered = LowerCase(asked);
          if (classification == WordClassification::Remembered) {
            cased = CasedResult(asked, memo.Classify(asked, lowered), sentenceStart);
          } else {
            cased = CasedResult(asked, classifier.ClassifyWord(lowered, WrittenCaseOf(asked)), sentenceStart);
          }
          resultIn(cased);
        }
      }
      // A single letter or a known abbreviation before its period (p. ej., J. M.) is no missing word.
      if (state.lastVerdict == Verdict::Missing && i + 1 < tokenCount && state.source[i + 1].text == "." &&
          IsAbbreviation(asked)) {
        if (static_cast<std::size_t>(state.MissingCount) <= kMissingWordCapacity && !state.missingWords.empty())
          state.missingWords.pop_back();
        state.MissingCount -= 1;
        state.lastVerdict = Verdict::Accepted;
      }
      if (trace.Wanted()) trace.Line(asked, casedResult);
      corrected.Append(casedResult, sixteenReadable);
      if (!tail.empty()) corrected.Append(tail, false);
      const std::string_view stored = casedResult.substr(0, kMaxTokenLength);
      if (!SameText(result.text, stored)) {
        if (sixteenReadable) {
          result.text.assign_sixteen(stored);
        } else {
          result.text.assign(stored);
        }
      }
      if (casedResult.size() + tail.size() > kMaxTokenLength)
        state.longResults.emplace_back(i, casedResult.size() + tail.size());
    }

    // Left untouched when it holds the verdict already: an entry not written is not written back.
    if (result.verdict != state.lastVerdict) result.verdict = state.lastVerdict;
    state.lastVerdict = Verdict::Accepted;
    if (watched) observer.PumpPendingMessages();
  }
  corrected.Finish();
  observer.ResetMainBoxFormat();
}

void StartCounts(CheckState& state) {
  state.missingWords.clear();
  state.CorrectedCount = 0;
  state.MissingCount = 0;
}

}  // namespace

void CheckRun(Classifier& classifier, std::string_view displayText, const CharacterNameTable& names,
              CheckObserver& observer, const std::optional<std::filesystem::path>& traceFile,
              WordClassification classification) {
  CheckState& state = classifier.state();
  StartCounts(state);
  RunCarry carry(classifier, traceFile, state.source.size());
  RunPiece(classifier, displayText, names, observer, carry, classification);
}

struct PiecewiseCheck::Carry {
  Carry(Classifier& classifier, const std::optional<std::filesystem::path>& traceFile)
      : run(classifier, traceFile, kExpectedTokens), names(BuildCharacterNameTable()) {}
  // Sizes the memory of classified words as for a long text.
  static constexpr std::size_t kExpectedTokens = std::size_t{1} << 20;
  RunCarry run;
  CharacterNameTable names;
};

PiecewiseCheck::PiecewiseCheck(Classifier& classifier, const std::optional<std::filesystem::path>& traceFile)
    : classifier_(classifier) {
  CheckState& state = classifier.state();
  if (classifier.settings().Dificultad == 1) state.CharacterTotal = 0;
  StartCounts(state);
  carry_ = std::make_unique<Carry>(classifier, traceFile);
}

PiecewiseCheck::~PiecewiseCheck() = default;

void PiecewiseCheck::Check(std::string_view sourcePiece) {
  PrepareCheck(classifier_.state(), sourcePiece);
  CheckObserver quiet;
  // Nobody watches: the display text is read only for its length, which is the source's.
  RunPiece(classifier_, sourcePiece, carry_->names, quiet, carry_->run, WordClassification::Remembered);
}

std::size_t PieceEnd(std::string_view text) {
  const std::size_t lineEnd = text.rfind('\n');
  if (lineEnd != std::string_view::npos) return lineEnd + 1;
  // Only at a space: an address, one token, holds other separators but no space.
  const std::size_t space = text.find_last_of(" \t");
  return space == std::string_view::npos ? 0 : space + 1;
}

std::vector<std::size_t> CorrectedEnds(const CheckState& state) {
  std::vector<std::size_t> ends(state.result.size());
  auto longResult = state.longResults.begin();
  std::size_t end = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    if (longResult != state.longResults.end() && longResult->first == i) {
      end += longResult->second;
      ++longResult;
    } else {
      end += state.result[i].text.size();
    }
    ends[i] = end;
  }
  return ends;
}

void CheckText(Classifier& classifier, std::string_view sourceText, CheckObserver& observer,
               const std::optional<std::filesystem::path>& traceFile, WordClassification classification) {
  CheckState& state = classifier.state();
  if (classifier.settings().Dificultad == 1) state.CharacterTotal = 0;
  PrepareCheck(state, sourceText);
  CharacterNameTable names = BuildCharacterNameTable();
  // A run nobody watches reads the display text only for its length, which is the source's.
  const bool watched = Watched(observer);
  const std::string display = watched ? DisplayTextOf(sourceText) : std::string();
  CheckRun(classifier, watched ? std::string_view(display) : sourceText, names, observer, traceFile, classification);
}

}  // namespace velmara
