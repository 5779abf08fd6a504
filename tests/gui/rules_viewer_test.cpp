#include "tools/rules_viewer.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <vector>

#include "resources/artwork.h"
#include "support/modal_dialog.h"
#include "app/menu_ids.h"

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

TEST(RulesViewer, EachCodeShowsItsOwnPage) {
  std::vector<QImage> pages;
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id) {
    std::string_view code = command::RulesPageCode(id);
    RulesViewer viewer(code);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Reglas Ortogr\u00E1ficas"));
    QImage shown = Comparable(viewer.page());
    EXPECT_EQ(shown, Comparable(RulesPage(code).toImage())) << code;
    EXPECT_FALSE(AllWhite(shown)) << code;
    for (const QImage& earlier : pages) EXPECT_NE(shown, earlier) << code << " repeats a page";
    pages.push_back(shown);
  }
}

TEST(RulesViewer, ShowRulesViewerReturnsOnceClosed) {
  EXPECT_TRUE(testing::WhileModal<RulesViewer>([] { ShowRulesViewer("h"); }, [](RulesViewer& viewer) {
    EXPECT_FALSE(AllWhite(viewer.page()));
    viewer.close();
  }));
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
