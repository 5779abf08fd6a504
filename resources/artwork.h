#pragma once
// The program's pictures, drawn by our own code so that no image file has to travel with the
// program. Sizes are the ones the dialogs expect; everything is 32 bits per pixel.

#include <QPixmap>

#include <string_view>

namespace velmara {

inline constexpr int kAboutFrameFirst = 701;
inline constexpr int kAboutFrameLast = 707;
inline constexpr int kAboutFrameWidth = 173;
inline constexpr int kAboutFrameHeight = 122;
inline constexpr int kApologyPictureWidth = 249;
inline constexpr int kApologyPictureHeight = 189;
inline constexpr int kRulesPageWidth = 378;
inline constexpr int kRulesPageHeight = 454;
inline constexpr int kColoresBitmapSize = 16;

// The program's icon (picture 200), square, at any size.
QPixmap DrawProgramIcon(int size);
// The bitmap beside the "Colores" submenu (picture 300).
QPixmap ColoresBitmap();
// Frames 701 to 707 of the about-box animation; a null pixmap for other numbers.
QPixmap AboutFrame(int number);
// The picture of the apology box (888).
QPixmap ApologyPicture();
// The spelling-rules page of a letter code ("b", "v", "cz", "g", "h", "j", "mn", "rr", "y"),
// pictures 900 to 908; a null pixmap for any other code.
QPixmap RulesPage(std::string_view code);
// The pixel size of the body text that lets the page's text fit; 0 when no legible size fits
// or the code has no page.
int RulesPageFontSize(std::string_view code);

}  // namespace velmara
