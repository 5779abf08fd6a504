#include "suggest/intellisense.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>

#include "support/file_size_limit.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;

// The last matching line wins; a capitalised key never matches a word; a bare word is its own key
// with an empty replacement; no word is empty (neither the empty line nor "|vacío" stands for
// one). Any line end ends a line, the last line needs none, empty lines are no entries, and
// character 26 ends the file.
TEST(IntellisenseLookup, LinesKeysAndLineEnds) {
  const std::string repeated = "aver|a ver\r\notra|cosa\r\naver|haber\r\n";
  const std::string fields = "Aver|a ver\r\nola|hola|x\r\nsolo\r\n\r\n|vac\xEDo\r\n";
  const std::string lineFeeds = "uno|1\ndos|2\n\ntres|3\n", returns = "\r\nuno|1\rdos|2\r\r\n";
  const std::string endMark = "uno|1\r\n\x1A" "dos|2\r\n";
  const struct {
    std::string text;
    const char *key, *line;
  } cases[] = {
      {repeated, "aver", "aver|haber"}, {repeated, "ave", ""},        {fields, "aver", ""},
      {fields, "ola", "ola|hola|x"},    {fields, "solo", "solo"},     {fields, "", ""},
      {"uno|1\r\ndos|2", "dos", "dos|2"}, {lineFeeds, "uno", "uno|1"}, {returns, "dos", "dos|2"},
      {endMark, "dos", ""},
  };
  TestFolder folder;
  for (const auto& c : cases) {
    const auto file = folder.Write("Intellisense.txt", c.text);
    EXPECT_EQ(IntellisenseFindLine(file, c.key), c.line) << ::testing::PrintToString(c.text) << " " << c.key;
    EXPECT_EQ(IntellisenseHasKey(file, c.key), *c.line != '\0') << ::testing::PrintToString(c.text) << " " << c.key;
  }
  EXPECT_EQ(IntellisenseSecondField("ola|hola|x"), "hola");
  EXPECT_EQ(IntellisenseSecondField("solo"), "");
  for (const auto& [text, count] : {std::pair{lineFeeds, 3}, std::pair{returns, 2}, std::pair{endMark, 1}}) {
    EXPECT_EQ(IntellisenseCountEntries(folder.Write("Intellisense.txt", text)), count) << ::testing::PrintToString(text);
  }
}

TEST(IntellisenseReading, LargeFileIsReadWhole) {
  TestFolder folder;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "clave" + std::to_string(i) + "|valor\r\n";
  auto file = folder.Write("Intellisense.txt", text);
  EXPECT_EQ(IntellisenseCountEntries(file), 20000);
  EXPECT_TRUE(IntellisenseHasKey(file, "clave19999"));
}

TEST(IntellisenseReading, MissingOrUnreadableFileIsAnEmptyList) {
  TestFolder folder;
  for (const auto& file : {folder.path() / "missing.txt", folder.path()}) {
    EXPECT_FALSE(IntellisenseHasKey(file, "aver"));
    EXPECT_EQ(IntellisenseFindLine(file, "aver"), "");
    EXPECT_EQ(IntellisenseCountEntries(file), 0);
  }
}

// Sets the file's times a minute back, as a list that nobody has touched during the check.
void Age(const std::filesystem::path& file) {
  timespec times[2];
  ::clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= 60;
  times[1] = times[0];
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

TEST(IntellisenseList, EveryLookupSeesTheFileAsItIsAndAnUnchangedFileIsReadOnce) {
  TestFolder folder;
  const auto file = folder.path() / "Intellisense.txt";
  IntellisenseList list(file);
  EXPECT_EQ(list.FindLine("aver"), nullptr);  // no file yet

  folder.Write("Intellisense.txt", "aver|a ver\r\nsolo\r\n|x\r\naver|haber\r\n");
  ASSERT_NE(list.FindLine("aver"), nullptr);
  EXPECT_EQ(*list.FindLine("aver"), "aver|haber");
  EXPECT_EQ(*list.FindLine("solo"), "solo");
  EXPECT_EQ(list.FindLine(""), nullptr);
  EXPECT_EQ(list.FindLine("ave"), nullptr);

  // An edit of the same size moments later, in place: the same inode, perhaps the same times.
  {
    std::FILE* out = std::fopen(file.c_str(), "r+b");
    ASSERT_NE(out, nullptr);
    std::fseek(out, -7, SEEK_END);
    std::fputs("hxber", out);
    std::fclose(out);
  }
  EXPECT_EQ(*list.FindLine("aver"), "aver|hxber");

  // A list that stood still is read once for any number of lookups, and is read again when it
  // changes: an appended entry, a file put in its place, a removed file.
  Age(file);
  EXPECT_EQ(*list.FindLine("aver"), "aver|hxber");
  const std::size_t reads = list.Reads();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(list.FindLine("nada"), nullptr);
  EXPECT_EQ(list.Reads(), reads);
  ASSERT_TRUE(IntellisenseAppend(file, "nada|algo"));
  EXPECT_EQ(*list.FindLine("nada"), "nada|algo");
  folder.Write("otro.txt", "aver|otra vez\r\n");
  Age(folder.path() / "otro.txt");
  std::filesystem::rename(folder.path() / "otro.txt", file);
  EXPECT_EQ(*list.FindLine("aver"), "aver|otra vez");
  EXPECT_EQ(list.FindLine("nada"), nullptr);
  std::filesystem::remove(file);
  EXPECT_EQ(list.FindLine("aver"), nullptr);
}

TEST(IntellisenseAppend, CreatesTheFileAndEndsEachLine) {
  TestFolder folder;
  auto file = folder.path() / "Intellisense.txt";
  EXPECT_TRUE(IntellisenseAppend(file, "aver|a ver"));
  EXPECT_TRUE(IntellisenseAppend(file, "aver|haber"));
  EXPECT_EQ(folder.Read("Intellisense.txt"), "aver|a ver\r\naver|haber\r\n");
  // A hand-edited last line without a line end is not glued to the new entry.
  auto unterminated = folder.Write("b.txt", "uno|1");
  EXPECT_TRUE(IntellisenseAppend(unterminated, "dos|2"));
  EXPECT_EQ(folder.Read("b.txt"), "uno|1\r\ndos|2\r\n");
}

TEST(IntellisenseAppend, RefusesWhatItCannotStore) {
  TestFolder folder;
  auto file = folder.path() / "Intellisense.txt";
  for (const char* line : {"aver|a\r\nver", "aver|a\nver", "aver|a\x1A"}) EXPECT_FALSE(IntellisenseAppend(file, line));
  EXPECT_FALSE(std::filesystem::exists(file));
  auto notAFolder = folder.Write("file", "x");
  EXPECT_FALSE(IntellisenseAppend(notAFolder / "Intellisense.txt", "aver|a ver"));
  EXPECT_FALSE(IntellisenseAppend(folder.path(), "aver|a ver"));  // a folder, not a file
  EXPECT_FALSE(IntellisenseAppend("/dev/full", "aver|a ver"));    // disk full
}

TEST(IntellisenseAppend, AFailedAppendLeavesTheListAsItWas) {
  TestFolder folder;
  const std::string before = "aver|a ver\r\n";
  auto file = folder.Write("Intellisense.txt", before);
  // The disk fills up in the middle of the entry: no half entry stays behind.
  {
    testing::FileSizeLimit limit(before.size() + 4);
    EXPECT_FALSE(IntellisenseAppend(file, "ola|hola"));
  }
  EXPECT_EQ(folder.Read("Intellisense.txt"), before);
  EXPECT_FALSE(IntellisenseHasKey(file, "ola"));
  EXPECT_TRUE(IntellisenseAppend(file, "ola|hola"));
  EXPECT_EQ(IntellisenseFindLine(file, "ola"), "ola|hola");

  // Behind an end-of-file character the entry would never be read: the append fails instead.
  const std::string marked = "aver|a ver\r\n\x1A";
  file = folder.Write("marked.txt", marked);
  EXPECT_FALSE(IntellisenseAppend(file, "ola|hola"));
  EXPECT_EQ(folder.Read("marked.txt"), marked);
}

TEST(IntellisenseAppend, ReadOnlyFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  TestFolder folder;
  ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
  EXPECT_FALSE(IntellisenseAppend(folder.path() / "Intellisense.txt", "aver|a ver"));
}

}  // namespace
}  // namespace velmara
