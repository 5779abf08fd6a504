#pragma once
// The program's icon and the loading frames.

#include <QIcon>
#include <QPixmap>
#include <cstdint>

namespace velmara {

inline constexpr int kLoadingFrameCount = 16;
inline constexpr int kLoadingFrameWidth = 256;
inline constexpr int kLoadingFrameHeight = 24;

// The icon of the window, the notification area and the status bar.
QIcon ProgramIcon();
// Loading frame 0 to 15.
QPixmap LoadingFrame(int frame);

}  // namespace velmara
