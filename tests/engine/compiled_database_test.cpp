#include "worddb/compiled_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "suggest/suggester.h"
#include "worddb/countries.h"
#include "support/fixture_database.h"
#include "support/generated_database.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;
using testing::WriteFixtureDatabase;

class NotingHooks : public LoadHooks {
 public:
  void ShowMessageBox(const std::string& text) override { messages.push_back(text); }
  void Note(const std::string& text) override { notes.push_back(text); }
  std::vector<std::string> messages, notes;
};

// Writes the compiled file of the database in `folder` as velmara-mkdb --compile does (the
// suggester's index left out on request: it is most of the time of a small one).
void Compile(const std::filesystem::path& folder, bool withSuggester = true) {
  SourceStamp stamp;
  ASSERT_TRUE(StampSources(folder, stamp));
  WordDatabase records;
  LoadHooks hooks;
  ASSERT_TRUE(LoadRecordFiles(folder, records, hooks));
  ASSERT_EQ(WriteCompiledDatabase(folder / kCompiledDatabaseFile, records, stamp,
                                  withSuggester ? Suggester(records).StoredIndex() : std::string()),
            "");
}

// Every element, every lookup of an element and of a few absent texts, and the counts.
void ExpectSameLists(const WordDatabase& stored, const WordDatabase& records, std::size_t step = 1) {
  const std::pair<const WordList*, const WordList*> lists[] = {
      {&stored.dictionary, &records.dictionary},
      {&stored.verbs, &records.verbs},
      {&stored.properNames, &records.properNames},
      {&stored.falsePositives.entries, &records.falsePositives.entries}};
  for (const auto& [a, b] : lists) {
    ASSERT_EQ(a->Count(), b->Count());
    for (std::size_t i = 1; i <= a->Count(); i += step) {
      ASSERT_EQ(a->At(i), b->At(i)) << i;
      ASSERT_EQ(a->Find(a->At(i)), b->Find(b->At(i))) << b->At(i);
    }
    for (const char* absent : {"", "zzzq", "casas", "camion", "\xF1"}) EXPECT_EQ(a->Find(absent), b->Find(absent));
  }
  EXPECT_EQ(stored.falsePositives.count, records.falsePositives.count);
}

// When the file was last written (the cache replaces a file by renaming a new one over it).
std::filesystem::file_time_type Written(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::last_write_time(file, error);
}

void FlipBit(const std::filesystem::path& file, std::uintmax_t at) {
  std::fstream io(file, std::ios::in | std::ios::out | std::ios::binary);
  io.seekg(static_cast<std::streamoff>(at));
  char byte = 0;
  io.get(byte);
  io.seekp(static_cast<std::streamoff>(at));
  io.put(static_cast<char>(byte ^ 0x10));
}

TEST(CompiledDatabase, AnswersExactlyAsTheRecordFilesAndSuggestsTheSame) {
  TestFolder folder;
  const auto db = folder.path() / "palabrasbd";
  WriteFixtureDatabase(db, {"casa", "", "cami\xF3n", "casa", "Perro", "adi\xF3s", "acci\xF3n"}, {"come", "comi\xF3", "come"},
                       {"Juan", "Mar\xED" "a"}, {"Wifi", "", "blog "});
  Compile(db);
  NotingHooks hooks;
  WordDatabase stored, records;
  ASSERT_TRUE(LoadWordDatabase(db, stored, hooks, folder.path() / "cache"));
  ASSERT_TRUE(stored.storage != nullptr && stored.dictionary.Stored() && !stored.suggesterIndex.empty());
  EXPECT_TRUE(hooks.notes.empty() && hooks.messages.empty());
  ASSERT_TRUE(LoadRecordFiles(db, records, hooks));
  ExpectSameLists(stored, records);
  const Suggester fromFile(stored), built(records);
  for (const char* word : {"camion", "Casa", "perrro", "comio", "accion", "maria", "wifi"})
    EXPECT_EQ(fromFile.Suggest(word), built.Suggest(word)) << word;

  // A file that cannot be written is said to be so.
  EXPECT_NE(WriteCompiledDatabase(folder.path() / "absent" / "x.vdb", records, SourceStamp{}, ""), "");
}

// A large database without a compiled file of its own is compiled into the cache at its first
// load (and read from there at once), read from there afterwards, and compiled again once its
// record files change.
TEST(CompiledDatabase, ADatabaseWithoutOneIsCompiledIntoTheCache) {
  TestFolder folder;
  const auto db = folder.path() / "palabrasbd";
  const auto cache = folder.path() / "cache";
  std::vector<std::string> many;
  for (int i = 0; i < 10000; ++i) many.push_back("palabra" + std::to_string(i));
  WriteFixtureDatabase(db, many, {"come"}, {"Juan"}, {"Wifi"});
  auto cachedFiles = [&cache] {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(cache, error))
      count += entry.path().extension() == ".vdb";
    return count;
  };
  const auto cached = cache / CachedDatabaseName(db);
  // From the fifth load on, the program can make the suggester's index: a copy without one is
  // made again, once.
  const StoredIndexBuilder index = [](const WordDatabase&, const std::function<void()>&) { return std::string(8, 'i'); };
  const bool compiled[] = {true, false, true, false, true, false};
  for (int load = 0; load < 6; ++load) {
    SCOPED_TRACE(load);
    if (load == 2) testing::WriteWordListFile(db / kVerbFile, {"coma"});  // same size, other word
    NotingHooks hooks;
    WordDatabase loaded, records;
    const auto before = Written(cached);
    ASSERT_TRUE(LoadWordDatabase(db, loaded, hooks, cache, load >= 4 ? index : StoredIndexBuilder()));
    EXPECT_EQ(Written(cached) != before, compiled[load]);
    EXPECT_EQ(loaded.suggesterIndex.size(), load >= 4 ? 8u : 0u);
    EXPECT_TRUE(loaded.storage != nullptr);
    EXPECT_EQ(cachedFiles(), 1u);
    EXPECT_TRUE(hooks.notes.empty());
    ASSERT_TRUE(LoadRecordFiles(db, records, hooks));
    ExpectSameLists(loaded, records, 37);
  }
}

// Another country is compiled into the cache at its first load, with the suggester's index, and
// read from there until the base's record files or any of the country's own files change; a
// damaged or foreign copy is compiled again, silently. Lists and suggestions are always those of
// the base's record files with the country's differences applied.
TEST(CompiledDatabase, ACountryIsCompiledIntoTheCacheAndStaysTrueToItsSources) {
  TestFolder folder;
  const auto base = folder.path() / "palabrasbd";
  const auto cache = folder.path() / "cache";
  std::vector<std::string> many{"ordenador"};
  for (int i = 0; i < 10000; ++i) many.push_back("palabra" + std::to_string(i));
  WriteFixtureDatabase(base, many, {"hab\xE1is", "hablar"}, {"Madrid"}, {"Wifi"});
  const std::string magic = kDifferencesMagic;
  auto entry = [](char kind, std::string_view word) {
    return std::string{kind, '\0', static_cast<char>(word.size())} + std::string(word);
  };
  folder.Write("paises/es_MX/diccionario.dif", magic + entry('-', "ordenador") + entry('+', "computadora"));
  folder.Write("paises/es_MX/verbos.dif", magic + entry('-', "hab\xE1is"));
  folder.Write("paises/es_MX/npropios.dif", magic + entry('+', "Jalisco"));
  folder.Write("paises/es_MX/Falsos Positivos.txt", "guey\r\n");
  for (const char* name : {"diccionario.dif", "verbos.dif", "npropios.dif"}) folder.Write(std::string("paises/es_AR/") + name, magic);
  folder.Write("paises/es_AR/Falsos Positivos.txt", "che\r\n");
  const auto mexico = folder.path() / "paises/es_MX";
  const auto cached = cache / CachedDatabaseName(base, mexico);

  const struct {
    const char* change;
    std::function<void()> make;
    bool compiled;
  } loads[] = {
      {"first load", [] {}, true},
      {"unchanged", [] {}, false},
      {"a difference changed, same size",
       [&] { folder.Write("paises/es_MX/diccionario.dif", magic + entry('-', "ordenador") + entry('+', "computadoro")); },
       true},
      {"the country's false positives", [&] { folder.Write("paises/es_MX/Falsos Positivos.txt", "wey\r\n"); }, true},
      {"a base record file, same size", [&] { testing::WriteWordListFile(base / kVerbFile, {"hab\xE1is", "hablan"}); }, true},
      {"unchanged again", [] {}, false},
      {"truncated", [&] { std::filesystem::resize_file(cached, std::filesystem::file_size(cached) / 2); }, true},
      {"another country's copy",
       [&] {
         WordDatabase argentina;
         LoadHooks quiet;
         ASSERT_TRUE(LoadCountryDatabase(base, folder.path() / "paises/es_AR", argentina, quiet, cache));
         std::filesystem::copy_file(cache / CachedDatabaseName(base, folder.path() / "paises/es_AR"), cached,
                                    std::filesystem::copy_options::overwrite_existing);
       },
       true},
  };
  for (const auto& load : loads) {
    SCOPED_TRACE(load.change);
    load.make();
    const auto before = Written(cached);
    NotingHooks hooks;
    WordDatabase loaded, records;
    ASSERT_TRUE(LoadCountryDatabase(base, mexico, loaded, hooks, cache, StoredSuggesterIndex));
    EXPECT_EQ(Written(cached) != before, load.compiled);
    EXPECT_TRUE(loaded.dictionary.Stored() && !loaded.suggesterIndex.empty());
    EXPECT_TRUE(hooks.notes.empty() && hooks.messages.empty());
    ASSERT_TRUE(LoadCountryDatabase(base, mexico, records, hooks));
    ASSERT_FALSE(records.dictionary.Stored());
    ExpectSameLists(loaded, records, 53);
    EXPECT_EQ(loaded.dictionary.Find("ordenador"), 0u);
    const Suggester fromFile(loaded), built(records);
    for (const char* word : {"computadra", "ordenadr", "palabra12x", "havlan", "jalisko", "gey"})
      EXPECT_EQ(fromFile.Suggest(word), built.Suggest(word)) << word;
  }
}

// Each damage is said once and the lists come from the record files, the same as without the
// compiled file. The first clean open leaves a note of it verified, so the damage below must be
// found although the file was sound once.
TEST(CompiledDatabase, DamagedForeignOrStaleFilesFallBackToTheRecordFiles) {
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path& db, const std::filesystem::path& file)> damage;
    const char* said;
  };
  const auto size = [](const std::filesystem::path& file) { return std::filesystem::file_size(file); };
  const Case cases[] = {
      {"truncated", [&](auto&, auto& file) { std::filesystem::resize_file(file, size(file) - 100); }, "truncated"},
      {"cut to its header", [&](auto&, auto& file) { std::filesystem::resize_file(file, 40); }, "truncated"},
      {"flipped bit in the header", [](auto&, auto& file) { FlipBit(file, 30); }, "damaged"},
      {"flipped bit in the section table", [](auto&, auto& file) { FlipBit(file, 130); }, "damaged"},
      {"flipped bit in the words", [&](auto&, auto& file) { FlipBit(file, size(file) / 2); }, "damaged"},
      {"flipped bit in the last byte", [&](auto&, auto& file) { FlipBit(file, size(file) - 1); }, "damaged"},
      {"other byte order",
       [](auto&, auto& file) {
         std::fstream io(file, std::ios::in | std::ios::out | std::ios::binary);
         io.seekp(12);
         io.write("\x01\x02\x03\x04", 4);
       },
       "other byte order"},
      {"not a database", [](auto&, auto& file) { std::ofstream(file, std::ios::trunc) << "hola, mundo"; }, "truncated"},
      {"stale: a list rewritten, same size",
       [](auto& db, auto&) { testing::WriteWordListFile(db / kDictionaryFile, {"cosa", "", "cami\xF3n", "casa"}); },
       "does not match"},
      {"stale: a false positive added",
       [](auto& db, auto&) { std::ofstream(db / kFalsePositiveFile, std::ios::app) << "selfie\r\n"; }, "does not match"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    const auto db = folder.path() / "palabrasbd";
    const auto cache = folder.path() / "cache";
    WriteFixtureDatabase(db, {"casa", "", "cami\xF3n", "casa"}, {"come"}, {"Juan"}, {"Wifi"});
    Compile(db, false);
    {
      WordDatabase sound;
      NotingHooks hooks;
      ASSERT_TRUE(LoadWordDatabase(db, sound, hooks, cache));
      ASSERT_TRUE(sound.storage != nullptr);
    }
    c.damage(db, db / kCompiledDatabaseFile);
    NotingHooks hooks;
    WordDatabase loaded, records;
    EXPECT_TRUE(LoadWordDatabase(db, loaded, hooks, cache));
    EXPECT_EQ(loaded.storage, nullptr);
    EXPECT_FALSE(loaded.dictionary.Stored());
    ASSERT_EQ(hooks.notes.size(), 1u);
    EXPECT_NE(hooks.notes[0].find(c.said), std::string::npos) << hooks.notes[0];
    EXPECT_TRUE(hooks.messages.empty());
    ASSERT_TRUE(LoadRecordFiles(db, records, hooks));
    ExpectSameLists(loaded, records);
  }
}

// A folder with the compiled file and no record files, as the package installs it: present, read
// from the compiled file as the record files it was made from would be read, its false positives
// taken from their text when that is there, another country built on it as on the record files.
// Damage cannot fall back on anything: it is said once, with the loader's message naming the file.
TEST(CompiledDatabase, AFileAloneStandsForItsRecordFiles) {
  TestFolder folder;
  const auto db = folder.path() / "palabrasbd";
  const auto withRecords = folder.path() / "records";
  const auto cache = folder.path() / "cache";
  const std::string magic = kDifferencesMagic;
  WriteFixtureDatabase(withRecords, {"casa", "", "cami\xF3n", "casa", "ordenador", "adi\xF3s"}, {"come", "hab\xE1is"},
                       {"Juan", "Madrid"}, {"Wifi", "blog"});
  folder.Write("paises/es_MX/diccionario.dif", magic + std::string{'-', '\0', 9} + "ordenador");
  for (const char* name : {"verbos.dif", "npropios.dif"}) folder.Write(std::string("paises/es_MX/") + name, magic);
  folder.Write("paises/es_MX/Falsos Positivos.txt", "guey\r\n");
  Compile(withRecords);
  std::filesystem::copy(withRecords, db);
  for (const char* name : {kDictionaryFile, kVerbFile, kProperNameFile}) std::filesystem::remove(db / name);
  WordDatabase records;
  LoadHooks quiet;
  ASSERT_TRUE(LoadRecordFiles(withRecords, records, quiet));

  EXPECT_TRUE(CompiledAlone(db) && CheckWordDatabasePresent(db));
  EXPECT_FALSE(CompiledAlone(withRecords));
  {
    NotingHooks hooks;
    WordDatabase alone;
    ASSERT_TRUE(LoadWordDatabase(db, alone, hooks, cache));
    EXPECT_TRUE(hooks.notes.empty() && hooks.messages.empty());
    ASSERT_TRUE(alone.dictionary.Stored() && !alone.suggesterIndex.empty());
    ExpectSameLists(alone, records);
    const Suggester fromFile(alone), built(records);
    for (const char* word : {"camion", "Casa", "comio", "madri", "wifi"}) EXPECT_EQ(fromFile.Suggest(word), built.Suggest(word));
  }
  {
    // Another country: the same lists as from the record files, compiled into the cache.
    WordDatabase fromAlone, fromRecords;
    ASSERT_TRUE(LoadCountryDatabase(db, folder.path() / "paises/es_MX", fromAlone, quiet, cache, StoredSuggesterIndex));
    std::filesystem::create_directory(withRecords / "paises");
    ASSERT_TRUE(LoadCountryDatabase(withRecords, folder.path() / "paises/es_MX", fromRecords, quiet));
    EXPECT_TRUE(std::filesystem::exists(cache / CachedDatabaseName(db, folder.path() / "paises/es_MX")));
    EXPECT_TRUE(fromAlone.dictionary.Stored() && !fromAlone.suggesterIndex.empty());
    EXPECT_EQ(fromAlone.dictionary.Find("ordenador"), 0u);
    EXPECT_NE(fromAlone.falsePositives.entries.Find("guey"), 0u);
    ExpectSameLists(fromAlone, fromRecords);
  }
  {
    // The false positives' text, edited, is read; gone, the compiled copy stands.
    std::ofstream(db / kFalsePositiveFile, std::ios::app) << "selfie\r\n";
    WordDatabase edited, without;
    ASSERT_TRUE(LoadWordDatabase(db, edited, quiet, cache));
    EXPECT_NE(edited.falsePositives.entries.Find("selfie"), 0u);
    EXPECT_EQ(edited.falsePositives.count, records.falsePositives.count + 1);
    std::filesystem::remove(db / kFalsePositiveFile);
    ASSERT_TRUE(LoadWordDatabase(db, without, quiet, cache));
    ExpectSameLists(without, records);
  }
  // One record file back: neither alone nor a whole database of record files.
  testing::WriteWordListFile(db / kVerbFile, {"come"});
  EXPECT_FALSE(CompiledAlone(db) || CheckWordDatabasePresent(db));
  std::filesystem::remove(db / kVerbFile);

  const std::pair<const char*, std::function<void(const std::filesystem::path&)>> damages[] = {
      {"truncated", [](const auto& file) { std::filesystem::resize_file(file, std::filesystem::file_size(file) - 64); }},
      {"damaged", [](const auto& file) { FlipBit(file, std::filesystem::file_size(file) / 3); }},
  };
  for (const auto& [said, damage] : damages) {
    SCOPED_TRACE(said);
    std::filesystem::copy_file(withRecords / kCompiledDatabaseFile, db / kCompiledDatabaseFile,
                               std::filesystem::copy_options::overwrite_existing);
    damage(db / kCompiledDatabaseFile);
    NotingHooks hooks;
    WordDatabase loaded;
    EXPECT_FALSE(LoadWordDatabase(db, loaded, hooks, cache));
    EXPECT_EQ(loaded.storage, nullptr);
    EXPECT_EQ(loaded.dictionary.Count(), 0u);
    ASSERT_EQ(hooks.notes.size(), 1u);
    EXPECT_NE(hooks.notes[0].find(said), std::string::npos) << hooks.notes[0];
    EXPECT_NE(hooks.notes[0].find("no record files"), std::string::npos) << hooks.notes[0];
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"Fichero con formato Erroneo ..\r\npalabras.vdb"});
    // Nor is a country built on it.
    NotingHooks countryHooks;
    EXPECT_FALSE(LoadCountryDatabase(db, folder.path() / "paises/es_MX", loaded, countryHooks, cache));
    EXPECT_EQ(countryHooks.messages.size(), 1u);
  }
}

// The generated database is read from its compiled file; every 97th word and a sample of
// suggestions must be what the record files give. Compiled again from the record files as a
// country is at its first start, with the index built and the file written a second and more,
// the loader's pump keeps coming (the loading animation never stands still) and the copy
// answers as the shipped file does.
TEST(CompiledDatabase, GeneratedDatabaseEqualsItsRecordFiles) {
  const WordDatabase* stored = testing::GeneratedDatabase();
  if (stored == nullptr) GTEST_SKIP() << "no generated word database";
  if (!stored->dictionary.Stored()) GTEST_SKIP() << "the generated word database has no compiled file";
  WordDatabase records;
  LoadHooks hooks;
  ASSERT_TRUE(LoadRecordFiles(VELMARA_GENERATED_DATABASE, records, hooks));
  ExpectSameLists(*stored, records, 97);

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Clock::time_point last = start;
  Clock::duration longest{};
  const std::function<void()> pump = [&] {
    const Clock::time_point now = Clock::now();
    longest = std::max(longest, now - last);
    last = now;
  };
  const Suggester built(records, pump);
  TestFolder folder;
  const std::filesystem::path copy = folder.path() / "copia.vdb";
  SourceStamp stamp;
  ASSERT_TRUE(StampSources(VELMARA_GENERATED_DATABASE, stamp));
  ASSERT_EQ(WriteCompiledDatabase(copy, records, stamp, built.StoredIndex(), pump), "");
  pump();
  // Unpumped, building the index alone was most of the time.
  EXPECT_LT(longest * 6, Clock::now() - start);

  WordDatabase recompiled;
  ASSERT_EQ(UseCompiledDatabase(copy, VELMARA_GENERATED_DATABASE, {}, recompiled), "");
  ExpectSameLists(recompiled, *stored, 97);
  const Suggester fromFile(*stored), fromCopy(recompiled);
  for (const char* word : {"camion", "exelente", "tanbien", "estava", "ninos", "informacon", "Madri", "aser"}) {
    EXPECT_EQ(fromFile.Suggest(word), built.Suggest(word)) << word;
    EXPECT_EQ(fromCopy.Suggest(word), built.Suggest(word)) << word;
  }
}

}  // namespace
}  // namespace velmara
