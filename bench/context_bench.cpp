// velmara-context-bench: how well the accent advice finds accents taken out of real prose, and
// what it costs.
//
//   velmara-context-bench --db DIR --text FILE [--dictionary /usr/share/hunspell/es_ES]
//                         [--threshold X] [--sweep] [--list N]
//
// The text (UTF-8, Debian prose the model was not trained on) is checked twice: as written
// (every advice there is a false alarm) and with the accent taken out of every word whose plain
// form is a word too (está → esta, él → el); there an advice is right when it gives the word
// back. Beside it: most-frequent-form alone. Then the whole check with and without the advice,
// beside Hunspell spelling the same words when its dictionary is given.

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "checker/accents.h"
#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/classify.h"
#include "checker/context.h"
#include "checker/encoding.h"
#include "worddb/word_database.h"

using namespace velmara;

namespace {

struct Figures {
  std::size_t words = 0, removed = 0, found = 0, wrong = 0, falseAlarms = 0, cleanAlarms = 0, cleanWords = 0;
  std::map<std::string, std::pair<int, int>> byWord;  // truth: found, missed
  std::map<std::string, int> alarms;                  // "written → advised"
};

bool IsOptional(const std::string& word) {
  for (const char* w : {"s\xF3lo", "\xE9ste", "\xE9sta", "\xE9stos", "\xE9stas", "\xE9se", "\xE9sa", "\xE9sos", "\xE9sas",
                        "aqu\xE9l", "aqu\xE9lla", "aqu\xE9llos", "aqu\xE9llas"})
    if (word == w) return true;
  return false;
}

bool Known(const WordDatabase& db, std::string_view word) {
  return FindInList(db.dictionary, word) > 0 || FindInList(db.verbs, word) > 0;
}

// The text with accents taken out where the plain word is a word too; `truth` holds, per token of
// the new text, the lower-case word as first written (empty where nothing was taken out).
std::string RemoveAccents(const WordDatabase& db, const std::string& text, std::vector<std::string>& truth) {
  TokenList tokens;
  Tokenise(text, tokens);
  std::string out;
  truth.assign(tokens.size(), std::string());
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string word = tokens[i].text.str();
    const std::string lower = LowerCase(word);
    if (!IsSeparator(word) && HasAccent(lower) && !IsOptional(lower) && Known(db, StripAccents(lower))) {
      truth[i] = lower;
      std::string plain = word;
      for (char& c : plain) {
        const auto at = std::string_view("\xE1\xE9\xED\xF3\xFA\xC1\xC9\xCD\xD3\xDA").find(c);
        if (at != std::string_view::npos) c = "aeiouAEIOU"[at];
      }
      out += plain;
    } else {
      out += word;
    }
  }
  return out;
}

void Measure(const WordDatabase& db, ContextAdvisor& advisor, const std::string& clean, const std::string& stripped,
             const std::vector<std::string>& truth, Figures& f) {
  const Settings settings;
  {
    CheckState state;
    Classifier classifier(db, settings, {}, state);
    CheckObserver quiet;
    CheckText(classifier, stripped, quiet, std::nullopt);
    const std::vector<Advice> advice = advisor.Advise(state);
    f.words = CountWords(state.source);
    for (std::size_t i = 0; i < truth.size(); ++i)
      if (!truth[i].empty()) ++f.removed;
    std::vector<bool> hit(truth.size(), false);
    for (const Advice& a : advice) {
      const std::string said = LowerCase(a.replacement);
      const std::string& meant = a.token < truth.size() ? truth[a.token] : std::string();
      if (!meant.empty() && said == meant) {
        ++f.found;
        hit[a.token] = true;
      } else {
        ++f.falseAlarms;
        if (!meant.empty()) ++f.wrong;
        ++f.alarms[LowerCase(state.source[a.token].text) + " \xBB " + said];
        if (std::getenv("CONTEXT_SAMPLES") != nullptr) {
          std::string around;
          for (std::size_t k = a.token >= 8 ? a.token - 8 : 0; k < std::min(state.source.size(), a.token + 9); ++k)
            around += k == a.token ? "[" + state.source[k].text.str() + "]" : state.source[k].text.str();
          std::fprintf(stderr, "%s -> %s\n", Windows1252ToUtf8(around).c_str(), Windows1252ToUtf8(said).c_str());
        }
      }
    }
    for (std::size_t i = 0; i < truth.size(); ++i) {
      if (truth[i].empty()) continue;
      auto& [found, missed] = f.byWord[truth[i]];
      (hit[i] ? found : missed) += 1;
    }
  }
  {
    CheckState state;
    Classifier classifier(db, settings, {}, state);
    CheckObserver quiet;
    CheckText(classifier, clean, quiet, std::nullopt);
    f.cleanAlarms = advisor.Advise(state).size();
    f.cleanWords = CountWords(state.source);
  }
}

void PrintRow(const char* name, const Figures& f) {
  std::printf("| %s | %zu | %zu | %.1f %% | %.2f | %.2f |\n", name, f.removed, f.found,
              f.removed ? 100.0 * static_cast<double>(f.found) / static_cast<double>(f.removed) : 0.0,
              1000.0 * static_cast<double>(f.falseAlarms) / static_cast<double>(std::max<std::size_t>(f.words, 1)),
              1000.0 * static_cast<double>(f.cleanAlarms) / static_cast<double>(std::max<std::size_t>(f.cleanWords, 1)));
}

template <typename F>
double Best(int rounds, F&& work) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  std::string db, textFile, dictionary, modelFile;
  double threshold = -1;
  bool sweep = false;
  int list = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--db") db = argv[i + 1];
    else if (arg == "--text") textFile = argv[i + 1];
    else if (arg == "--dictionary") dictionary = argv[i + 1];
    else if (arg == "--threshold") threshold = std::stod(argv[i + 1]);
    else if (arg == "--sweep") sweep = std::string(argv[i + 1]) == "1";
    else if (arg == "--list") list = std::stoi(argv[i + 1]);
    else if (arg == "--model") modelFile = argv[i + 1];
  }
  if (db.empty() || textFile.empty()) {
    std::cerr << "usage: velmara-context-bench --db DIR --text FILE [--dictionary PATH] [--threshold X]\n";
    return 2;
  }
  WordDatabase database;
  LoadHooks hooks;
  if (!LoadWordDatabase(db, database, hooks)) return 2;
  std::ifstream in(textFile, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string clean = Utf8ToWindows1252(buffer.str());
  std::vector<std::string> truth;
  const std::string stripped = RemoveAccents(database, clean, truth);

  // The built-in model, or one read from a file (UTF-8) while the model is being worked on.
  std::unique_ptr<ContextModel> fromFile;
  if (!modelFile.empty()) {
    std::ifstream modelIn(modelFile, std::ios::binary);
    std::stringstream modelText;
    modelText << modelIn.rdbuf();
    fromFile = std::make_unique<ContextModel>(Utf8ToWindows1252(modelText.str()));
  }
  const auto loadStart = std::chrono::steady_clock::now();
  const ContextModel& model = fromFile ? *fromFile : ContextModel::BuiltIn();
  const double load = std::chrono::duration<double>(std::chrono::steady_clock::now() - loadStart).count();

  ContextAdvisor advisor(database, model);
  if (threshold >= 0) advisor.SetThreshold(threshold);
  Figures advice, frequent;
  Measure(database, advisor, clean, stripped, truth, advice);
  ContextAdvisor baseline(database, model);
  baseline.SetFrequencyOnly(true);
  Measure(database, baseline, clean, stripped, truth, frequent);

  std::printf("Accent advice on %s: %zu words, %zu accents taken out; model of %zu counts, read in %.1f ms\n\n",
              textFile.c_str(), advice.words, advice.removed, model.size(), load * 1000);
  std::printf("| Method | Accents out | Given back | Recall | False alarms / 1,000 words | On the clean text |\n");
  std::printf("|---|---:|---:|---:|---:|---:|\n");
  PrintRow("Velmara (rules and counts)", advice);
  PrintRow("Most frequent form", frequent);
  if (sweep) {
    for (const double t : {0.5, 0.6, 0.7, 0.8, 0.85, 0.9, 0.95, 0.98, 0.99}) {
      ContextAdvisor swept(database, model);
      swept.SetThreshold(t);
      Figures f;
      Measure(database, swept, clean, stripped, truth, f);
      char name[32];
      std::snprintf(name, sizeof name, "threshold %.2f", t);
      PrintRow(name, f);
    }
  }
  if (list > 0) {
    std::vector<std::pair<int, std::string>> missed, alarms;
    for (const auto& [word, counts] : advice.byWord)
      missed.emplace_back(-counts.second, word + " " + std::to_string(counts.first) + "/" +
                                              std::to_string(counts.first + counts.second));
    for (const auto& [pair, count] : advice.alarms) alarms.emplace_back(-count, pair);
    std::sort(missed.begin(), missed.end());
    std::sort(alarms.begin(), alarms.end());
    std::printf("\nMost missed (found/taken out):");
    for (int k = 0; k < list && k < static_cast<int>(missed.size()); ++k)
      std::printf(" %s;", Windows1252ToUtf8(missed[static_cast<std::size_t>(k)].second).c_str());
    std::printf("\nFalse alarms:");
    for (int k = 0; k < list && k < static_cast<int>(alarms.size()); ++k)
      std::printf(" %s (%d);", Windows1252ToUtf8(alarms[static_cast<std::size_t>(k)].second).c_str(),
                  -alarms[static_cast<std::size_t>(k)].first);
    std::printf("\n");
  }

  // Speed: the whole check (tokens, classification, advice) over the text repeated.
  std::string large;
  while (large.size() < 4'000'000) large += stripped + "\n";
  const Settings settings;
  CheckState state;
  Classifier classifier(database, settings, {}, state);
  CheckObserver quiet;
  const double off = Best(3, [&] { CheckText(classifier, large, quiet, std::nullopt); });
  const std::size_t words = CountWords(state.source);
  const double advise = Best(3, [&] { state.advice = advisor.Advise(state); });
  const double on = off + advise;
  std::printf("\n| Whole check of %zu words | Seconds | Words a second |\n|---|---:|---:|\n", words);
  std::printf("| Advice off | %.3f | %.0f |\n", off, static_cast<double>(words) / off);
  std::printf("| Advice on (the advice alone: %.3f s) | %.3f | %.0f |\n", advise, on, static_cast<double>(words) / on);
  if (!dictionary.empty()) {
    Hunspell hunspell((dictionary + ".aff").c_str(), (dictionary + ".dic").c_str());
    TokenList tokens;
    Tokenise(large, tokens);
    std::vector<std::string> utf8;
    for (const TokenEntry& t : tokens)
      if (!IsSeparator(t.text)) utf8.push_back(Windows1252ToUtf8(t.text));
    std::size_t good = 0;
    const double spell = Best(3, [&] {
      for (const std::string& w : utf8) good += hunspell.spell(w) ? 1 : 0;
    });
    std::printf("| Hunspell spell, same words | %.3f | %.0f |\n", spell, static_cast<double>(utf8.size()) / spell);
    std::printf("\nThe whole check with advice is %.1f times as fast as Hunspell (target: at least 4).\n", spell / on);
  }
  return 0;
}
