#include "worddb/word_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fixture_database.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;
using testing::WriteFixtureDatabase;
using testing::WriteWordListFile;

// Records every hook call in order, so tests see messages, pumps and the animation.
class RecordingHooks : public LoadHooks {
 public:
  void PumpPendingMessages() override { events.push_back("pump"); }
  void StartLoadingAnimation() override { events.push_back("start"); }
  void CloseLoadingAnimation() override { events.push_back("close"); }
  void ShowMessageBox(const std::string& text) override { events.push_back("message:" + text); }

  std::size_t Pumps() const { return static_cast<std::size_t>(std::count(events.begin(), events.end(), "pump")); }
  std::vector<std::string> events;
};

std::vector<std::string> Words(const WordList& list) { return list.Words(); }

TEST(WordDatabasePresence, FoldersCountAndAnyMissingFileFails) {
  TestFolder folder;
  auto database = WordDatabaseFolder(folder.path());
  EXPECT_EQ(database, folder.path() / "palabrasbd");
  EXPECT_FALSE(CheckWordDatabasePresent(database));

  WriteFixtureDatabase(database, {"casa"}, {"come"}, {"juan"}, {"wifi"});
  EXPECT_TRUE(CheckWordDatabasePresent(database));

  for (const char* name : {kProperNameFile, kVerbFile, kDictionaryFile, kFalsePositiveFile}) {
    auto path = database / name;
    std::filesystem::rename(path, database / "aside");
    EXPECT_FALSE(CheckWordDatabasePresent(database)) << name;
    std::filesystem::create_directory(path);  // a folder of that name counts as present
    EXPECT_TRUE(CheckWordDatabasePresent(database)) << name;
    std::filesystem::remove(path);
    std::filesystem::rename(database / "aside", path);
  }
  EXPECT_TRUE(PathExists(database));
  EXPECT_FALSE(PathExists(database / "nada" / "x"));
}

// A list is replaced by the file's words in file order, lowercased, with duplicates and empty
// words; an empty file gives an empty list, without a message.
TEST(LoadWordList, KeepsFileOrderDuplicatesAndEmptyWords) {
  using Texts = std::vector<std::string>;
  const std::pair<Texts, Texts> cases[] = {
      {{"Casa", "", "perro", "casa", "  ", "\xD1U"}, {"casa", "", "perro", "casa", "", "\xF1u"}},
      {{}, {}},
  };
  TestFolder folder;
  for (const auto& [written, read] : cases) {
    WriteWordListFile(folder.path() / "w.log", written);
    RecordingHooks hooks;
    WordList list({"old"});
    EXPECT_TRUE(LoadWordList(folder.path(), "w.log", list, 256, hooks));
    EXPECT_EQ(Words(list), read);
    EXPECT_EQ(FindInList(list, ""), read.empty() ? 0u : 2u);
    EXPECT_TRUE(hooks.events.empty());
  }
}

TEST(LoadWordList, PumpsOnceEveryPeriodOfRecords) {
  TestFolder folder;
  WriteWordListFile(folder.path() / "w.log", std::vector<std::string>(1024 + 1023, "a"));
  const std::pair<std::size_t, std::size_t> cases[] = {{256, 7}, {1024, 1}, {0, 0}};
  for (const auto& [period, pumps] : cases) {
    RecordingHooks hooks;
    WordList list;
    ASSERT_TRUE(LoadWordList(folder.path(), "w.log", list, period, hooks));
    EXPECT_EQ(hooks.Pumps(), pumps) << period;
    EXPECT_EQ(list.Count(), 2047u);
  }
}

// The loader reads the file in blocks of records; a long list must come out whole and in order.
TEST(LoadWordList, ListsLongerThanAReadBlockKeepEveryWordInOrder) {
  TestFolder folder;
  std::vector<std::string> words;
  for (int i = 0; i < 9000; ++i) {
    std::string word;
    for (int n = i; n > 0 || word.empty(); n /= 26) word += static_cast<char>('a' + n % 26);
    words.push_back(i % 1000 == 999 ? words[i - 500] : word);  // duplicates keep their first index
  }
  WriteWordListFile(folder.path() / "w.log", words);
  RecordingHooks hooks;
  WordList list;
  ASSERT_TRUE(LoadWordList(folder.path(), "w.log", list, 256, hooks));
  ASSERT_EQ(Words(list), words);
  EXPECT_EQ(hooks.Pumps(), 9000u / 256);
  for (std::size_t index : {1u, 4095u, 4096u, 4097u, 8000u, 8192u, 8193u, 9000u}) {
    const std::size_t first = std::find(words.begin(), words.end(), words[index - 1]) - words.begin() + 1;
    EXPECT_EQ(FindInList(list, words[index - 1]), first) << index;
  }
}

TEST(LoadWordList, UnusableFilesShowTheMessageAndKeepTheList) {
  TestFolder folder;
  folder.Write("odd.log", std::string(150, '\0'));
  folder.Write("short.log", std::string(99, '\0'));
  std::filesystem::create_directory(folder.path() / "folder.log");
  folder.Write("file", "x");
  for (const char* name : {"odd.log", "short.log", "folder.log", "missing.log", "file/inside.log"}) {
    RecordingHooks hooks;
    WordList list({"antes", "ya"});
    EXPECT_FALSE(LoadWordList(folder.path(), name, list, 256, hooks)) << name;
    EXPECT_EQ(hooks.events, (std::vector<std::string>{std::string("message:Fichero con formato Erroneo ..\r\n") + name}));
    EXPECT_EQ(Words(list), (std::vector<std::string>{"antes", "ya"})) << name;
  }
}

FalsePositiveList LoadFalsePositives(const TestFolder& folder, const std::string& text) {
  folder.Write(kFalsePositiveFile, text);
  FalsePositiveList list;
  LoadFalsePositiveList(folder.path(), list);
  return list;
}

TEST(LoadFalsePositiveList, CountsLinesWhateverTheirEnds) {
  TestFolder folder;
  struct Case {
    std::string text;
    std::int32_t count;
    std::vector<std::string> firstEntries;
  };
  const std::vector<Case> cases = {
      {"", 1, {"", ""}},
      {"Wifi\r\n", 1, {"wifi", ""}},
      {"Wifi", 1, {"wifi", ""}},
      {"Wifi\r\nBlog", 2, {"wifi", "blog"}},
      {"Wifi\nBlog\n", 2, {"wifi", "blog"}},
      {"\r\n\r\n", 2, {"", ""}},
      {"blog \r\nWi\rfi\r\n", 2, {"blog ", "wi\rfi"}},
      {"\xC1RBOL\r\n", 1, {"\xE1rbol", ""}},
  };
  for (const auto& c : cases) {
    auto list = LoadFalsePositives(folder, c.text);
    EXPECT_EQ(list.count, c.count) << c.text;
    ASSERT_EQ(list.entries.Count(), FalsePositiveList::kCapacity);
    EXPECT_EQ(list.entries.At(1), c.firstEntries[0]) << c.text;
    EXPECT_EQ(list.entries.At(2), c.firstEntries[1]) << c.text;
    EXPECT_EQ(list.entries.At(FalsePositiveList::kCapacity), "");
  }
}

TEST(LoadFalsePositiveList, KeepsTheFirst1500LinesAndCountsAll) {
  TestFolder folder;
  std::string text;
  for (int i = 1; i <= 1600; ++i) text += "P" + std::to_string(i) + "\r\n";
  auto list = LoadFalsePositives(folder, text);
  EXPECT_EQ(list.count, 1600);
  ASSERT_EQ(list.entries.Count(), 1500u);
  EXPECT_EQ(list.entries.At(1), "p1");
  EXPECT_EQ(list.entries.At(1500), "p1500");
  EXPECT_EQ(FindInList(list.entries, "p1501"), 0u);
}

TEST(LoadFalsePositiveList, UnopenableFileLeavesAnEmptyTable) {
  TestFolder folder;
  FalsePositiveList list;
  list.count = 7;
  LoadFalsePositiveList(folder.path(), list);  // no file
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(list.entries.Count(), FalsePositiveList::kCapacity);

  std::filesystem::create_directory(folder.path() / kFalsePositiveFile);
  LoadFalsePositiveList(folder.path(), list);
  EXPECT_EQ(list.count, 0);
  EXPECT_EQ(FindInList(list.entries, ""), 1u);
}

TEST(LoadWordDatabase, LoadsEveryListBetweenTheAnimationHooks) {
  TestFolder folder;
  auto database = WordDatabaseFolder(folder.path());
  WriteFixtureDatabase(database, std::vector<std::string>(300, "casa"), std::vector<std::string>(256, "como"),
                       std::vector<std::string>(1024, "Juan"), {"Wifi"});
  RecordingHooks hooks;
  WordDatabase words;
  LoadWordDatabase(database, words, hooks);
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"start", "pump", "pump", "pump", "close"}));
  EXPECT_EQ(words.verbs.Count(), 256u);
  EXPECT_EQ(words.dictionary.Count(), 300u);
  EXPECT_EQ(words.properNames.At(1024), "juan");
  EXPECT_EQ(words.falsePositives.count, 1);
  EXPECT_EQ(words.falsePositives.entries.At(1), "wifi");
}

TEST(LoadWordDatabase, ABrokenFileDoesNotStopTheOthers) {
  TestFolder folder;
  auto database = WordDatabaseFolder(folder.path());
  WriteFixtureDatabase(database, {"casa"}, {"come"}, {"Ana"}, {"blog"});
  folder.Write("palabrasbd/verbos.log", std::string(150, '\0'));
  RecordingHooks hooks;
  WordDatabase words;
  LoadWordDatabase(database, words, hooks);
  EXPECT_EQ(hooks.events,
            (std::vector<std::string>{"start", "message:Fichero con formato Erroneo ..\r\nverbos.log", "close"}));
  EXPECT_EQ(words.verbs.Count(), 0u);
  EXPECT_EQ(Words(words.dictionary), std::vector<std::string>{"casa"});
  EXPECT_EQ(Words(words.properNames), std::vector<std::string>{"ana"});
  EXPECT_EQ(words.falsePositives.entries.At(1), "blog");
}

}  // namespace
}  // namespace velmara
