#include "tools/colour_swatch_icon.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_folder.h"
#include "tools/colour_swatch.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;

QRgb Centre(const QIcon& icon) { return icon.pixmap(16, 16).toImage().pixel(7, 7); }

TEST(ColourSwatchIconTest, SwatchShowsTheColourAndLeavesNoFileBehind) {
  testing::TestFolder folder;
  QIcon icon = MakeColourSwatch(folder.path(), 0x00336699);
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
  EXPECT_EQ(Centre(icon), qRgb(0x99, 0x66, 0x33));
  EXPECT_FALSE(fs::exists(folder.path() / kSwatchFile));
}

TEST(ColourSwatchIconTest, FolderThatCannotTakeTheFileStillGivesTheSwatch) {
  testing::TestFolder folder;
  folder.Write("fichero", "x");
  QIcon icon = MakeColourSwatch(folder.path() / "fichero", 0x0000FF);
  EXPECT_EQ(Centre(icon), qRgb(255, 0, 0));
}

TEST(ColourSwatchIconTest, SwatchesMadeOneAfterAnotherKeepTheirOwnColours) {
  testing::TestFolder folder;
  QIcon first = MakeColourSwatch(folder.path(), 0x000001);
  QIcon second = MakeColourSwatch(folder.path(), 0x000002);
  EXPECT_EQ(Centre(first), qRgb(1, 0, 0));
  EXPECT_EQ(Centre(second), qRgb(2, 0, 0)) << "the same file name and time must not give the first picture";
}

}  // namespace
}  // namespace velmara
