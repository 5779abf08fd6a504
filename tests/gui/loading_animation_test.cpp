#include "worddb/loading_animation.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "support/scripted_interaction.h"
#include "ui/pictures.h"

namespace velmara {
namespace {

TEST(LoadingAnimation, LoopsThroughSixteenFrames) {
  LoadingAnimation animation;
  EXPECT_EQ(animation.Frame(), 0);
  EXPECT_TRUE(animation.TimerActive());
  EXPECT_TRUE(animation.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(animation.windowFlags() & Qt::WindowStaysOnTopHint);
  animation.Advance();
  EXPECT_EQ(animation.Frame(), 1);
  for (int tick = 2; tick <= 16; ++tick) animation.Advance();
  EXPECT_EQ(animation.Frame(), 0);
}

TEST(LoadingAnimation, FramesAreDistinctPicturesOfTheirSize) {
  QImage first = LoadingFrame(0).toImage();
  EXPECT_EQ(first.size(), QSize(kLoadingFrameWidth, kLoadingFrameHeight));
  EXPECT_NE(first, LoadingFrame(1).toImage());
  EXPECT_EQ(LoadingFrame(16).toImage(), first);
}

TEST(ScreenLoadHooks, AnimationLivesFromStartToCloseAndMessagesGoToTheInteraction) {
  testing::ScriptedInteraction interaction;
  ScreenLoadHooks hooks(interaction);
  hooks.StartLoadingAnimation();
  ASSERT_NE(hooks.Animation(), nullptr);
  EXPECT_TRUE(hooks.Animation()->isVisible());
  hooks.PumpPendingMessages();
  hooks.CloseLoadingAnimation();
  EXPECT_EQ(hooks.Animation(), nullptr);
  for (QWidget* widget : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<LoadingAnimation*>(widget), nullptr);

  hooks.ShowMessageBox("Fichero con formato Erroneo ..\r\nverbos.log");
  ASSERT_EQ(interaction.messages.size(), 1u);
  EXPECT_EQ(interaction.messages[0].title, "Programador");
  EXPECT_TRUE(interaction.messages[0].topmost);
}

}  // namespace
}  // namespace velmara
