#include "resources/artwork.h"

#include <gtest/gtest.h>

#include "app/menu_ids.h"

namespace velmara {
namespace {

TEST(Artwork, PicturesHaveTheSizesTheDialogsExpect) {
  for (int size : {16, 32, 256}) EXPECT_EQ(DrawProgramIcon(size).size(), QSize(size, size));
  EXPECT_EQ(ColoresBitmap().size(), QSize(kColoresBitmapSize, kColoresBitmapSize));
  for (int n = 701; n <= 707; ++n) EXPECT_EQ(AboutFrame(n).size(), QSize(173, 122)) << n;
  EXPECT_EQ(ApologyPicture().size(), QSize(249, 189));
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id)
    EXPECT_EQ(RulesPage(command::RulesPageCode(id)).size(), QSize(378, 454)) << id;
}

TEST(Artwork, NumbersAndCodesWithoutPictureGiveNone) {
  EXPECT_TRUE(AboutFrame(700).isNull());
  EXPECT_TRUE(AboutFrame(708).isNull());
  EXPECT_TRUE(RulesPage("B").isNull());
  EXPECT_TRUE(RulesPage("").isNull());
  EXPECT_EQ(RulesPageFontSize("x"), 0);
  EXPECT_TRUE(DrawProgramIcon(0).isNull());
}

TEST(Artwork, AnimationFramesMove) {
  for (int n = 701; n < 707; ++n)
    EXPECT_NE(AboutFrame(n).toImage(), AboutFrame(n + 1).toImage()) << n << " and " << n + 1 << " are the same";
}

TEST(Artwork, EveryRulesPageFitsAtALegibleSize) {
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id) {
    std::string_view code = command::RulesPageCode(id);
    EXPECT_GE(RulesPageFontSize(code), 11) << "the text of page \"" << code << "\" is too long";
  }
}

}  // namespace
}  // namespace velmara
