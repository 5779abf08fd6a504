#include "worddb/user_words.h"

#include <gtest/gtest.h>

#include "checker/classify.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

TEST(UserWords, ReadInEitherEncodingAndClassifiedAsFalsePositives) {
  testing::TestFolder folder;
  // UTF-8 and Windows-1252 lines, CR LF and LF, an empty line, capitals, no end on the last line.
  const auto file = folder.Write("Palabras del usuario.txt", "Cami\xC3\xB3nER\r\n\nBlogue\xE9\nCasa");
  WordDatabase database;
  database.dictionary = WordList({"casa"});
  LoadUserWords(file, database);
  EXPECT_EQ(database.userWords.Words(), (std::vector<std::string>{"cami\xF3ner", "blogue\xE9", "casa"}));

  Settings settings;
  CheckState state;
  Classifier classifier(database, settings, folder.path() / "Intellisense.txt", state);
  classifier.ClassifyWord("cami\xF3ner");
  EXPECT_EQ(state.lastVerdict, Verdict::FalsePositive);
  classifier.ClassifyWord("casa");  // the Dictionary comes first, as for the false positives
  EXPECT_EQ(state.lastVerdict, Verdict::Accepted);

  LoadUserWords(folder.path() / "nada.txt", database);  // no file: no words, no error
  EXPECT_EQ(database.userWords.Count(), 0u);
}

TEST(UserWords, AppendedAtOnceAfterALastLineWithoutEndAndRefusedWithAReason) {
  testing::TestFolder folder;
  const auto file = folder.Write("sub/Palabras del usuario.txt", "blog");
  EXPECT_EQ(AppendUserWord(file, "cami\xF3ner"), "");
  EXPECT_EQ(AppendUserWord(folder.path() / "nueva/carpeta/p.txt", "wifi"), "");  // folders made
  EXPECT_EQ(folder.Read("sub/Palabras del usuario.txt"), "blog\ncami\xC3\xB3ner\n");
  EXPECT_EQ(folder.Read("nueva/carpeta/p.txt"), "wifi\n");

  // A file where a folder should be, and a word that would break the line format.
  EXPECT_NE(AppendUserWord(file / "x.txt", "hola"), "");
  EXPECT_NE(AppendUserWord(file, "ho\nla"), "");
  EXPECT_EQ(folder.Read("sub/Palabras del usuario.txt"), "blog\ncami\xC3\xB3ner\n");
}

}  // namespace
}  // namespace velmara
