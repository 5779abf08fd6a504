#include "worddb/word_database.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "checker/characters.h"
#include "worddb/compiled_database.h"
#include "worddb/large_pages.h"
#include "worddb/word_list_edit.h"
#include "worddb/word_record.h"

namespace velmara {

namespace {

constexpr std::size_t kVerbPumpPeriod = 256;
constexpr std::size_t kDictionaryPumpPeriod = 256;
constexpr std::size_t kProperNamePumpPeriod = 1024;

// The whole file in one read, or nothing when it is not a readable regular file. Folders and
// special files are refused before opening: a pipe or a device could block or never end.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // Sized from the file system, but read to the end: the file may change under us.
  std::string bytes(std::filesystem::file_size(path, error), '\0');
  if (error) bytes.clear();
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  if (!in.eof()) {
    in.clear();
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
      bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
  }
  return bytes;
}

// The words of a word-list file, decoded block by block as the file is read, so the million
// records of the verb file never sit in memory twice. Nothing when the file cannot be read or
// its length is not a whole number of records.
std::optional<std::vector<std::string>> ReadWordListFile(const std::filesystem::path& path, std::size_t pumpPeriod,
                                                         LoadHooks& hooks) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::string> words;
  // Sized from the file system, but read to the end: the file may change under us.
  const std::uintmax_t expected = std::filesystem::file_size(path, error);
  if (!error) {
    // A malformed file is refused before any record is decoded or any message pumped.
    if (expected % kRecordSize != 0) return std::nullopt;
    ReserveInLargePages(words, static_cast<std::size_t>(expected / kRecordSize));
  }

  constexpr std::size_t kBlockRecords = 4096;
  std::vector<unsigned char> block(kBlockRecords * kRecordSize);
  std::size_t held = 0;  // bytes of an incomplete record carried to the next block
  char word[kMaxWordLength];
  for (;;) {
    in.read(reinterpret_cast<char*>(block.data() + held), static_cast<std::streamsize>(block.size() - held));
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return std::nullopt;
    held += got;
    const std::size_t records = held / kRecordSize;
    for (std::size_t r = 0; r < records; ++r) {
      words.emplace_back(word, DecodeWordRecordInto(block.data() + r * kRecordSize, word));
      if (pumpPeriod != 0 && words.size() % pumpPeriod == 0) hooks.PumpPendingMessages();
    }
    const std::size_t rest = held - records * kRecordSize;
    std::memmove(block.data(), block.data() + records * kRecordSize, rest);
    held = rest;
    if (got == 0 || in.eof()) break;
  }
  if (held != 0) return std::nullopt;
  return words;
}

}  // namespace

std::filesystem::path WordDatabaseFolder(const std::filesystem::path& programFolder) {
  return programFolder / kWordDatabaseFolderName;
}

bool PathExists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

bool WorthCaching(const std::filesystem::path& databaseFolder) {
  std::uintmax_t bytes = 0;
  for (const char* name : {kDictionaryFile, kVerbFile, kProperNameFile}) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(databaseFolder / name, error);
    if (!error) bytes += size;
  }
  return bytes >= 10000 * kRecordSize;
}

bool CheckWordDatabasePresent(const std::filesystem::path& databaseFolder) {
  if (CompiledAlone(databaseFolder)) return true;
  for (const char* name : {kProperNameFile, kVerbFile, kDictionaryFile, kFalsePositiveFile})
    if (!PathExists(databaseFolder / name)) return false;
  return true;
}

namespace {

bool LoadEditedWordList(const std::filesystem::path& databaseFolder, const std::string& fileName, WordList& list,
                        std::size_t pumpPeriod, LoadHooks& hooks, const WordListEdit& edit) {
  std::optional<std::vector<std::string>> words = ReadWordListFile(databaseFolder / fileName, pumpPeriod, hooks);
  // An unreadable file gets the same message as a malformed one: the list cannot be trusted
  // either way, and the user learns which file to look at.
  if (!words) {
    hooks.ShowMessageBox(std::string("Fichero con formato Erroneo ..") + "\r\n" + fileName);
    return false;
  }
  const bool edited = !edit || edit(fileName, *words);
  list.Assign(std::move(*words), hooks.Pumping());
  return edited;
}

// The lists of a folder that holds its compiled file alone. Refused, there is nothing to read
// instead: the user is told which file to look at, as for a damaged record file, and the
// database is left as it was.
bool UseCompiledAlone(const std::filesystem::path& databaseFolder, const std::filesystem::path& verifiedNote,
                      WordDatabase& database, LoadHooks& hooks) {
  const std::filesystem::path compiled = databaseFolder / kCompiledDatabaseFile;
  SourceFiles none;
  none.alone = true;
  const std::string refused =
      UseCompiledDatabase(compiled, none, verifiedNote, database, hooks.Pumping());
  if (!refused.empty()) {
    hooks.Note(compiled.string() + " " + refused + "; there are no record files to read instead");
    hooks.ShowMessageBox(std::string("Fichero con formato Erroneo ..") + "\r\n" + kCompiledDatabaseFile);
    return false;
  }
  // The false positives are a short text a user may edit; the copy compiled in is kept for a
  // folder without it.
  if (PathExists(databaseFolder / kFalsePositiveFile)) LoadFalsePositiveList(databaseFolder, database.falsePositives);
  return true;
}

}  // namespace

bool LoadWordList(const std::filesystem::path& databaseFolder, const std::string& fileName, WordList& list,
                  std::size_t pumpPeriod, LoadHooks& hooks) {
  return LoadEditedWordList(databaseFolder, fileName, list, pumpPeriod, hooks, {});
}

void LoadFalsePositiveList(const std::filesystem::path& databaseFolder, FalsePositiveList& list) {
  std::vector<std::string> entries(FalsePositiveList::kCapacity);
  list.count = 0;
  auto bytes = ReadWholeFile(databaseFolder / kFalsePositiveFile);
  if (bytes) {
    // Lines end with CR LF or with LF alone; the last line needs no end. An empty file still
    // counts one (empty) line, as the first line is read whether or not the file holds any.
    std::string_view rest = *bytes;
    std::int32_t count = 0;
    do {
      std::size_t end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (count < INT32_MAX) ++count;  // only a file of gigabytes could reach it
      if (static_cast<std::size_t>(count) <= FalsePositiveList::kCapacity) entries[count - 1] = LowerCase(line);
      rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    } while (!rest.empty());
    list.count = count;
  }
  list.entries.Assign(std::move(entries));
}

bool LoadWordDatabase(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks,
                      const std::filesystem::path& cacheFolder, const StoredIndexBuilder& buildIndex) {
  hooks.StartLoadingAnimation();
  const std::filesystem::path note = cacheFolder.empty() ? cacheFolder : cacheFolder / kVerifiedDatabasesFile;
  const std::filesystem::path compiled = databaseFolder / kCompiledDatabaseFile;
  const SourceFiles sources = RecordSources(databaseFolder);
  if (sources.alone) {
    const bool sound = UseCompiledAlone(databaseFolder, note, database, hooks);
    hooks.CloseLoadingAnimation();
    return sound;
  }
  const std::string refused =
      UseCompiledDatabase(compiled, sources, note, database, hooks.Pumping());
  if (refused != "absent" && !refused.empty())
    hooks.Note(compiled.string() + " " + refused + "; reading the record files instead");
  bool sound = true;
  if (refused.empty()) {
    hooks.PumpPendingMessages();
  } else {
    // A large database without a sound compiled file of its own (a user's) is compiled into the
    // cache folder at its first load and read from there while it matches its record files.
    const std::filesystem::path cached = cacheFolder.empty() || !WorthCaching(databaseFolder)
                                             ? std::filesystem::path()
                                             : cacheFolder / CachedDatabaseName(databaseFolder);
    sound = LoadCachedDatabase(cached, sources, note, database, buildIndex,
                               [&] { return LoadRecordFiles(databaseFolder, database, hooks); },
                               hooks.Pumping());
  }
  hooks.CloseLoadingAnimation();
  return sound;
}

bool LoadEditedRecordFiles(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks,
                           const WordListEdit& edit) {
  database.storage.reset();
  database.suggesterIndex = {};
  bool sound = LoadEditedWordList(databaseFolder, kVerbFile, database.verbs, kVerbPumpPeriod, hooks, edit);
  sound = LoadEditedWordList(databaseFolder, kDictionaryFile, database.dictionary, kDictionaryPumpPeriod, hooks,
                             edit) && sound;
  sound = LoadEditedWordList(databaseFolder, kProperNameFile, database.properNames, kProperNamePumpPeriod, hooks,
                             edit) && sound;
  LoadFalsePositiveList(databaseFolder, database.falsePositives);
  return sound;
}

bool LoadEditedCompiledLists(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks,
                             const WordListEdit& edit, const std::filesystem::path& verifiedNote) {
  WordDatabase base;
  if (!UseCompiledAlone(databaseFolder, verifiedNote, base, hooks)) return false;
  database.storage.reset();
  database.suggesterIndex = {};
  bool sound = true;
  const std::tuple<const char*, const WordList*, WordList*, std::size_t> lists[] = {
      {kVerbFile, &base.verbs, &database.verbs, kVerbPumpPeriod},
      {kDictionaryFile, &base.dictionary, &database.dictionary, kDictionaryPumpPeriod},
      {kProperNameFile, &base.properNames, &database.properNames, kProperNamePumpPeriod}};
  for (const auto& [name, from, to, pumpPeriod] : lists) {
    // Copied out a word at a time, the loading animation going on as it does while record files
    // are read.
    std::vector<std::string> words;
    words.reserve(from->Count());
    for (std::size_t i = 1; i <= from->Count(); ++i) {
      words.emplace_back(from->At(i));
      if (i % pumpPeriod == 0) hooks.PumpPendingMessages();
    }
    sound = (!edit || edit(name, words)) && sound;
    to->Assign(std::move(words), hooks.Pumping());
  }
  database.falsePositives.entries.Assign(base.falsePositives.entries.Words());
  database.falsePositives.count = base.falsePositives.count;
  return sound;
}

bool LoadRecordFiles(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks) {
  return LoadEditedRecordFiles(databaseFolder, database, hooks, {});
}

}  // namespace velmara
