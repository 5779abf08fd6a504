#include "app/bibliography.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker/encoding.h"

namespace velmara {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

TEST(BibliographyText, OpensWithTheHeadingAndListsOneEntryPerWordList) {
  std::vector<std::string> lines = Lines(BibliographyText());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Este programa se basa en la siguiente bibliograf\xED" "a: ");
  EXPECT_EQ(lines[1], "");

  // Each entry starts after an empty line, in the order of the lists.
  std::vector<std::string> heads;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i)
    if (lines[i].empty() && !lines[i + 1].empty()) heads.push_back(lines[i + 1]);
  ASSERT_EQ(heads.size(), 5u);  // four entries, then the closing sentences
  EXPECT_EQ(heads[0].rfind("Diccionario : ", 0), 0u);
  EXPECT_EQ(heads[1].rfind("Verbos : ", 0), 0u);
  EXPECT_EQ(heads[2].rfind("Nombres propios : ", 0), 0u);
  EXPECT_EQ(heads[3].rfind("Falsos positivos : ", 0), 0u);
}

TEST(BibliographyText, NamesTheRealSourcesAndClosesWithTheSixSentences) {
  std::string text = BibliographyText();
  EXPECT_NE(text.find("hunspell-es"), std::string::npos);
  EXPECT_NE(text.find("Santiago Bosio"), std::string::npos);
  EXPECT_NE(text.find("Lista propia"), std::string::npos);

  std::vector<std::string> lines = Lines(text);
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[lines.size() - 7], "");
  EXPECT_EQ(lines[lines.size() - 2],
            "Este programa es para ayudar a la detecci\xF3n de faltas graves de ortograf\xED" "a.");
  EXPECT_EQ(lines.back(), "El autor se ha basado en esta bibliograf\xED" "a para crear el programa.");
}

TEST(BibliographyText, IsWindows1252NotUtf8) {
  std::string text = BibliographyText();
  EXPECT_FALSE(IsValidUtf8(text));  // accented letters are single bytes
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(text)), text);
}

}  // namespace
}  // namespace velmara
