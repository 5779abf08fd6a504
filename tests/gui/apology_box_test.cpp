#include "tools/apology_box.h"

#include <QLabel>

#include <gtest/gtest.h>

#include "resources/artwork.h"
#include "support/modal_dialog.h"

namespace velmara {
namespace {

TEST(ApologyBox, ClosesItselfAfterSixtyTicks) {
  ApologyBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Disculpas"));
  box.show();
  EXPECT_TRUE(box.timer().isActive());
  EXPECT_EQ(box.timer().interval(), 1000);
  for (int tick = 1; tick < 60; ++tick) box.Tick();
  EXPECT_TRUE(box.isVisible()) << "closed before the minute was over";
  box.Tick();
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
  EXPECT_FALSE(box.timer().isActive());
}

TEST(ApologyBox, CloseBoxClosesAtOnceAndStopsTheTimer) {
  ApologyBox box;
  box.show();
  box.Tick();
  box.Tick();
  EXPECT_TRUE(box.close());
  EXPECT_FALSE(box.isVisible());
  EXPECT_FALSE(box.timer().isActive());
}

TEST(ApologyBox, ShowsTheWholePictureAndReturnsOnceClosed) {
  bool pictureShown = false;
  bool opened = testing::WhileModal<ApologyBox>(ShowApologyBox, [&](ApologyBox& box) {
    auto* surface = box.findChild<QLabel*>(QStringLiteral("surface8001"));
    ASSERT_NE(surface, nullptr);
    pictureShown = surface->pixmap().size() == QSize(kApologyPictureWidth, kApologyPictureHeight) &&
                   surface->contentsRect().size() == surface->pixmap().size();
    box.close();
  });
  EXPECT_TRUE(opened);
  EXPECT_TRUE(pictureShown);
}

}  // namespace
}  // namespace velmara
