#include "app/check_display.h"

#include <algorithm>
#include <QLabel>
#include <QTextCursor>
#include <QTextEdit>

#include "checker/marking.h"
#include "ui/text.h"

namespace velmara {

CheckDisplay::CheckDisplay(QTextEdit& mainBox, QLabel& progress, std::vector<std::size_t> widePositions)
    : mainBox_(mainBox),
      progress_(progress),
      pump_([this] { UpdateScreen(); }),
      widePositions_(std::move(widePositions)) {}

void CheckDisplay::ResetMainBoxFormat() {
  highlighted_ = false;
  highlightChanged_ = true;
}

void CheckDisplay::HighlightMainBox(std::size_t start, std::size_t length) {
  highlighted_ = true;
  highlightChanged_ = true;
  highlightStart_ = start;
  highlightLength_ = length;
}

void CheckDisplay::SetProgressText(const std::string& text) {
  progressText_ = text;
  progressChanged_ = true;
}

void CheckDisplay::PumpPendingMessages() { pump_.Pump(); }

void CheckDisplay::Finish() { UpdateScreen(); }

void CheckDisplay::UpdateScreen() {
  if (progressChanged_) {
    progress_.setText(ToQString(progressText_));
    progressChanged_ = false;
  }
  if (!highlightChanged_) return;
  highlightChanged_ = false;
  if (!highlighted_) {
    mainBox_.setExtraSelections({});
    return;
  }
  // A word holds no wide character, so only those before it move it.
  const auto before = static_cast<std::size_t>(
      std::lower_bound(widePositions_.begin(), widePositions_.end(), highlightStart_) - widePositions_.begin());
  const std::size_t start = highlightStart_ + before;
  ColourMainSelection(mainBox_, start, highlightLength_, kBlack, kHighlightColour);
  // Keep the word under check in view.
  QTextCursor cursor(mainBox_.document());
  cursor.setPosition(static_cast<int>(start + highlightLength_));
  mainBox_.setTextCursor(cursor);
  mainBox_.ensureCursorVisible();
}

}  // namespace velmara
