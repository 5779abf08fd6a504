// velmara-check: the detector's engine for scripts, pipes and tests.
//
//   velmara-check [--db DIR] [--country es_MX] [--intellisense|--no-intellisense] [--suggest] [--no-context]
//                 [--trace FILE] [--keep-going]
//                 [--format text|tsv|json] [--color=never|always|auto] [FILE...]
//   velmara-check --find TEXT [--mode 1|2|3|4] [--db DIR]
//   velmara-check -a | -l [--db DIR] [--country es_MX] [-p FILE] [-i ENCODING]   (the ispell pipe)
//
// Each FILE (standard input without one) is one check run, in order, so a question left open at
// the end of one file is still open in the next, as between two clipboard checks. A file is read
// and checked piece by piece (whole lines where it has them) and each piece's output written as
// it goes, so memory stays flat however long the input; the output is what one check of the whole
// file gives. --piece-size N reads N bytes at a time; it exists for the tests, which force small
// pieces to show that the output does not depend on them.
// Exit status: 0 no word missing, 1 some word missing, 2 an error: an input that cannot be read,
// output that cannot be written, no memory left, or a damaged word list (after the output, unless
// --keep-going, which checks on with that list empty as the desktop program does).

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/configuration.h"
#include "app/country_choice.h"
#include "app/file_locations.h"
#include "app/result_texts.h"
#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/encoding.h"
#include "cli/command_line.h"
#include "cli/ispell_pipe.h"
#include "cli/report.h"
#include "checker/context.h"
#include "cli/suggestions.h"
#include "cli/terminal_start.h"
#include "cli/stream_io.h"
#include "tools/string_search.h"
#include "suggest/suggester.h"
#include "worddb/countries.h"
#include "worddb/user_words.h"
#include "worddb/word_database.h"

namespace fs = std::filesystem;
using namespace velmara;

namespace {

constexpr int kExitClean = 0;
constexpr int kExitMissing = 1;
constexpr int kExitError = 2;

enum class Colour { Never, Always, Auto };

struct Options {
  std::optional<fs::path> database;
  std::optional<std::string> country;
  std::optional<bool> intellisense;
  std::optional<fs::path> trace;
  cli::Format format = cli::Format::Text;
  Colour colour = Colour::Auto;
  std::optional<std::string> find;
  int mode = 1;
  bool keepGoing = false;
  std::size_t pieceSize = std::size_t{1} << 20;  // bytes read at a time
  std::vector<std::string> files;
  bool suggest = false;
  bool context = true;  // accent advice from the words around
};

// Message boxes of the loader go to standard error.
class TerminalHooks : public LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override { PrintError(text); }
  void Note(const std::string& text) override { std::cerr << "velmara-check: " << text << '\n'; }
  static void PrintError(const std::string& windows1252) {
    std::string text = Windows1252ToUtf8(windows1252);
    std::string out;
    for (char c : text)
      if (c != '\r') out += c;
    std::cerr << out << '\n';
  }
};


// The options of velmara-check; the pipe's own (-a, -l, …) are read by ParseIspellOptions and only
// listed here, so --help shows them and the check mode can tell an option's value from them.
cli::CommandLine CheckCommandLine(Options& options) {
  cli::CommandLine line("velmara-check",
                        "velmara-check [OPTION]... [FILE]...\n"
                        "       velmara-check --find TEXT [--mode 1|2|3|4] [--db DIR] [--country es_MX]\n"
                        "       velmara-check -a | -l [--db DIR] [--country es_MX] [-p FILE] [-i ENCODING]",
                        "Checks Spanish text (the FILEs, or standard input) with the detector's word database.\n"
                        "Exit status: 0 no word missing, 1 some word missing, 2 an error.");
  line.Value("db", 0, "DIR", "the word database folder", [&options](const std::string& v) {
    options.database = v;
    return true;
  });
  line.Value("country", 0, "CODE", "the Spanish of this country (es_MX, es-AR, ...; default VELMARA_COUNTRY, then the "
             "configuration's, then the database's own)", [&options](const std::string& v) {
               options.country = v;
               return true;
             });
  line.Flag("intellisense", 0, "apply the Intellisense list", [&options] { options.intellisense = true; });
  line.Flag("no-intellisense", 0, "do not apply the Intellisense list", [&options] { options.intellisense = false; });
  line.Value("format", 0, "FORMAT", "text (default), tsv or json", [&options](const std::string& v) {
    if (v == "text") options.format = cli::Format::Text;
    else if (v == "tsv") options.format = cli::Format::Tsv;
    else if (v == "json") options.format = cli::Format::Json;
    else {
      std::cerr << "velmara-check: unknown format '" << v << "'\n";
      return false;
    }
    return true;
  });
  line.Value("color", 0, "WHEN", "colour each word by its verdict: never, always or auto (default)",
             [&options](const std::string& v) {
               if (v == "never") options.colour = Colour::Never;
               else if (v == "always") options.colour = Colour::Always;
               else if (v == "auto") options.colour = Colour::Auto;
               else {
                 std::cerr << "velmara-check: unknown colour choice '" << v << "'\n";
                 return false;
               }
               return true;
             });
  line.Flag("suggest", 0, "add suggestions for every missing word", [&options] { options.suggest = true; });
  line.Flag("no-context", 0, "no accent advice from the words around (esta/está); also for the pipe",
            [&options] { options.context = false; });
  line.Value("trace", 0, "FILE", "write the check's trace to FILE", [&options](const std::string& v) {
    options.trace = v;
    return true;
  });
  line.Flag("keep-going", 0, "with a damaged word list, exit with the check's own status",
            [&options] { options.keepGoing = true; });
  line.Value("piece-size", 0, "N", "read N bytes at a time (for tests)", [&options](const std::string& v) {
    char* end = nullptr;
    const unsigned long long size = std::strtoull(v.c_str(), &end, 10);
    if (v.empty() || *end != '\0' || size == 0 || size > (std::size_t{1} << 30)) {
      std::cerr << "velmara-check: --piece-size takes a number of bytes from 1 to 1073741824\n";
      return false;
    }
    options.pieceSize = static_cast<std::size_t>(size);
    return true;
  });
  line.Section("Word finder");
  line.Value("find", 0, "TEXT", "list the words of the database that hold TEXT", [&options](const std::string& v) {
    options.find = v;
    return true;
  });
  line.Value("mode", 0, "N", "which words: 1 all (default), 2 verbs, 3 the dictionary, 4 proper names",
             [&options](const std::string& v) {
               if (v.size() != 1 || v[0] < '1' || v[0] > '4') {
                 std::cerr << "velmara-check: --mode takes 1, 2, 3 or 4\n";
                 return false;
               }
               options.mode = v[0] - '0';
               return true;
             });
  line.Section("The ispell pipe, for editors (Emacs's ispell and flyspell)");
  const auto pipeOnly = [](const char* name) {
    return [name](const std::string&) {
      std::cerr << "velmara-check: " << name << " is an option of the pipe: use it with -a or -l\n";
      return false;
    };
  };
  line.Flag("", 'a', "answer the ispell pipe protocol on standard input and output", nullptr);
  line.Flag("", 'l', "list the words that are not accepted, one a line", nullptr);
  line.Flag("", 'v', "print the ispell version line", nullptr);
  line.Value("personal", 'p', "FILE", "the user's word list the pipe adds words to", pipeOnly("-p"));
  line.Value("encoding", 'i', "ENCODING", "utf-8 (default), iso-8859-1 or windows-1252", pipeOnly("-i"));
  line.Value("", 'd', "NAME", "a country (es_MX), a word database folder, or a dictionary name (ignored)",
             pipeOnly("-d"));
  return line;
}

// The pipe when -a, -l or -v stands as an option: not as the value of another (`--find -a`), not
// after "--". The pipe then reads every argument its own way, the peers' options included.
bool IspellModeAsked(const std::vector<std::string>& args, const cli::CommandLine& line) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") return false;
    if (arg == "-a" || arg == "-l" || arg == "-v" || arg == "-vv") return true;
    if (line.TakesNextArgument(arg)) ++i;
  }
  return false;
}

int RunFind(const WordDatabase& database, const Options& options, cli::Output& out) {
  StringSearchResult result = RunStringSearch(database, static_cast<FinderMode>(options.mode),
                                              Utf8ToWindows1252(*options.find));
  if (!result.valid) return kExitError;
  for (const std::string& entry : result.entries) {
    out.Write(Windows1252ToUtf8(entry));
    out.Write("\n");
  }
  out.Flush();
  TerminalHooks::PrintError(result.message);
  return kExitClean;
}

// A line longer than this is checked in more than one piece.
constexpr std::size_t kLongLine = std::size_t{1} << 16;

// One file checked piece by piece, each piece's output written as it goes.
class FileCheck {
 public:
  FileCheck(Classifier& classifier, const Settings& settings, const Options& options, bool colour,
            const Suggester* suggester, const ContextAdvisor* advisor, cli::Output& out)
      : state_(classifier.state()), settings_(settings), options_(options), colour_(colour), suggester_(suggester),
        advisor_(advisor), out_(out), check_(classifier, options.trace) {
    if (options_.format == cli::Format::Json) out_.Write(cli::kJsonStart);
  }

  // `text` is the next piece; state().unheld starts with the characters of its placeholders.
  void Piece(std::string_view text) {
    check_.Check(text);
    const std::vector<Advice>* advice = nullptr;
    if (advisor_ != nullptr) {
      advice_ = advisor_->Advise(state_);
      advice = &advice_;
    }
    switch (options_.format) {
      case cli::Format::Text:
        out_.Write(cli::TextReport(state_, settings_, colour_));
        if (suggester_ != nullptr) suggestionLines_ += cli::SuggestionLines(state_, *suggester_, listed_);
        if (advice != nullptr) adviceLines_ += cli::AdviceLines(state_, advice_, words_);
        break;
      case cli::Format::Tsv: out_.Write(cli::TsvReport(state_, tokens_, suggester_, advice)); break;
      case cli::Format::Json: {
        out_.Write(cli::JsonTokens(state_, tokens_ == 0, suggester_, advice));
        UnheldCharacters unheld = state_.unheld;
        unheld.next = 0;
        corrected_.Write(cli::JsonContent(Windows1252ToUtf8(state_.correctedText, unheld)));
        break;
      }
    }
    // The characters of this piece are written; what is left belongs to the text after it.
    const auto used = std::min<std::size_t>(state_.unheld.codes.size(),
                                            static_cast<std::size_t>(std::count(text.begin(), text.end(), kUnheldCharacter)));
    state_.unheld.codes.erase(state_.unheld.codes.begin(), state_.unheld.codes.begin() + static_cast<std::ptrdiff_t>(used));
    state_.unheld.next = 0;
    tokens_ += state_.result.size();
    words_ += CountWords(state_.source);
    checked_ = true;
  }
  bool Checked() const { return checked_; }

  void Finish() {
    if (options_.format == cli::Format::Json) {
      const std::string end = cli::JsonEnd(state_, "", words_);
      const std::size_t content = end.find('"', end.find(':')) + 1;  // the corrected text's place
      out_.Write(std::string_view(end).substr(0, content));
      corrected_.CopyTo(out_);
      out_.Write(std::string_view(end).substr(content));
    }
    out_.Flush();
    if (options_.format == cli::Format::Text)
      TerminalHooks::PrintError(ResultMessage(state_.CorrectedCount, state_.MissingCount, words_));
    std::cerr << suggestionLines_ << adviceLines_;
  }

 private:
  CheckState& state_;
  const Settings& settings_;
  const Options& options_;
  bool colour_;
  const Suggester* suggester_;  // with --suggest
  std::string suggestionLines_;
  const ContextAdvisor* advisor_;  // unless --no-context
  std::vector<Advice> advice_;     // of the last piece
  std::string adviceLines_;
  std::set<std::string> listed_;  // missing words whose suggestions are listed already
  cli::Output& out_;
  PiecewiseCheck check_;
  std::size_t tokens_ = 0;  // of the pieces before
  std::size_t words_ = 0;
  bool checked_ = false;
  cli::SpillBuffer corrected_;  // JSON only: the corrected text comes after the tokens
};

// The most of one unbroken run of letters held before it is checked.
constexpr std::size_t kLongestHeldWord = std::size_t{1} << 20;

// Reads, decodes and checks one input; returns whether some word was missing.
bool CheckInput(cli::InputFile& input, Classifier& classifier, const Settings& settings, const Options& options,
                bool colour, const Suggester* suggester, const ContextAdvisor* advisor, cli::Output& out) {
  classifier.state().unheld.clear();
  FileCheck check(classifier, settings, options, colour, suggester, advisor, out);
  InputEncodings seen;
  std::string bytes;  // read, not yet decoded: an unfinished UTF-8 sequence
  std::string text;   // decoded, not yet checked: an unfinished line or word
  bool more = true;
  while (more) {
    more = input.ReadMore(bytes, options.pieceSize);
    const std::size_t decodable = more ? ComposablePrefix(bytes) : bytes.size();
    const std::size_t held = text.size();
    text += InputToWindows1252(std::string_view(bytes).substr(0, decodable), seen, classifier.state().unheld);
    bytes.erase(0, decodable);
    // What was held has no place to end a piece, or it would have ended one: only what was just
    // read is looked at, so one very long word is not read again at every block.
    std::size_t end = text.size();
    if (more) {
      // A piece ends at a line end, so the accent advice sees each word's neighbours as in the
      // whole text; only a line longer than kLongLine is cut elsewhere.
      const std::string_view fresh = std::string_view(text).substr(held);
      const std::size_t lineEnd = fresh.rfind('\n');
      if (lineEnd != std::string_view::npos) {
        end = held + lineEnd + 1;
      } else if (text.size() >= std::max(options.pieceSize, kLongLine)) {
        end = PieceEnd(fresh);
        if (end > 0) {
          end += held;
        } else if (text.size() >= kLongestHeldWord) {
          // A run of letters this long is no word: it is checked a stretch at a time, each stretch
          // a word of its own, rather than held whole.
          end = text.size();
        }
      } else {
        end = 0;
      }
    }
    if (end > 0) {
      check.Piece(std::string_view(text).substr(0, end));
      text.erase(0, end);
    }
  }
  if (!check.Checked()) check.Piece({});  // an empty input is one empty run
  check.Finish();
  if (seen.Mixed()) {
    std::cerr << "velmara-check: " << (input.name() == "-" ? std::string("standard input") : "'" + input.name() + "'")
              << " mixes UTF-8 and Windows-1252; the bytes that are not UTF-8 were read as Windows-1252\n";
  }
  return classifier.state().MissingCount > 0;
}

int Run(int argc, char** argv, int closedStreams) {
  Options options;
  cli::CommandLine line = CheckCommandLine(options);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (IspellModeAsked(args, line)) {
    const cli::IspellOptions ispell = cli::ParseIspellOptions(args);
    if ((closedStreams & 2) != 0) {
      std::cerr << "velmara-check: cannot write to standard output: it is closed\n";
      return kExitError;
    }
    return cli::RunIspell(ispell, DecideFileLocations(cli::ProgramFolder(argv[0]), ProcessEnvironment()));
  }
  if (std::optional<int> status = line.Parse(args, options.files)) return *status;
  if ((closedStreams & 2) != 0) {
    std::cerr << "velmara-check: cannot write standard output: it is closed\n";
    return kExitError;
  }

  const cli::TerminalStart start = cli::PrepareTerminalStart(argv[0], options.database, options.intellisense);
  const Settings& settings = start.settings;
  const fs::path& databaseFolder = start.databaseFolder;
  const fs::path& intellisenseFile = start.intellisenseFile;
  if (!CheckWordDatabasePresent(databaseFolder)) {
    TerminalHooks::PrintError("No puedo cargar bd ...");
    return kExitError;
  }
  const CountryChoice country = ChooseCountry(databaseFolder, options.country, ProcessEnvironment(), settings);
  if (!country.error.empty()) {
    std::cerr << "velmara-check: " << country.error << '\n';
    return kExitError;
  }
  WordDatabase database;
  TerminalHooks hooks;
  const bool databaseSound =
      LoadCountryDatabase(databaseFolder, country.differences, database, hooks, start.locations.cacheFolder,
                          StoredSuggesterIndex);
  const int damaged = databaseSound || options.keepGoing ? kExitClean : kExitError;
  LoadUserWords(start.userWordsFile, database);

  cli::Output out;
  if (options.find) {
    const int status = RunFind(database, options, out);
    return status != kExitClean ? status : damaged;
  }

  if (options.files.empty()) options.files.push_back("-");
  const bool colour = options.colour == Colour::Always || (options.colour == Colour::Auto && isatty(STDOUT_FILENO));

  CheckState state;
  Classifier classifier(database, settings, intellisenseFile, state);
  const std::unique_ptr<Suggester> suggester = options.suggest ? std::make_unique<Suggester>(database) : nullptr;
  const std::unique_ptr<ContextAdvisor> advisor = options.context ? std::make_unique<ContextAdvisor>(database) : nullptr;
  bool anyMissing = false;
  for (const std::string& file : options.files) {
    cli::InputFile input(file, (closedStreams & 1) != 0);
    anyMissing = CheckInput(input, classifier, settings, options, colour, suggester.get(), advisor.get(), out) || anyMissing;
  }
  if (damaged != kExitClean) return damaged;
  return anyMissing ? kExitMissing : kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const int closedStreams = cli::ReopenClosedStandardStreams();
  int status = kExitError;
  try {
    status = Run(argc, argv, closedStreams);
  } catch (const cli::StreamError& error) {
    std::cerr << "velmara-check: " << error.what() << '\n';
  } catch (const std::bad_alloc&) {
    std::cerr << "velmara-check: out of memory\n";
  } catch (const std::exception& error) {
    std::cerr << "velmara-check: " << error.what() << '\n';
  }
  // A result line or a message that could not be written is an error: nobody saw it.
  std::cerr.flush();
  return std::cerr ? status : kExitError;
}
