#include "app/result_texts.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

TEST(ResultTexts, TimeAndDifficulty) {
  EXPECT_EQ(TimeText(3), "Ha tardado 3 seg.");
  EXPECT_EQ(DifficultyText(11, 2), "5.5 car./pal.");
  EXPECT_EQ(DifficultyText(10, 2), "5 car./pal.");
  EXPECT_EQ(DifficultyText(1, 2), "0.5 car./pal.");
  EXPECT_EQ(DifficultyText(20, 3), "6.67 car./pal.");   // rounded, not cut
  EXPECT_EQ(DifficultyText(1999, 200), "10 car./pal.");  // 9.995 rounds to a whole number
  EXPECT_EQ(DifficultyText(17, 0), "0 car./pal.");
}

TEST(ResultTexts, Percentage) {
  EXPECT_EQ(PercentageText(1, 8), "12,50 %");
  EXPECT_EQ(PercentageText(8, 8), "100,00 %");
  EXPECT_EQ(PercentageText(1, 200), "0,50 %");
  EXPECT_EQ(PercentageText(2, 3), "66,67 %");
  EXPECT_EQ(PercentageText(1, 20000), "0,01 %");  // 0.005 rounds away from zero
  EXPECT_EQ(PercentageText(3, 0), "0,00 %");
}

TEST(ResultTexts, ResultMessage) {
  EXPECT_EQ(ResultMessage(2, 1, 8),
            "Corregidos 2 es 25,00 %\r\nFaltantes 1 es 12,50 %\r\nN\xFAmero de palabras 8 es 100,00 %");
  EXPECT_EQ(ResultMessage(0, 0, 0),
            "Corregidos 0 es 0,00 %\r\nFaltantes 0 es 0,00 %\r\nN\xFAmero de palabras 0 es 0,00 %");
}

}  // namespace
}  // namespace velmara
