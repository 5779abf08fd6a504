#include "tools/about_statistics.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

namespace velmara {
namespace {

using velmara::testing::TestFolder;

std::string Lines(int count, const char* ending) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "clave" + std::to_string(i) + "|valor" + ending;
  return text;
}

TEST(CountNonEmptyLines, CountsTheEntriesOfAnIntellisenseFile) {
  TestFolder folder;
  // 1234 entries with 3 empty lines among them, written the way the program appends (CR LF).
  std::string text = Lines(600, "\r\n") + "\r\n" + Lines(600, "\r\n") + "\r\n\r\n" + Lines(34, "\r\n");
  EXPECT_EQ(CountNonEmptyLines(folder.Write("Intellisense.txt", text)), 1234);
  EXPECT_EQ(CountNonEmptyLines(folder.path() / "missing.txt"), 0);
}

TEST(AboutStatisticsLines, ShowTheCountsOfTheLists) {
  WordDatabase database;
  database.dictionary.Assign({"a", "b", "c"});
  database.verbs.Assign({"amar", "temer"});
  database.properNames.Assign({});
  database.falsePositives.entries.Assign(std::vector<std::string>(FalsePositiveList::kCapacity));
  database.falsePositives.count = 25;
  auto lines = AboutStatisticsLines(database, 1234);
  EXPECT_EQ(lines[0], "Diccionario: [ali-] 3 palabras");
  EXPECT_EQ(lines[1], "Verbos: [desen-] 2 palabras");
  EXPECT_EQ(lines[2], "Nombres propios: 0 palabras");
  EXPECT_EQ(lines[3], "Falsos positivos: 25 palabras; max. 1500");
  EXPECT_EQ(lines[4], "Intellisense: 1234 palabras");

  // More lines than the table holds: the count read is shown, beside the fixed limit.
  database.falsePositives.count = 1600;
  EXPECT_EQ(AboutStatisticsLines(database, 0)[3], "Falsos positivos: 1600 palabras; max. 1500");
}

}  // namespace
}  // namespace velmara
