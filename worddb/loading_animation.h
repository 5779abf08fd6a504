#pragma once
// The small window that shows the program working while the word lists load, and the loader's
// hooks into the screen.

#include <QWidget>
#include <memory>

#include "worddb/word_database.h"

class QLabel;
class QTimer;

namespace velmara {

class Interaction;

// A borderless window on top, centred, showing 16 frames in a loop, one more per 100 ms tick.
// The ticks only arrive while the loader pumps events.
class LoadingAnimation : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kTickMs = 100;

  LoadingAnimation();
  int Frame() const { return frame_; }
  // One tick: the next frame, after 15 frame 0 again.
  void Advance();
  bool TimerActive() const;

 private:
  QLabel* picture_;
  QTimer* timer_;
  int frame_ = 0;
};

// The loader's hooks on the desktop: events pumped, the animation around the load, messages
// through the interaction.
class ScreenLoadHooks : public LoadHooks {
 public:
  explicit ScreenLoadHooks(Interaction& interaction);
  ~ScreenLoadHooks() override;

  void PumpPendingMessages() override;
  void StartLoadingAnimation() override;
  void CloseLoadingAnimation() override;
  void ShowMessageBox(const std::string& text) override;
  // On standard error: a box at every start would only nag.
  void Note(const std::string& text) override;

  LoadingAnimation* Animation() const { return animation_.get(); }

 private:
  Interaction& interaction_;
  std::unique_ptr<LoadingAnimation> animation_;
};

}  // namespace velmara
