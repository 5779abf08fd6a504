// Words chosen to collide for the hash in use (the test knows the process's key, which nobody
// outside does) must not make the tables walk long runs of slots: a check or a load stays linear.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "checker/classification_memo.h"
#include "support/test_folder.h"
#include "suggest/intellisense.h"
#include "worddb/text_hash.h"
#include "worddb/text_index.h"
#include "worddb/word_list.h"

namespace velmara {
namespace {

// `count` distinct words of eight letters whose hash has the same lowest `bits` bits.
std::vector<std::string> CollidingWords(std::size_t count, int bits,
                                        const std::function<std::uint64_t(std::string_view)>& hash) {
  const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
  std::vector<std::string> words;
  std::string word(8, 'a');
  while (words.size() < count) {
    // The next word in alphabetical order.
    for (std::size_t i = word.size(); i-- > 0 && ++word[i] > 'z';) word[i] = 'a';
    if ((hash(word) & mask) == 0) words.push_back(word);
  }
  return words;
}

constexpr std::size_t kShortRunMost = 64;

TEST(HashFlooding, CollidingWordsKeepEveryRunShort) {
  // The word index and a word list over it: 1000 words that share their slot in a table of 4096.
  std::vector<std::string> words = CollidingWords(1000, 12, [](std::string_view w) { return HashText(w); });
  words.push_back(words[7]);  // a duplicate: its first position is the one found
  auto textOf = [&words](std::size_t position) -> std::string_view { return words[position - 1]; };
  TextIndex index;
  index.Reset(1500);
  for (std::size_t i = 0; i < words.size(); ++i) index.Insert(HashText(words[i]), i + 1, textOf);
  EXPECT_GE(index.Respreads(), 1u);
  EXPECT_LE(index.LongestProbe(), kShortRunMost);
  for (std::size_t i = 0; i + 1 < words.size(); ++i) ASSERT_EQ(index.Find(words[i], HashText(words[i]), textOf), i + 1);
  EXPECT_EQ(index.Find("zzzzzzzz", HashText("zzzzzzzz"), textOf), 0u);
  WordList list(words);
  EXPECT_EQ(list.Find(words.back()), 8u);
  EXPECT_EQ(list.Find(words[999]), 1000u);

  // The memory of classified words of a check: 600 words that share their slot in the table of
  // short words at every size it grows through.
  const std::vector<std::string> unknown =
      CollidingWords(600, 10, [](std::string_view w) { return ClassificationMemo::ShortWordHash(w); });
  testing::TestFolder folder;
  WordDatabase database;
  Settings settings;
  CheckState state;
  Classifier classifier(database, settings, folder.path() / kIntellisenseFile, state);
  ClassificationMemo memo(classifier, 2 * unknown.size());
  for (const std::string& word : unknown) {
    memo.Classify(word, word);
    EXPECT_LE(memo.LongestProbe(), kShortRunMost) << "after " << word;
  }
  for (const std::string& word : unknown) {
    TokenText token;
    token.assign(word);
    ASSERT_NE(memo.Recall(token).word, nullptr) << word;
  }
  EXPECT_EQ(state.MissingCount, 2 * static_cast<std::int32_t>(unknown.size()));
}

}  // namespace
}  // namespace velmara
