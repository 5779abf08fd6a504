#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "support/test_folder.h"
#include "worddb/word_database.h"

namespace velmara {
namespace {

using testing::TestFolder;

// Runs the builder with its output captured in the test folder; returns the exit status.
int RunMkdb(const TestFolder& folder, const std::string& arguments) {
  std::string command = std::string("'") + VELMARA_MKDB + "' " + arguments + " >'" +
                        (folder.path() / "out.txt").string() + "' 2>'" + (folder.path() / "err.txt").string() + "'";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> LoadList(const std::filesystem::path& folder, const char* name) {
  LoadHooks hooks;
  WordList list;
  EXPECT_TRUE(LoadWordList(folder, name, list, 256, hooks)) << name;
  return list.Words();
}

TEST(Mkdb, WritesTheGivenListsFromUtf8Lines) {
  TestFolder folder;
  auto dictionary = folder.Write("d.txt", "\xEF\xBB\xBF" "Casa\r\n\r\ncami\xC3\xB3n\n\xE2\x82\xAC\n  \nLast");
  auto names = folder.Write("n.txt", "\xC3\x81ngela\n");
  auto out = folder.path() / "db" / "palabrasbd";
  ASSERT_EQ(RunMkdb(folder, "--out '" + out.string() + "' --dictionary '" + dictionary.string() +
                                "' --proper-names '" + names.string() + "'"),
            0)
      << folder.Read("err.txt");
  EXPECT_EQ(LoadList(out, kDictionaryFile), (std::vector<std::string>{"casa", "cami\xF3n", "\x80", "last"}));
  EXPECT_EQ(LoadList(out, kProperNameFile), std::vector<std::string>{"\xE1ngela"});
  EXPECT_FALSE(PathExists(out / kVerbFile));
  EXPECT_EQ(folder.Read("out.txt"), "diccionario.log: 4 words\nnpropios.log: 1 words\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 2);  // no temporary left
}

TEST(Mkdb, ARefusedWordWritesNothingAndNamesEveryBadLine) {
  TestFolder folder;
  auto good = folder.Write("good.txt", "uno\n");
  auto bad = folder.Write("bad.txt", "bien\n" + std::string(41, 'a') + "\n" + std::string(40, 'a') +
                                         "\nnieve\xE2\x98\x83\n");
  auto out = folder.path() / "db";
  EXPECT_EQ(RunMkdb(folder, "--out '" + out.string() + "' --verbs '" + good.string() + "' --dictionary '" +
                                bad.string() + "'"),
            2);
  EXPECT_FALSE(PathExists(out));
  EXPECT_EQ(folder.Read("err.txt"), bad.string() + ":2: word longer than 40 characters\n" + bad.string() +
                                        ":4: character that Windows-1252 lacks\n");
}

TEST(Mkdb, BadArgumentsAndUnwritableFolders) {
  TestFolder folder;
  auto words = folder.Write("w.txt", "uno\n");
  EXPECT_EQ(RunMkdb(folder, "--help"), 0);
  EXPECT_NE(folder.Read("out.txt").find("--proper-names"), std::string::npos);
  EXPECT_EQ(RunMkdb(folder, "--verbs '" + words.string() + "'"), 2);  // no --out
  EXPECT_EQ(RunMkdb(folder, "--out x --colours y"), 2);
  EXPECT_EQ(RunMkdb(folder, "--out"), 2);
  EXPECT_EQ(RunMkdb(folder, "--out '" + (folder.path() / "db").string() + "' --verbs '" +
                                (folder.path() / "none.txt").string() + "'"),
            1);
  // The output folder's parent is a regular file.
  EXPECT_EQ(RunMkdb(folder, "--out '" + (words / "db").string() + "' --verbs '" + words.string() + "'"), 1);
}

}  // namespace
}  // namespace velmara
