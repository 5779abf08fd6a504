#pragma once
// What a check run shows while it works: the highlight walking over the main box and the
// progress text in the status bar, repainted at screen rate.

#include <cstddef>
#include <string>
#include <vector>

#include "checker/check_run.h"
#include "ui/pump.h"

class QLabel;
class QTextEdit;

namespace velmara {

class CheckDisplay : public CheckObserver {
 public:
  // `widePositions`: see WidePositions (ui/text.h); the highlight is moved past them.
  CheckDisplay(QTextEdit& mainBox, QLabel& progress, std::vector<std::size_t> widePositions = {});

  // Only the word highlighted last is shown, and only when the screen is brought up to date:
  // un-highlighting leaves the whole box black on white without reformatting any of it.
  void ResetMainBoxFormat() override;
  void HighlightMainBox(std::size_t start, std::size_t length) override;
  // Kept until the next repaint; the label would only show the last of a frame's texts anyway.
  void SetProgressText(const std::string& text) override;
  void PumpPendingMessages() override;

  // Brings the screen up to date at the end of a run.
  void Finish();

 private:
  void UpdateScreen();

  QTextEdit& mainBox_;
  QLabel& progress_;
  ScreenRatePump pump_;
  bool highlighted_ = false;
  bool highlightChanged_ = false;
  std::size_t highlightStart_ = 0;
  std::size_t highlightLength_ = 0;
  std::string progressText_;
  std::vector<std::size_t> widePositions_;
  bool progressChanged_ = false;
};

}  // namespace velmara
