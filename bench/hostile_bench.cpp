// velmara-bench-hostile: what words chosen against the tables and a large Intellisense list cost,
// beside ordinary input, in one run.
//
//   velmara-bench-hostile --db DIR --text FILE [--words N] [--rounds N]
//
// The colliding words are made for the hash in use: this process knows its key, which nobody
// outside does, so they are the worst any text could hold. Every timing is the best of --rounds
// rounds (3).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/configuration.h"
#include "checker/check_run.h"
#include "checker/classification_memo.h"
#include "checker/encoding.h"
#include "worddb/text_hash.h"
#include "worddb/word_database.h"

namespace fs = std::filesystem;
using namespace velmara;

namespace {

double BestOf(int rounds, const std::function<void()>& work) {
  double best = 1e100;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void Row(const std::string& label, double seconds, const std::string& note = "") {
  std::printf("  %-44s %9.3f s  %s\n", label.c_str(), seconds, note.c_str());
}

std::string Ratio(double seconds, double against, double target) {
  char text[96];
  std::snprintf(text, sizeof text, "%.2fx (target at most %.0fx: %s)", seconds / against, target,
                seconds <= target * against ? "met" : "NOT MET");
  return text;
}

// Distinct words of eight letters in alphabetical order from `word`, each with the lowest `bits`
// bits of `hash` zero.
std::vector<std::string> CollidingWords(std::size_t count, int bits, std::string word,
                                        const std::function<std::uint64_t(std::string_view)>& hash) {
  const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
  std::vector<std::string> words;
  words.reserve(count);
  while (words.size() < count) {
    for (std::size_t i = word.size(); i-- > 0 && ++word[i] > 'z';) word[i] = 'a';
    if ((hash(word) & mask) == 0) words.push_back(word);
  }
  return words;
}

std::vector<std::string> RandomWords(std::size_t count) {
  std::mt19937_64 random(2026);
  std::vector<std::string> words(count, std::string(8, 'a'));
  for (auto& word : words)
    for (char& c : word) c = static_cast<char>('a' + random() % 26);
  return words;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const auto& word : words) {
    text += word;
    text += ' ';
  }
  return text;
}

double CheckSeconds(const WordDatabase& database, const Settings& settings, const fs::path& intellisense,
                    const std::string& text, int rounds) {
  return BestOf(rounds, [&] {
    CheckState state;
    Classifier classifier(database, settings, intellisense, state);
    CheckObserver quiet;
    CheckText(classifier, text, quiet, std::nullopt);
  });
}

}  // namespace

int main(int argc, char** argv) {
  fs::path databaseFolder, textFile;
  std::size_t count = 200000;
  int rounds = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--db") databaseFolder = value;
    else if (name == "--text") textFile = value;
    else if (name == "--words") count = std::stoul(value);
    else if (name == "--rounds") rounds = std::max(1, std::stoi(value));
  }
  if (databaseFolder.empty() || textFile.empty() || !CheckWordDatabasePresent(databaseFolder)) {
    std::cerr << "usage: velmara-bench-hostile --db DIR --text FILE [--words N] [--rounds N]\n";
    return 2;
  }
  LoadHooks quietHooks;
  WordDatabase database;
  LoadWordDatabase(databaseFolder, database, quietHooks);
  Settings settings;

  // Half the words share their slot in the memory of short words, half in the word indexes, at
  // every table size up to 4096 slots (in larger tables they crowd a few home slots).
  constexpr int kBits = 12;
  auto shortHash = [](std::string_view w) { return ClassificationMemo::ShortWordHash(w); };
  auto textHash = [](std::string_view w) { return HashText(w); };
  std::vector<std::string> colliding = CollidingWords(count / 2, kBits, "aaaaaaaa", shortHash);
  const std::vector<std::string> textColliding = CollidingWords(count - count / 2, kBits, "maaaaaaa", textHash);
  colliding.insert(colliding.end(), textColliding.begin(), textColliding.end());
  std::shuffle(colliding.begin(), colliding.end(), std::mt19937_64(7));
  const std::vector<std::string> random = RandomWords(count);

  std::printf("Hostile input: %zu words of eight letters, chosen to collide or at random; best of %d rounds\n",
              count, rounds);
  std::printf("Check of the words (every one distinct and unknown)\n");
  const fs::path noList = fs::temp_directory_path() / "velmara-bench-no-intellisense.txt";
  const double randomCheck = CheckSeconds(database, settings, noList, Joined(random), rounds);
  const double collidingCheck = CheckSeconds(database, settings, noList, Joined(colliding), rounds);
  Row("random words", randomCheck);
  Row("colliding words", collidingCheck, Ratio(collidingCheck, randomCheck, 3));

  std::printf("Word list of the words, indexed as a loaded list is\n");
  const std::vector<std::string> listColliding = CollidingWords(count, kBits, "saaaaaaa", textHash);
  const double randomLoad = BestOf(rounds, [&] { WordList list(random); });
  const double collidingLoad = BestOf(rounds, [&] { WordList list(listColliding); });
  Row("random words", randomLoad);
  Row("colliding words", collidingLoad, Ratio(collidingLoad, randomLoad, 3));

  // The real text checked with a large Intellisense list, the option on and off.
  std::ifstream in(textFile, std::ios::binary);
  const std::string text = InputToWindows1252(std::string(std::istreambuf_iterator<char>(in), {}));
  const fs::path listFile = fs::temp_directory_path() / "velmara-bench-Intellisense.txt";
  {
    std::ofstream out(listFile, std::ios::binary);
    for (int i = 0; i < 100000; ++i) out << "clave" << i << "|valor " << i << "\r\n";
  }
  // As a list nobody is editing: written a while ago.
  fs::last_write_time(listFile, fs::last_write_time(listFile) - std::chrono::minutes(1));
  std::printf("Check of %s with a 100,000-entry Intellisense list\n", textFile.filename().c_str());
  const double off = CheckSeconds(database, settings, listFile, text, rounds);
  settings.Inteligente = 1;
  const double on = CheckSeconds(database, settings, listFile, text, rounds);
  Row("option off", off);
  Row("option on", on, on < 1.0 ? "(target under 1 s: met)" : "(target under 1 s: NOT MET)");
  fs::remove(listFile);
  return 0;
}
