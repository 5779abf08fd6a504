#pragma once
// velmara-check -a: the pipe protocol of ispell, which Hunspell and Aspell speak and which editors
// (Emacs's ispell and flyspell among them) drive. After a version line, every input line gets one
// answer per word and an empty line:
//   *                                 the word is accepted (also a verb form or a false positive)
//   & word count offset: s1, s2, ...  not accepted; our own correction first, then suggestions
//   # word offset                     missing, and nothing to suggest
// Offsets count characters of the line as received, from 0. Lines that begin with one of
// * & @ # ! % ` + - ~ $$ are commands; ^ checks the rest of the line. -l lists the words that
// are not accepted, one a line; -v and -vv print the version line.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/configuration.h"
#include "app/file_locations.h"
#include "checker/check_state.h"
#include "checker/classify.h"
#include "checker/context.h"
#include "suggest/suggester.h"
#include "suggest/word_check.h"
#include "worddb/text_hash.h"
#include "worddb/word_database.h"

namespace velmara::cli {

enum class IspellMode { None, Pipe, List, Version };
enum class PipeEncoding { Utf8, Windows1252 };

struct IspellOptions {
  IspellMode mode = IspellMode::None;
  PipeEncoding encoding = PipeEncoding::Utf8;
  std::optional<std::filesystem::path> database;       // --db, or -d naming a database folder
  std::optional<std::filesystem::path> userWordsFile;  // -p or --personal
  std::optional<std::string> country;                  // --country, or -d naming a country (es_MX)
  std::optional<bool> intellisense;
  bool context = true;  // --no-context: classic answers, no accent advice from the words around
  // What was accepted but has no effect here, for standard error.
  std::vector<std::string> notes;
};

// The mode is None unless -a, -l, -v or -vv is among the arguments. Every other option the peers
// take is accepted; none stops the program.
IspellOptions ParseIspellOptions(const std::vector<std::string>& args);

// "@(#) International Ispell Version 3.2.06 (but really Velmara …)", without a line end.
std::string IspellVersionLine();

// One session of the pipe over a loaded database: the words added with * and & go to the user's
// word list at once, those of @ are accepted until the session ends.
class IspellSession {
 public:
  IspellSession(WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile,
                std::filesystem::path userWordsFile, PipeEncoding encoding);

  // Appends the answer to one input line (given without its line feed) to `out`, in the
  // session's encoding: nothing for most commands, otherwise a line per word and an empty line.
  void Answer(std::string_view line, std::string& out);
  // -l: appends the words of the line that are not accepted, one a line.
  void ListRejected(std::string_view line, std::string& out);

  // Why the last command could not be carried out (once), or an empty text.
  std::string TakeFailure();
  // On (the default): a word the line's other words say needs an accent (checker/context.h) is
  // answered "&" with the advised word first, though it is a word of the lists.
  void SetContextAdvice(bool on) { context_ = on; }
  // Where the answers of a long line go once they pass a megabyte, before the line is done;
  // without it they wait for the end of the line.
  void SpillAnswersTo(std::function<bool(const std::string&)> spill) { spill_ = std::move(spill); }
  // Whether writing such answers failed since the last call.
  bool TakeSpillFailure() { return std::exchange(spillFailed_, false); }

 private:
  struct Word;
  void CheckLine(std::string_view line, std::size_t offsetBase, std::string& out, bool listOnly);
  // Returns true when the word was accepted.
  bool AnswerWord(const Word& word, std::string& out, bool listOnly);
  void AddUserWord(std::string_view text);
  std::string ToOutput(std::string_view windows1252) const;

  WordDatabase& database_;
  WordCheck check_;
  Suggester suggester_;
  std::filesystem::path userWordsFile_;
  PipeEncoding encoding_;
  std::unordered_set<std::string, TextHasher, std::equal_to<>> sessionWords_;  // lowercased Windows-1252
  bool terse_ = false;
  bool verboseCorrection_ = false;
  bool tex_ = false;
  bool context_ = true;
  ContextAdvisor advisor_;
  std::string failure_;
  std::string lowered_;  // reused from word to word
  // The suggestions of each missing word of the line being answered, by the word as written and
  // its neighbours.
  static constexpr std::size_t kLineSuggestionsAtMost = 4096;
  // How many tokens of a line are held for the accent advice before it is given for them.
  static constexpr std::size_t kAdvisedTokensAtMost = 65536;
  static constexpr std::size_t kAnswerSpillBytes = std::size_t{1} << 20;
  std::function<bool(const std::string&)> spill_;
  bool spillFailed_ = false;
  std::unordered_map<std::string, std::vector<std::string>, TextHasher, std::equal_to<>> lineSuggestions_;
};

// Runs the mode over standard input and output. Returns the exit status: 0, or 2 when the
// database cannot be loaded or standard input or output fail.
int RunIspell(const IspellOptions& options, const FileLocations& locations);

}  // namespace velmara::cli
