#include "checker/enclitic.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(EncliticStem, LongestRecognisedEndingDecides) {
  EXPECT_EQ(EncliticStem("dime"), "di");
  EXPECT_EQ(EncliticStem("d\xE1melos"), "d\xE1");                     // os, then los, then melos
  EXPECT_EQ(EncliticStem("dici\xE9ndoselas"), "dici\xE9ndo");          // selas overwrites las
  EXPECT_EQ(EncliticStem("v\xE1monos"), "v\xE1mo");                    // os, then nos
  EXPECT_EQ(EncliticStem("d\xE1noslos"), "d\xE1");                     // the six-letter group
  EXPECT_EQ(EncliticStem("d\xE1telo"), "d\xE1");
  EXPECT_EQ(EncliticStem("vamos"), "vam");                             // "os" only excluded after d
}

TEST(EncliticStem, ExcludedShortEndingsLeaveNoStem) {
  EXPECT_EQ(EncliticStem("cantante"), "");
  EXPECT_EQ(EncliticStem("lavarse"), "");
  EXPECT_EQ(EncliticStem("cansados"), "");
  // The exclusion only blocks the two-letter ending: a longer one still counts.
  EXPECT_EQ(EncliticStem("lavarselas"), "lavar");
  EXPECT_EQ(EncliticStem("casa"), "");
}

TEST(EncliticStem, ShortWords) {
  EXPECT_EQ(EncliticStem("me"), "");
  EXPECT_EQ(EncliticStem("noslas"), "");
  EXPECT_EQ(EncliticStem("e"), "");
  EXPECT_EQ(EncliticStem(""), "");
  EXPECT_EQ(EncliticStem("Dime"), "Di");  // comparisons are exact; the caller lowercases
  EXPECT_EQ(EncliticStem("diME"), "");
}

}  // namespace
}  // namespace velmara
