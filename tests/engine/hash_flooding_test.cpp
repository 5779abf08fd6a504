// Words chosen to collide for the hash in use (the test knows the process's key, which nobody
// outside does) must not make the tables walk long runs of slots: a check or a load stays linear.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

// The keyed hash is SipHash: the published answer for the key 00..0f and the message 00..0e
// (with the paper's 2-4 rounds; HashText runs the same code with 1-3). Words that differ only in
// their last byte, or only in length, never share a value, whatever their length.
TEST(HashFlooding, TheHashIsSipHash) {
  std::string message;
  for (char c = 0; c < 15; ++c) message += c;
  EXPECT_EQ((SipHash<2, 4>(HashKey{0x0706050403020100ull, 0x0F0E0D0C0B0A0908ull}, message)), 0xA129CA6149BE45E5ull);
  for (std::size_t length : {7u, 8u, 16u, 248u}) {
    const std::string word(length, 'a');
    EXPECT_NE(HashText(word), HashText(word + '\0')) << length;
    EXPECT_NE(HashText(word), HashText(word.substr(0, length - 1) + 'b')) << length;
  }
  // The table of short words hashes them packed, in as many blocks as HashText takes.
  const std::string letters = "abcdefgh\xE1\xE9\xED\xF3\xFA\xF1\xFC\xE7";
  for (std::size_t length = 0; length <= 16; ++length)
    EXPECT_EQ(ClassificationMemo::ShortWordHash(letters.substr(0, length)), HashText(letters.substr(0, length))) << length;
  // Words that share one value under a multiply-and-shift hash whatever its key: each pair of
  // 8-byte blocks is "aaaaaaaa aaaaaaaa" or "aaaaaaa\xE1 aaaaeaa\xE1", whose differences (the top
  // bit, then the top bit and bit 34) cancel through one round. Six pairs make 64 such words.
  std::vector<std::uint64_t> values;
  for (unsigned choice = 0; choice < 64; ++choice) {
    std::string word;
    for (unsigned pair = 0; pair < 6; ++pair)
      word += (choice >> pair & 1) != 0 ? "aaaaaaa\xE1" "aaaaeaa\xE1" : "aaaaaaaa" "aaaaaaaa";
    values.push_back(HashText(word + "aaaaaaaa"));
  }
  std::sort(values.begin(), values.end());
  EXPECT_EQ(std::unique(values.begin(), values.end()), values.end());
}

// Any number of distinct words keeps the memory of classified words within its bound, and a word
// met again after it was emptied is classified as before.
TEST(HashFlooding, TheMemoryOfClassifiedWordsStaysBounded) {
  testing::TestFolder folder;
  WordDatabase database;
  database.dictionary = WordList({"hola"});
  Settings settings;
  CheckState state;
  Classifier classifier(database, settings, folder.path() / kIntellisenseFile, state);
  ClassificationMemo memo(classifier, 300000);
  memo.Classify("hola", "hola");
  std::string word = "aaaaaa";
  for (int i = 0; i < 200000; ++i) {
    for (std::size_t k = word.size(); k-- > 0 && ++word[k] > 'z';) word[k] = 'a';
    memo.Classify(word, word);
    ASSERT_LE(memo.Remembered(), ClassificationMemo::kRememberedMost);
  }
  EXPECT_EQ(memo.Classify("hola", "hola"), "hola");
  EXPECT_EQ(state.lastVerdict, Verdict::Accepted);
  EXPECT_EQ(state.MissingCount, 200000);
}

}  // namespace
}  // namespace velmara
