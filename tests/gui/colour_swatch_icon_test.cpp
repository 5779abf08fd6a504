#include "tools/colour_swatch_icon.h"

#include <QAction>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

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

TEST(ColourSwatchIconTest, EachColourItemGetsItsSetting) {
  testing::TestFolder folder;
  Settings settings;
  settings.Corregidos = 0x000001;
  settings.MissingColour = 0x000002;
  settings.Verbos_Bien = 0x000003;
  settings.Verbos_Duda = 0x000004;
  settings.FalsePositiveColour = 0x000005;
  std::map<int, QAction*> items;
  for (int id : kColourItemIds) items[id] = new QAction(QStringLiteral("item"));

  SetColourSwatches([&](int id) { return items.count(id) ? items[id] : nullptr; }, folder.path(), settings);

  EXPECT_EQ(Centre(items[212]->icon()), qRgb(1, 0, 0));
  EXPECT_EQ(Centre(items[213]->icon()), qRgb(2, 0, 0));
  EXPECT_EQ(Centre(items[214]->icon()), qRgb(3, 0, 0));
  EXPECT_EQ(Centre(items[226]->icon()), qRgb(4, 0, 0));
  EXPECT_EQ(Centre(items[216]->icon()), qRgb(5, 0, 0));
  for (auto& [id, item] : items) delete item;
}

}  // namespace
}  // namespace velmara
