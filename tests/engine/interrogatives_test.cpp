#include "checker/interrogatives.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(Interrogatives, EveryPlainFormHasItsAccentedPartner) {
  const std::pair<const char*, const char*> pairs[] = {
      {"que", "qu\xE9"},   {"quien", "qui\xE9n"}, {"como", "c\xF3mo"},     {"cuanto", "cu\xE1nto"},
      {"cual", "cu\xE1l"}, {"donde", "d\xF3nde"}, {"cuando", "cu\xE1ndo"},
  };
  for (const auto& [plain, accented] : pairs) {
    EXPECT_TRUE(IsPlainInterrogative(plain)) << plain;
    EXPECT_FALSE(IsAccentedInterrogative(plain)) << plain;
    EXPECT_TRUE(IsAccentedInterrogative(accented)) << accented;
    EXPECT_FALSE(IsPlainInterrogative(accented)) << accented;
    EXPECT_EQ(AccentInterrogative(plain), accented);
    EXPECT_EQ(AccentInterrogative(accented), "");
  }
}

TEST(Interrogatives, OnlyTheWholeLowercasedWordCounts) {
  for (const char* other : {"quienes", "cuales", "cuanta", "Que", "qu", "", "dondequiera", "porque"}) {
    EXPECT_FALSE(IsPlainInterrogative(other)) << other;
    EXPECT_FALSE(IsAccentedInterrogative(other)) << other;
    EXPECT_EQ(AccentInterrogative(other), "") << other;
  }
  EXPECT_FALSE(IsAccentedInterrogative("QU\xC9"));
}

}  // namespace
}  // namespace velmara
