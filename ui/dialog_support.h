#pragma once
// Small pieces the program's dialogs share: their layouts are given in dialog units, they are
// shown without an owner, and their fonts are named by family, points and weight.

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QListWidget;
class QWidget;

namespace velmara {

// Dialog units are a quarter of the average character width and an eighth of the character
// height of the 8-point dialog font; on the screens we target that is 6 × 13 pixels.
QRect DialogUnitsToPixels(int x, int y, int width, int height);

// The main window stays on top of other windows, so every window the program opens asks the
// window manager to stay on top too and comes up in front of it. Call before the window is shown.
void KeepInFront(QWidget& window);

// Caption, the program's icon, and a fixed frame at a position and size in dialog units.
void SetUpDialogFrame(QDialog& dialog, const QString& caption, QRect dialogUnits);

QFont DialogFont(const char* family, int points, bool bold);

// Shortens a list box to the whole rows that fit in its height, so no row shows cut in half.
// Call once its font is set.
void FitWholeRows(QListWidget& list);

// The width a window needs for its title bar to show `caption` whole: the text in the bold
// title font, the window's icon and its buttons.
int WidthForCaption(const QString& caption);

// Shows the dialog and waits until it is finished. Like an ownerless dialog it does not block
// the program's other windows, so the string finder and the suggestions dialog can be used
// together. Returns the dialog's result.
int RunOwnerlessDialog(QDialog& dialog);

}  // namespace velmara
