// velmara-check: the detector's engine for scripts, pipes and tests.
//
//   velmara-check [--db DIR] [--intellisense|--no-intellisense] [--suggest] [--trace FILE]
//                 [--format text|tsv|json] [--color=never|always|auto] [FILE...]
//   velmara-check --find TEXT [--mode 1|2|3|4] [--db DIR]
//   velmara-check -a | -l [--db DIR] [-p FILE] [-i ENCODING]   (the ispell pipe, cli/ispell_pipe.h)
//
// Each FILE (standard input without one) is one check run, in order, so a question left open at
// the end of one file is still open in the next, as between two clipboard checks.
// Exit status: 0 no word missing, 1 some word missing, 2 an error.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/configuration.h"
#include "app/file_locations.h"
#include "app/result_texts.h"
#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/encoding.h"
#include "cli/ispell_pipe.h"
#include "cli/report.h"
#include "cli/suggestions.h"
#include "tools/string_search.h"
#include "worddb/user_words.h"
#include "worddb/word_database.h"

namespace fs = std::filesystem;
using namespace velmara;

namespace {

constexpr int kExitClean = 0;
constexpr int kExitMissing = 1;
constexpr int kExitError = 2;

const char* const kUsage =
    "usage: velmara-check [--db DIR] [--intellisense|--no-intellisense] [--suggest] [--trace FILE]\n"
    "                     [--format text|tsv|json] [--color=never|always|auto] [FILE...]\n"
    "       velmara-check --find TEXT [--mode 1|2|3|4] [--db DIR]\n"
    "       velmara-check -a | -l [--db DIR] [-p FILE] [-i ENCODING]\n";

enum class Colour { Never, Always, Auto };

struct Options {
  std::optional<fs::path> database;
  std::optional<bool> intellisense;
  std::optional<fs::path> trace;
  cli::Format format = cli::Format::Text;
  Colour colour = Colour::Auto;
  std::optional<std::string> find;
  int mode = 1;
  std::vector<std::string> files;
  bool suggest = false;
};

// Message boxes of the loader go to standard error.
class TerminalHooks : public LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override { PrintError(text); }
  static void PrintError(const std::string& windows1252) {
    std::string text = Windows1252ToUtf8(windows1252);
    std::string out;
    for (char c : text)
      if (c != '\r') out += c;
    std::cerr << out << '\n';
  }
};

fs::path ProgramFolder(const char* argv0) {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) exe = fs::absolute(argv0, error);
  return exe.parent_path();
}

bool ParseOptions(int argc, char** argv, Options& options) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        std::cerr << "velmara-check: " << arg << " needs a value\n";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(kExitClean);
    } else if (arg == "--db") {
      if (!value(text)) return false;
      options.database = text;
    } else if (arg == "--intellisense") {
      options.intellisense = true;
    } else if (arg == "--no-intellisense") {
      options.intellisense = false;
    } else if (arg == "--suggest") {
      options.suggest = true;
    } else if (arg == "--trace") {
      if (!value(text)) return false;
      options.trace = text;
    } else if (arg == "--format" || arg.rfind("--format=", 0) == 0) {
      if (arg == "--format") {
        if (!value(text)) return false;
      } else {
        text = arg.substr(9);
      }
      if (text == "text") options.format = cli::Format::Text;
      else if (text == "tsv") options.format = cli::Format::Tsv;
      else if (text == "json") options.format = cli::Format::Json;
      else {
        std::cerr << "velmara-check: unknown format '" << text << "'\n";
        return false;
      }
    } else if (arg.rfind("--color=", 0) == 0 || arg == "--color") {
      if (arg == "--color") {
        if (!value(text)) return false;
      } else {
        text = arg.substr(8);
      }
      if (text == "never") options.colour = Colour::Never;
      else if (text == "always") options.colour = Colour::Always;
      else if (text == "auto") options.colour = Colour::Auto;
      else {
        std::cerr << "velmara-check: unknown colour choice '" << text << "'\n";
        return false;
      }
    } else if (arg == "--find") {
      if (!value(text)) return false;
      options.find = text;
    } else if (arg == "--mode") {
      if (!value(text)) return false;
      if (text.size() != 1 || text[0] < '1' || text[0] > '4') {
        std::cerr << "velmara-check: --mode takes 1, 2, 3 or 4\n";
        return false;
      }
      options.mode = text[0] - '0';
    } else if (arg == "-") {
      options.files.push_back(arg);
    } else if (arg == "--") {
      options.files.insert(options.files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::cerr << "velmara-check: unknown option '" << arg << "'\n";
      return false;
    } else {
      options.files.push_back(arg);
    }
  }
  return true;
}

std::optional<std::string> ReadInput(const std::string& name) {
  if (name == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::error_code error;
  if (fs::is_directory(name, error)) return std::nullopt;
  std::ifstream in(name, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

int RunFind(const WordDatabase& database, const Options& options) {
  StringSearchResult result = RunStringSearch(database, static_cast<FinderMode>(options.mode),
                                              Utf8ToWindows1252(*options.find));
  if (!result.valid) return kExitError;
  for (const std::string& entry : result.entries) std::cout << Windows1252ToUtf8(entry) << '\n';
  std::cout.flush();
  TerminalHooks::PrintError(result.message);
  return kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const cli::IspellOptions ispell = cli::ParseIspellOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (ispell.mode != cli::IspellMode::None)
    return cli::RunIspell(ispell, DecideFileLocations(ProgramFolder(argv[0]), ProcessEnvironment()));
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << kUsage;
    return kExitError;
  }

  const FileLocations locations = DecideFileLocations(ProgramFolder(argv[0]), ProcessEnvironment());
  Settings settings;
  SetFixedColours(settings);
  Configuration("get", locations.configurationFile.parent_path(), settings);
  if (options.intellisense) settings.Inteligente = *options.intellisense ? 1 : 0;

  const fs::path databaseFolder = options.database ? *options.database : locations.databaseFolder;
  // A database named on the command line brings its own Intellisense list.
  const fs::path intellisenseFile = options.database ? databaseFolder / kIntellisenseFile : locations.intellisenseFile;
  if (!CheckWordDatabasePresent(databaseFolder)) {
    TerminalHooks::PrintError("No puedo cargar bd ...");
    return kExitError;
  }
  WordDatabase database;
  TerminalHooks hooks;
  LoadWordDatabase(databaseFolder, database, hooks);
  LoadUserWords(options.database ? databaseFolder / kUserWordsFile : locations.userWordsFile, database);

  if (options.find) return RunFind(database, options);

  if (options.files.empty()) options.files.push_back("-");
  const bool colour = options.colour == Colour::Always || (options.colour == Colour::Auto && isatty(STDOUT_FILENO));

  CheckState state;
  Classifier classifier(database, settings, intellisenseFile, state);
  const std::unique_ptr<Suggester> suggester = options.suggest ? std::make_unique<Suggester>(database) : nullptr;
  CheckObserver quiet;
  bool anyMissing = false;
  for (const std::string& file : options.files) {
    std::optional<std::string> bytes = ReadInput(file);
    if (!bytes) {
      std::cerr << "velmara-check: cannot read '" << file << "'\n";
      return kExitError;
    }
    state.unheld.clear();
    CheckText(classifier, InputToWindows1252(*bytes, state.unheld), quiet, options.trace);
    anyMissing = anyMissing || state.MissingCount > 0;

    switch (options.format) {
      case cli::Format::Text: std::cout << cli::TextReport(state, settings, colour); break;
      case cli::Format::Tsv: std::cout << cli::TsvReport(state, suggester.get()); break;
      case cli::Format::Json: std::cout << cli::JsonReport(state, suggester.get()); break;
    }
    std::cout.flush();
    if (options.format == cli::Format::Text)
      TerminalHooks::PrintError(ResultMessage(state.CorrectedCount, state.MissingCount, CountWords(state.display)));
    if (options.format == cli::Format::Text && suggester) std::cerr << cli::SuggestionLines(state, *suggester);
  }
  return anyMissing ? kExitMissing : kExitClean;
}
