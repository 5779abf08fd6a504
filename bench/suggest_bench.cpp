// velmara-suggest-bench: suggestions for misspelt words beside Hunspell, Nuspell and Aspell, in
// one run, on the same words, kind by kind (typical errors, words without their accents, a lost
// letter, words run together): how often the meant word comes first and among the first five,
// how many suggestions a second, the slowest one, and what the suggester costs in memory and time.
// For words without their accents velmara's list is what a writer sees: the checker's own
// correction first, then the suggestions.
//
//   velmara-suggest-bench --db DIR --misspellings TSV --dictionary AFF_WITHOUT_EXTENSION
//                         [--part control|ajuste|all] [--peers N] [--rounds N]

#include <aspell.h>
#include <time.h>
#include <hunspell/hunspell.hxx>
#include <nuspell/dictionary.hxx>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/configuration.h"
#include "checker/characters.h"
#include "checker/classify.h"
#include "checker/encoding.h"
#include "suggest/suggester.h"
#include "worddb/word_database.h"

namespace {

using Clock = std::chrono::steady_clock;
using velmara::Windows1252ToUtf8;

struct Options {
  std::string database, misspellings, dictionary, part = "control";
  std::size_t peers = 300;  // words the slow peers are timed and scored on
  int rounds = 3;
  bool misses = false;  // list the words velmara did not offer first
};

struct Pair {
  std::string written, meant, kind;  // UTF-8
};

// The kinds of the misspelling set, in the order they are printed, with their names in the table.
const std::pair<const char*, const char*> kKinds[] = {
    {"tipica", "typical errors"},
    {"tilde", "words without their accents (correction first, then suggestions)"},
    {"perdida", "a letter lost"},
    {"juntas", "words run together"},
};

struct Outcome {
  std::size_t first = 0, five = 0, words = 0;
  double seconds = 0, slowest = 0;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor time of this thread: the machine is shared, and a suggestion is work on one core.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Current resident memory of this process, in kB.
long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

std::vector<Pair> ReadPairs(const std::string& path, const std::string& part) {
  std::vector<Pair> pairs;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t a = line.find('\t'), b = line.find('\t', a + 1);
    if (a == std::string::npos || b == std::string::npos) continue;
    const std::size_t c = line.find('\t', b + 1);
    if (part != "all" && line.substr(b + 1, c - b - 1) != part) continue;
    pairs.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1),
                     c == std::string::npos ? "tipica" : line.substr(c + 1)});
  }
  return pairs;
}

// Scores and times one suggester over the pairs; `suggest` answers in UTF-8.
Outcome Measure(const std::vector<Pair>& pairs, std::size_t count,
                const std::function<std::vector<std::string>(const std::string&)>& suggest) {
  Outcome outcome;
  outcome.words = std::min(count, pairs.size());
  for (std::size_t i = 0; i < outcome.words; ++i) {
    const double start = ThreadSeconds();
    std::vector<std::string> offered = suggest(pairs[i].written);
    const double took = ThreadSeconds() - start;
    // A proper name offered with its capital is the meant word all the same.
    auto lower = [](const std::string& text) {
      return Windows1252ToUtf8(velmara::LowerCase(velmara::Utf8ToWindows1252(text)));
    };
    for (std::string& text : offered) text = lower(text);
    outcome.seconds += took;
    outcome.slowest = std::max(outcome.slowest, took);
    const auto found = std::find(offered.begin(), offered.end(), lower(pairs[i].meant));
    if (found == offered.begin() && found != offered.end()) ++outcome.first;
    if (found != offered.end() && found - offered.begin() < 5) ++outcome.five;
  }
  return outcome;
}

void Row(const char* name, const Outcome& o) {
  std::printf("%-10s %6zu %9.1f %% %9.1f %% %14.0f %12.2f\n", name, o.words, 100.0 * double(o.first) / double(o.words),
              100.0 * double(o.five) / double(o.words), double(o.words) / o.seconds, o.slowest * 1000.0);
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--db") options.database = value;
    else if (name == "--misspellings") options.misspellings = value;
    else if (name == "--dictionary") options.dictionary = value;
    else if (name == "--part") options.part = value;
    else if (name == "--peers") options.peers = std::stoul(value);
    else if (name == "--rounds") options.rounds = std::stoi(value);
    else if (name == "--misses") options.misses = value == "1";
    else return false;
  }
  return !options.database.empty() && !options.misspellings.empty() && !options.dictionary.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: velmara-suggest-bench --db DIR --misspellings TSV --dictionary PATH"
                 " [--part control|ajuste|all] [--peers N] [--rounds N] [--misses 1]\n";
    return 2;
  }
  const std::vector<Pair> pairs = ReadPairs(options.misspellings, options.part);
  if (pairs.empty()) {
    std::cerr << "velmara-suggest-bench: no misspellings in " << options.misspellings << "\n";
    return 2;
  }

  velmara::LoadHooks hooks;
  double loadSeconds = 1e100;
  for (int round = 0; round < options.rounds; ++round) {
    const Clock::time_point start = Clock::now();
    velmara::WordDatabase fresh;
    velmara::LoadWordDatabase(options.database, fresh, hooks);
    velmara::Suggester unused(fresh);  // built lazily: the load must not grow
    loadSeconds = std::min(loadSeconds, Seconds(Clock::now() - start));
  }
  auto database = std::make_unique<velmara::WordDatabase>();
  velmara::LoadWordDatabase(options.database, *database, hooks);
  velmara::Suggester suggester(*database);
  const long before = ResidentKilobytes();
  const Clock::time_point buildStart = Clock::now();
  suggester.Prepare();
  const double buildSeconds = Seconds(Clock::now() - buildStart);
  const long after = ResidentKilobytes();

  velmara::Settings settings;
  velmara::CheckState state;
  velmara::Classifier classifier(*database, settings, {}, state);
  auto ours = [&](const std::string& word) {
    std::vector<std::string> offered = suggester.Suggest(velmara::Utf8ToWindows1252(word), 10);
    for (std::string& text : offered) text = Windows1252ToUtf8(text);
    return offered;
  };
  // The checker's correction of the word, when it makes one, then the suggestions.
  auto corrected = [&](const std::string& word) {
    const std::string written = velmara::Utf8ToWindows1252(word);
    std::string correction = classifier.ClassifyWord(velmara::LowerCase(written));
    std::vector<std::string> offered;
    if (state.lastVerdict == velmara::Verdict::Corrected) offered.push_back(Windows1252ToUtf8(correction));
    for (std::string& text : ours(word))
      if (std::find(offered.begin(), offered.end(), text) == offered.end()) offered.push_back(std::move(text));
    return offered;
  };
  if (options.misses) {
    for (const Pair& pair : pairs) {
      const std::vector<std::string> offered = pair.kind == "tilde" ? corrected(pair.written) : ours(pair.written);
      auto lower = [](const std::string& text) {
        return Windows1252ToUtf8(velmara::LowerCase(velmara::Utf8ToWindows1252(text)));
      };
      if (!offered.empty() && lower(offered.front()) == lower(pair.meant)) continue;
      std::printf("%s %s -> %s:", pair.kind.c_str(), pair.written.c_str(), pair.meant.c_str());
      for (std::size_t i = 0; i < offered.size() && i < 5; ++i) std::printf(" | %s", offered[i].c_str());
      std::printf("\n");
    }
    return 0;
  }

  const std::string aff = options.dictionary + ".aff", dic = options.dictionary + ".dic";
  Hunspell hunspell(aff.c_str(), dic.c_str());
  auto hunspellSuggest = [&](const std::string& word) {
    std::vector<std::string> offered = hunspell.suggest(word);
    if (offered.size() > 10) offered.resize(10);
    return offered;
  };
  nuspell::Dictionary nuspellDictionary;
  nuspellDictionary.load_aff_dic(aff);
  auto nuspellSuggest = [&](const std::string& word) {
    std::vector<std::string> offered;
    nuspellDictionary.suggest(word, offered);
    if (offered.size() > 10) offered.resize(10);
    return offered;
  };
  AspellConfig* config = new_aspell_config();
  aspell_config_replace(config, "lang", "es");
  aspell_config_replace(config, "encoding", "utf-8");
  AspellCanHaveError* made = new_aspell_speller(config);
  delete_aspell_config(config);
  AspellSpeller* aspell = aspell_error_number(made) == 0 ? to_aspell_speller(made) : nullptr;
  if (aspell == nullptr) {
    std::fprintf(stderr, "velmara-suggest-bench: no Aspell: %s\n", aspell_error_message(made));
    delete_aspell_can_have_error(made);
  }
  auto aspellSuggest = [&](const std::string& word) {
    std::vector<std::string> offered;
    const AspellWordList* list = aspell_speller_suggest(aspell, word.c_str(), static_cast<int>(word.size()));
    AspellStringEnumeration* items = aspell_word_list_elements(list);
    while (const char* item = aspell_string_enumeration_next(items)) {
      if (offered.size() == 10) break;
      offered.emplace_back(item);
    }
    delete_aspell_string_enumeration(items);
    return offered;
  };

  std::printf("\nSuggestions for misspelt words (%s, part \"%s\")\n", options.misspellings.c_str(),
              options.part.c_str());
  std::printf("(speed and slowest in processor time of one thread)\n");
  for (const auto& [kind, title] : kKinds) {
    std::vector<Pair> ofKind;
    for (const Pair& pair : pairs)
      if (pair.kind == kind) ofKind.push_back(pair);
    if (ofKind.empty()) continue;
    const auto& velmaraSuggest = std::string_view(kind) == "tilde"
                                     ? std::function<std::vector<std::string>(const std::string&)>(corrected)
                                     : std::function<std::vector<std::string>(const std::string&)>(ours);
    // The best of several rounds, so a busy moment of the machine does not count.
    Outcome velmara = Measure(ofKind, ofKind.size(), velmaraSuggest);
    for (int round = 1; round < options.rounds; ++round) {
      const Outcome again = Measure(ofKind, ofKind.size(), velmaraSuggest);
      velmara.seconds = std::min(velmara.seconds, again.seconds);
      velmara.slowest = std::min(velmara.slowest, again.slowest);
    }
    std::printf("\n%s (\"%s\")\n", title, kind);
    std::printf("%-10s %6s %11s %11s %14s %12s\n", "", "words", "first", "first five", "suggestions/s",
                "slowest ms");
    Row("velmara", velmara);
    const std::size_t peers = std::min(options.peers, ofKind.size());
    std::printf("  the first %zu words of the same part, for all four:\n", peers);
    Row("velmara", Measure(ofKind, peers, velmaraSuggest));
    Row("Hunspell", Measure(ofKind, peers, hunspellSuggest));
    Row("Nuspell", Measure(ofKind, peers, nuspellSuggest));
    if (aspell != nullptr) Row("Aspell", Measure(ofKind, peers, aspellSuggest));
  }
  if (aspell != nullptr) delete_aspell_speller(aspell);
  std::printf("velmara suggester: index built on first use in %.2f s, adds %.1f MB resident; "
              "load with it %.3f s (unchanged: nothing is built at load)\n",
              buildSeconds, double(after - before) / 1024.0, loadSeconds);
  return 0;
}
