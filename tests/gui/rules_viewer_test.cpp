#include "tools/rules_viewer.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <vector>

#include "resources/artwork.h"
#include "support/modal_dialog.h"
#include "tools/rules_pages.h"

namespace velmara {
namespace {

QImage Comparable(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

bool AllWhite(const QImage& image) {
  QImage plain = Comparable(image);
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x)
      if (plain.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

TEST(RulesViewer, EachMenuItemOpensItsPage) {
  std::vector<QImage> pages;
  for (int command = kFirstRulesCommand; command <= kLastRulesCommand; ++command) {
    std::string_view code = RulesLetterCode(command);
    QImage shown;
    bool opened = testing::WhileModal<RulesViewer>([&] { ShowRulesViewer(code); }, [&](RulesViewer& viewer) {
      EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Reglas Ortogr\u00E1ficas"));
      shown = viewer.page();
      viewer.close();
    });
    ASSERT_TRUE(opened) << command;
    EXPECT_EQ(shown.size(), QSize(kRulesPageWidth, kRulesPageHeight));
    EXPECT_EQ(Comparable(shown), Comparable(RulesPage(code).toImage())) << command;
    EXPECT_FALSE(AllWhite(shown)) << command;
    for (const QImage& earlier : pages) EXPECT_NE(Comparable(shown), earlier) << command << " repeats a page";
    pages.push_back(Comparable(shown));
  }
}

TEST(RulesViewer, CodeWithoutPageShowsWhitePage) {
  for (std::string_view code : {"", "B", "c", "zc", "yy"}) {
    RulesViewer viewer(code);
    EXPECT_EQ(viewer.page().size(), QSize(kRulesPageWidth, kRulesPageHeight));
    EXPECT_TRUE(AllWhite(viewer.page())) << '"' << code << '"';
  }
}

TEST(RulesViewer, WholePageFitsInsideTheBorder) {
  RulesViewer viewer("y");
  viewer.show();
  auto* surface = viewer.findChild<QLabel*>(QStringLiteral("surface9001"));
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->contentsRect().size(), QSize(kRulesPageWidth, kRulesPageHeight));
  EXPECT_TRUE(viewer.rect().contains(surface->geometry()));
}

}  // namespace
}  // namespace velmara
