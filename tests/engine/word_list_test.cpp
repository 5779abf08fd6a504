#include "worddb/word_list.h"

#include <gtest/gtest.h>

#include <random>

namespace velmara {
namespace {

std::size_t PlainScan(const std::vector<std::string>& words, std::string_view text) {
  for (std::size_t i = 0; i < words.size(); ++i)
    if (words[i] == text) return i + 1;
  return 0;
}

TEST(FindInList, AgreesWithAPlainScan) {
  std::vector<std::string> words = {"casa", "", "perro", "casa", "", "\xF1u", "perro", "a"};
  WordList list(words);
  for (std::string_view probe : {"casa", "", "perro", "\xF1u", "a", "gato", "Casa", "cas"})
    EXPECT_EQ(FindInList(list, probe), PlainScan(words, probe)) << probe;
  EXPECT_EQ(FindInList(WordList{}, ""), 0u);
}

TEST(FindInList, RandomListsWithDuplicates) {
  std::mt19937 random(7);
  std::vector<std::string> words;
  for (int i = 0; i < 2000; ++i) words.push_back(std::string(random() % 3, static_cast<char>('a' + random() % 3)));
  WordList list(words);
  WordList copy = list;  // the copy's index must view its own words
  for (int i = 0; i < 200; ++i) {
    std::string probe(random() % 4, static_cast<char>('a' + random() % 4));
    EXPECT_EQ(FindInList(list, probe), PlainScan(words, probe));
    EXPECT_EQ(FindInList(copy, probe), PlainScan(words, probe));
  }
}

}  // namespace
}  // namespace velmara
