#include "checker/tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velmara {
namespace {

// Lengths on both sides of what a token text holds in place.
const std::vector<std::size_t> kLengths = {0, 1, 7, 8, 14, 15, 16, 17, 40, kMaxTokenLength};

std::string Letters(std::size_t length, char first = 'a') {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(first + i % 26);
  return text;
}

TEST(TokenText, HoldsEveryLengthThroughAssignCopyAndMove) {
  for (std::size_t before : kLengths) {
    for (std::size_t after : kLengths) {
      SCOPED_TRACE(std::to_string(before) + " then " + std::to_string(after));
      const std::string first = Letters(before), second = Letters(after, 'k');
      TokenText text(first);
      EXPECT_EQ(text, first);
      EXPECT_EQ(text.size(), before);
      text = second;
      EXPECT_EQ(text, second);

      TokenText copy(text);
      TokenText moved(std::move(text));
      EXPECT_EQ(copy, second);
      EXPECT_EQ(moved, second);
      EXPECT_TRUE(text.empty());  // NOLINT: a moved-from text is empty and usable
      text = first;
      EXPECT_EQ(text, first);

      copy = moved;
      EXPECT_EQ(copy, second);
      TokenText target(first);
      target = std::move(moved);
      EXPECT_EQ(target, second);
    }
  }
}

// The tokeniser sets a short text as a block of sixteen bytes read from the source.
TEST(TokenText, SixteenByteAssignKeepsOnlyTheText) {
  const std::string source = Letters(40);
  for (std::size_t before : kLengths) {
    for (std::size_t length = 0; length <= 20; ++length) {
      TokenText text(Letters(before, 'm'));
      text.assign_sixteen(std::string_view(source).substr(3, length));
      EXPECT_EQ(text, source.substr(3, length)) << before << " then " << length;
    }
  }
}

// A text may be set from a part of itself, in place or on the heap.
TEST(TokenText, AssignFromItsOwnCharacters) {
  for (std::size_t length : kLengths) {
    const std::string whole = Letters(length);
    for (std::size_t from : {std::size_t{0}, std::size_t{1}, length / 2}) {
      if (from > length) continue;
      TokenText text(whole);
      text = text.view().substr(from);
      EXPECT_EQ(text, whole.substr(from)) << length << " from " << from;
    }
    TokenText text(whole);
    text = text;  // NOLINT: self-assignment
    EXPECT_EQ(text, whole);
  }
}

TEST(TokenText, ComparesAndReadsLikeAString) {
  const TokenText word("camión");
  EXPECT_TRUE(word == "camión");
  EXPECT_TRUE(word == std::string("camión"));
  EXPECT_TRUE(std::string_view("camión") == word);
  EXPECT_FALSE(word == TokenText("camion"));
  EXPECT_EQ(word.front(), 'c');
  EXPECT_EQ(word.find("ión"), 3u);
  EXPECT_EQ(TokenText(Letters(30)).back(), Letters(30).back());

  // A list of tokens grows and shrinks without losing a text.
  TokenList list;
  for (std::size_t i = 0; i < 1000; ++i) list.push_back({TokenText(Letters(i % 40)), Verdict::Missing});
  list.resize(500);
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].text, Letters(i % 40));
}

}  // namespace
}  // namespace velmara
