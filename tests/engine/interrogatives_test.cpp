#include "checker/interrogatives.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(Interrogatives, PlainAndAccentedForms) {
  const std::pair<const char*, const char*> pairs[] = {
      {"que", "qu\xE9"},   {"quien", "qui\xE9n"}, {"como", "c\xF3mo"},     {"cuanto", "cu\xE1nto"},
      {"cual", "cu\xE1l"}, {"donde", "d\xF3nde"}, {"cuando", "cu\xE1ndo"},
  };
  for (const auto& [plain, accented] : pairs) {
    EXPECT_TRUE(IsPlainInterrogative(plain) && !IsAccentedInterrogative(plain)) << plain;
    EXPECT_TRUE(IsAccentedInterrogative(accented) && !IsPlainInterrogative(accented)) << accented;
    EXPECT_EQ(AccentInterrogative(plain), accented);
    EXPECT_EQ(AccentInterrogative(accented), "");
  }
  // Only the whole lowercased word counts.
  for (const char* other : {"quienes", "cuales", "Que", "QU\xC9", "qu", "", "porque"}) {
    EXPECT_FALSE(IsPlainInterrogative(other) || IsAccentedInterrogative(other)) << other;
    EXPECT_EQ(AccentInterrogative(other), "") << other;
  }
}

}  // namespace
}  // namespace velmara
