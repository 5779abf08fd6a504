#include "checker/enclitic.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(EncliticStem, LongestRecognisedEndingDecides) {
  EXPECT_EQ(EncliticStem("dime"), "di");
  EXPECT_EQ(EncliticStem("d\xE1melos"), "d\xE1");             // os, then los, then melos
  EXPECT_EQ(EncliticStem("dici\xE9ndoselas"), "dici\xE9ndo");  // selas overwrites las
  EXPECT_EQ(EncliticStem("v\xE1monos"), "v\xE1mo");            // os, then nos
  EXPECT_EQ(EncliticStem("d\xE1noslos"), "d\xE1");
  EXPECT_EQ(EncliticStem("vamos"), "vam");  // "os" is only excluded after d
  EXPECT_EQ(EncliticStem("lavarselas"), "lavar");  // the "rse" exclusion blocks only "se"
}

TEST(EncliticStem, NoStem) {
  for (const char* word : {"cantante", "lavarse", "cansados", "casa", "me", "noslas", "e", "", "diME"})
    EXPECT_EQ(EncliticStem(word), "") << word;
}

}  // namespace
}  // namespace velmara
