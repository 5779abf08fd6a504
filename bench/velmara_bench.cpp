// velmara-bench: the detector's speed beside Hunspell and Nuspell, in one run.
//
//   velmara-bench --db DIR --text FILE --dictionary AFF_WITHOUT_EXTENSION --check PATH
//                 [--large-text OUT] [--words N] [--rounds N]
//
// --text is a real Spanish text (UTF-8); it is repeated until it holds at least --words words
// (200000) and the large text is written to --large-text for the terminal programs. Every timing
// is the best of --rounds rounds (5), as the machine is shared.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <hunspell/hunspell.hxx>
#include <nuspell/dictionary.hxx>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/configuration.h"
#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/encoding.h"
#include "worddb/word_database.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace velmara;

namespace {

struct Options {
  fs::path database;
  fs::path text;
  fs::path dictionary;  // hunspell-es files without .aff / .dic
  fs::path check;       // velmara-check
  fs::path largeText = "texto-grande.txt";
  std::size_t words = 200000;
  int rounds = 5;
};

double Seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// Best wall time of `rounds` calls.
double BestOf(int rounds, const std::function<void()>& work) {
  double best = 1e100;
  for (int round = 0; round < rounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start));
  }
  return best;
}

std::string Grouped(double value) {
  std::string digits = std::to_string(static_cast<long long>(value + 0.5));
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Fixed(double value, int decimals) {
  std::ostringstream out;
  out.setf(std::ios::fixed);
  out.precision(decimals);
  out << value;
  return out.str();
}

// "VmHWM" of this process: the peak resident memory so far, in kB.
long PeakResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

std::string MachineName() {
  std::ifstream cpu("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpu, line))
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  return "unknown processor";
}

std::string Today() {
  std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

const std::vector<const char*>& DatabaseFiles() {
  static const std::vector<const char*> files = {kVerbFile, kDictionaryFile, kProperNameFile, kFalsePositiveFile};
  return files;
}

// Reads every database file into memory and lets it go: the floor a loader cannot beat.
std::size_t ReadDatabaseBytes(const fs::path& database) {
  std::size_t total = 0;
  for (const char* name : DatabaseFiles()) {
    std::FILE* file = std::fopen((database / name).c_str(), "rb");
    if (file == nullptr) continue;
    std::size_t size = fs::file_size(database / name);
    std::unique_ptr<char[]> bytes(new char[size + 1]);
    total += std::fread(bytes.get(), 1, size, file);
    std::fclose(file);
  }
  return total;
}

// Brings the files into the page cache through a small buffer, so the memory figure is the
// loader's alone.
void WarmPageCache(const fs::path& database) {
  std::vector<char> chunk(1 << 20);
  for (const char* name : DatabaseFiles()) {
    std::FILE* file = std::fopen((database / name).c_str(), "rb");
    if (file == nullptr) continue;
    while (std::fread(chunk.data(), 1, chunk.size(), file) == chunk.size()) {
    }
    std::fclose(file);
  }
}

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Wall time of one run of a program with its output thrown away; negative when it cannot run.
double RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  double seconds = Seconds(std::chrono::steady_clock::now() - start);
  // velmara-check ends with 1 when a word is missing; anything above is a failure.
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) return -1;
  return seconds;
}

bool SameResults(const CheckState& a, const CheckState& b) {
  if (a.correctedText != b.correctedText || a.CorrectedCount != b.CorrectedCount ||
      a.MissingCount != b.MissingCount || a.missingWords != b.missingWords || a.openQuestion != b.openQuestion ||
      a.result.size() != b.result.size())
    return false;
  for (std::size_t i = 0; i < a.result.size(); ++i)
    if (a.result[i].text != b.result[i].text || a.result[i].verdict != b.result[i].verdict) return false;
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i], value = argv[i + 1];
    if (name == "--db") options.database = value;
    else if (name == "--text") options.text = value;
    else if (name == "--dictionary") options.dictionary = value;
    else if (name == "--check") options.check = value;
    else if (name == "--large-text") options.largeText = value;
    else if (name == "--words") options.words = std::stoul(value);
    else if (name == "--rounds") options.rounds = std::max(1, std::stoi(value));
    else return false;
  }
  return argc % 2 == 1 && !options.database.empty() && !options.text.empty() && !options.dictionary.empty() &&
         !options.check.empty();
}

void Row(const std::string& label, const std::string& figure, const std::string& note = "") {
  std::printf("  %-36s %16s  %s\n", label.c_str(), figure.c_str(), note.c_str());
}

std::string Met(bool met) { return met ? "met" : "NOT MET"; }

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: velmara-bench --db DIR --text FILE --dictionary PATH --check PATH [--large-text OUT]"
                 " [--words N] [--rounds N]\n";
    return 2;
  }
  if (!CheckWordDatabasePresent(options.database)) {
    std::cerr << "velmara-bench: no word database in " << options.database << "\n";
    return 2;
  }
  std::printf("Detector Velmara benchmark, %s\n", Today().c_str());
  std::printf("Machine: %s, %ld cores; best of %d rounds for every timing\n\n", MachineName().c_str(),
              sysconf(_SC_NPROCESSORS_ONLN), options.rounds);

  // Memory first, in a process that has done nothing else yet. The compiled database is
  // verified once (its note kept in a folder of the bench), as at a user's first start.
  WarmPageCache(options.database);
  LoadHooks quietHooks;
  const fs::path cacheFolder = fs::temp_directory_path() / ("velmara-bench-cache-" + std::to_string(getpid()));
  auto database = std::make_unique<WordDatabase>();
  const auto firstStart = std::chrono::steady_clock::now();
  LoadWordDatabase(options.database, *database, quietHooks, cacheFolder);
  const double firstLoadSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - firstStart).count();
  const bool compiled = database->storage != nullptr;
  const long peakKilobytes = PeakResidentKilobytes();
  const std::size_t wordForms =
      database->dictionary.Count() + database->verbs.Count() + database->properNames.Count();

  // Load: the floor and the loader, side by side.
  std::size_t bytes = 0;
  double floorSeconds = 1e100, loadSeconds = 1e100, recordSeconds = 1e100;
  for (int round = 0; round < options.rounds; ++round) {
    floorSeconds = std::min(floorSeconds, BestOf(1, [&] { bytes = ReadDatabaseBytes(options.database); }));
    loadSeconds = std::min(loadSeconds, BestOf(1, [&] {
      WordDatabase fresh;
      LoadWordDatabase(options.database, fresh, quietHooks, cacheFolder);
    }));
    recordSeconds = std::min(recordSeconds, BestOf(1, [&] {
      WordDatabase fresh;
      LoadRecordFiles(options.database, fresh, quietHooks);
    }));
  }
  std::error_code ignored;
  fs::remove_all(cacheFolder, ignored);
  std::printf("Word database %s: %s forms in %s bytes\n", options.database.c_str(), Grouped(double(wordForms)).c_str(),
              Grouped(double(bytes)).c_str());
  std::printf("Load\n");
  Row("read the files' bytes (floor)", Fixed(floorSeconds, 3) + " s");
  Row("from the record files (as before)", Fixed(recordSeconds, 3) + " s",
      Fixed(recordSeconds / floorSeconds, 2) + "x the floor");
  Row(compiled ? "LoadWordDatabase (compiled file)" : "LoadWordDatabase (no compiled file!)",
      Fixed(loadSeconds * 1000, 2) + " ms",
      Fixed(100 * loadSeconds / recordSeconds, 1) + " % of the record files' (target at most 5 %: " +
          Met(loadSeconds <= 0.05 * recordSeconds) + ")");
  Row("  first start (file verified)", Fixed(firstLoadSeconds, 3) + " s");
  std::printf("Memory\n");
  Row("peak resident after load", Fixed(double(peakKilobytes) / 1024, 1) + " MB",
      "(target under 30 MB: " + Met(peakKilobytes < 30 * 1024) + ")");

  // The large text: the real text repeated.
  std::optional<std::string> baseUtf8 = ReadFile(options.text);
  if (!baseUtf8 || baseUtf8->empty()) {
    std::cerr << "velmara-bench: cannot read " << options.text << "\n";
    return 2;
  }
  const std::string base = InputToWindows1252(*baseUtf8);
  TokenList baseTokens;
  Tokenise(base, baseTokens);
  const std::size_t baseWords = CountWords(baseTokens);
  if (baseWords == 0) {
    std::cerr << "velmara-bench: " << options.text << " holds no word\n";
    return 2;
  }
  const std::size_t repeats = (options.words + baseWords - 1) / baseWords;
  std::string text;
  text.reserve(base.size() * repeats);
  for (std::size_t i = 0; i < repeats; ++i) text += base;
  {
    std::ofstream out(options.largeText, std::ios::binary);
    out << Windows1252ToUtf8(text);
  }

  Settings settings;
  SetFixedColours(settings);
  CheckState state;
  Classifier classifier(*database, settings, options.database / kIntellisenseFile, state);
  CheckObserver quiet;
  CheckText(classifier, text, quiet, std::nullopt);
  const std::size_t words = CountWords(state.source);
  std::printf("\nText %s repeated %zu times: %s words, %s tokens\n", options.text.c_str(), repeats,
              Grouped(double(words)).c_str(), Grouped(double(state.source.size())).c_str());

  // One first check each way, from the same starting state, must agree in every result.
  CheckState rememberedState, plainState;
  Classifier rememberedClassifier(*database, settings, options.database / kIntellisenseFile, rememberedState);
  Classifier plainClassifier(*database, settings, options.database / kIntellisenseFile, plainState);
  CheckText(rememberedClassifier, text, quiet, std::nullopt);
  const double plainSeconds = BestOf(1, [&] {
    CheckText(plainClassifier, text, quiet, std::nullopt, WordClassification::EveryOccurrence);
  });
  const bool same = SameResults(rememberedState, plainState);

  // The peers spell the same word tokens, in UTF-8.
  std::vector<std::string> utf8Words;
  utf8Words.reserve(words);
  for (const TokenEntry& token : state.source)
    if (!IsSeparator(token.text)) utf8Words.push_back(Windows1252ToUtf8(token.text));
  const std::string aff = options.dictionary.string() + ".aff";
  const std::string dic = options.dictionary.string() + ".dic";
  Hunspell hunspell(aff.c_str(), dic.c_str());
  nuspell::Dictionary nuspellDictionary;
  nuspellDictionary.load_aff_dic(aff);

  // Round by round, all four side by side, so a change in the machine's load touches them all.
  const std::string displayText = DisplayTextOf(text);
  const CharacterNameTable names = BuildCharacterNameTable();
  double checkSeconds = 1e100, runSeconds = 1e100, hunspellSeconds = 1e100, nuspellSeconds = 1e100;
  std::size_t hunspellCorrect = 0, nuspellCorrect = 0;
  for (int round = 0; round < options.rounds; ++round) {
    // The whole check: tokenising, then the run.
    checkSeconds = std::min(checkSeconds, BestOf(1, [&] { CheckText(classifier, text, quiet, std::nullopt); }));
    // The check run alone over freshly prepared tokens (result entries emptied, as a check leaves
    // them for the run), as the peers get the words already split.
    PrepareCheck(state, text);
    runSeconds = std::min(
        runSeconds, BestOf(1, [&] { CheckRun(classifier, displayText, names, quiet, std::nullopt); }));
    hunspellSeconds = std::min(hunspellSeconds, BestOf(1, [&] {
      hunspellCorrect = 0;
      for (const std::string& word : utf8Words) hunspellCorrect += hunspell.spell(word) ? 1 : 0;
    }));
    nuspellSeconds = std::min(nuspellSeconds, BestOf(1, [&] {
      nuspellCorrect = 0;
      for (const std::string& word : utf8Words) nuspellCorrect += nuspellDictionary.spell(word) ? 1 : 0;
    }));
  }

  const double ours = double(words) / runSeconds;
  const double oursWhole = double(words) / checkSeconds;
  const double hunspellRate = double(utf8Words.size()) / hunspellSeconds;
  const double nuspellRate = double(utf8Words.size()) / nuspellSeconds;
  std::printf("Check (words per second)\n");
  Row("Detector Velmara, check run", Grouped(ours),
      Fixed(runSeconds * 1000, 1) + " ms over the prepared tokens; " + Grouped(double(state.MissingCount)) +
          " missing, " + Grouped(double(state.CorrectedCount)) + " corrected");
  Row("Detector Velmara, tokenise and run", Grouped(oursWhole), Fixed(checkSeconds * 1000, 1) + " ms");
  Row("Hunspell spell", Grouped(hunspellRate),
      "check run " + Fixed(ours / hunspellRate, 1) + "x (target at least 10x: " + Met(ours >= 10 * hunspellRate) +
          "), with tokenising " + Fixed(oursWhole / hunspellRate, 1) + "x; " +
          Grouped(double(utf8Words.size() - hunspellCorrect)) + " rejected");
  Row("Nuspell spell", Grouped(nuspellRate),
      "check run " + Fixed(ours / nuspellRate, 1) + "x (target at least 5x: " + Met(ours >= 5 * nuspellRate) +
          "), with tokenising " + Fixed(oursWhole / nuspellRate, 1) + "x; " +
          Grouped(double(utf8Words.size() - nuspellCorrect)) + " rejected");
  Row("tokenise and run, every word classified", Grouped(double(words) / plainSeconds),
      std::string("results identical: ") + (same ? "yes" : "NO"));

  // The terminal programs end to end over the large text.
  const std::vector<std::string> checkCommand = {options.check.string(), "--db", options.database.string(),
                                                 "--color=never", options.largeText.string()};
  const std::vector<std::string> hunspellCommand = {"/usr/bin/hunspell", "-d", options.dictionary.string(), "-i",
                                                    "utf-8", "-l", options.largeText.string()};
  double checkProgram = 1e100, hunspellProgram = 1e100;
  for (int round = 0; round < std::max(1, options.rounds / 2 + 1); ++round) {
    checkProgram = std::min(checkProgram, RunProgram(checkCommand));
    hunspellProgram = std::min(hunspellProgram, RunProgram(hunspellCommand));
  }
  std::printf("Terminal programs over the large text (wall time)\n");
  Row("velmara-check", checkProgram < 0 ? "failed" : Fixed(checkProgram, 3) + " s");
  Row("hunspell -l", hunspellProgram < 0 ? "failed" : Fixed(hunspellProgram, 3) + " s",
      checkProgram > 0 && hunspellProgram > 0
          ? "velmara-check " + Fixed(hunspellProgram / checkProgram, 2) + "x as fast (target faster: " +
                Met(checkProgram < hunspellProgram) + ")"
          : "");
  return same ? 0 : 1;
}
