#pragma once
// The word database: the three word lists and the false-positive list, loaded once from the
// word-database folder ("palabrasbd" inside the program folder).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "worddb/word_list.h"

namespace velmara {

inline constexpr const char* kWordDatabaseFolderName = "palabrasbd";
inline constexpr const char* kDictionaryFile = "diccionario.log";
inline constexpr const char* kVerbFile = "verbos.log";
inline constexpr const char* kProperNameFile = "npropios.log";
inline constexpr const char* kFalsePositiveFile = "Falsos Positivos.txt";
inline constexpr const char* kIntellisenseFile = "Intellisense.txt";

// A fixed table of 1500 entries (empty where no line filled them) and the number of lines read,
// which can be larger than the table.
struct FalsePositiveList {
  static constexpr std::size_t kCapacity = 1500;
  WordList entries;  // always kCapacity elements once loaded
  std::int32_t count = 0;
};

struct WordDatabase {
  WordList dictionary;
  WordList verbs;
  WordList properNames;
  FalsePositiveList falsePositives;
  // The user's own accepted words (see user_words.h), lowercased; classified like false positives.
  WordList userWords;
  // Loaded from the compiled database (compiled_database.h): the mapped file the stored lists
  // read, and the suggester's index in it (empty when the lists came from the record files).
  std::shared_ptr<const void> storage;
  std::string_view suggesterIndex;
};

// What the loader asks of the screen. A headless program keeps the empty bodies.
class LoadHooks {
 public:
  virtual ~LoadHooks() = default;
  virtual void PumpPendingMessages() {}
  // PumpPendingMessages as a callback, for the long steps that take one.
  std::function<void()> Pumping() {
    return [this] { PumpPendingMessages(); };
  }
  virtual void StartLoadingAnimation() {}
  virtual void CloseLoadingAnimation() {}
  // Text in Windows-1252; title "Programador", an OK button, topmost.
  virtual void ShowMessageBox(const std::string& text) { (void)text; }
  // A remark for whoever runs the program (English, UTF-8), not a question: the compiled
  // database was refused and the record files are read instead.
  virtual void Note(const std::string& text) { (void)text; }
};

// The stored form of the suggester's index over a loaded database, for a compiled file to carry
// (the suggester makes it; the word database only keeps it). Empty: none. The second argument is
// to be called every few milliseconds of the build, so the loading animation goes on.
using StoredIndexBuilder = std::function<std::string(const WordDatabase&, const std::function<void()>&)>;

std::filesystem::path WordDatabaseFolder(const std::filesystem::path& programFolder);

// True when the file system reports the path (a file or a folder).
bool PathExists(const std::filesystem::path& path);

// Tests "npropios.log", "verbos.log", "diccionario.log" and "Falsos Positivos.txt" in that order;
// a folder that holds the compiled database and none of the three record files (CompiledAlone)
// is present too.
bool CheckWordDatabasePresent(const std::filesystem::path& databaseFolder);

// Loads one word-list file of the database folder into `list`. A file whose length is not a
// multiple of 100 (or that cannot be read) shows "Fichero con formato Erroneo .." CR LF + name,
// leaves the list as it was and returns false.
bool LoadWordList(const std::filesystem::path& databaseFolder, const std::string& fileName, WordList& list,
                  std::size_t pumpPeriod, LoadHooks& hooks);

void LoadFalsePositiveList(const std::filesystem::path& databaseFolder, FalsePositiveList& list);

// Verbs, dictionary, proper names, false positives, with the loading animation around them.
// False when a word list was damaged or unreadable (its message shown, the list left empty); the
// desktop program goes on either way, a script's caller may want to know.
//
// The lists come from the compiled database beside the record files when it is sound and
// matches them; otherwise (said once through hooks.Note when it is there but refused) from the
// record files. A folder without record files has only its compiled database to trust: refused,
// it is said through hooks.Note and the loader's message, and the database stays as it was.
// `cacheFolder`, when given, keeps the note of compiled databases found sound, so an unchanged one
// is not read through again at the next start, and the compiled copy of a large database that has
// none of its own (written at its first load with the suggester's index from `buildIndex`, used
// while it matches).
bool LoadWordDatabase(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks,
                      const std::filesystem::path& cacheFolder = {}, const StoredIndexBuilder& buildIndex = {});
// The same from the record files and "Falsos Positivos.txt" alone (what the compiled database is
// made from), without the animation.
bool LoadRecordFiles(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks);

}  // namespace velmara
