#include "ui/dialog_support.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFontMetrics>
#include <QListWidget>
#include <algorithm>

#include "ui/pictures.h"

namespace velmara {

namespace {
constexpr int kBaseWidth = 6;
constexpr int kBaseHeight = 13;

int Horizontal(int units) { return units * kBaseWidth / 4; }
int Vertical(int units) { return units * kBaseHeight / 8; }
}  // namespace

QRect DialogUnitsToPixels(int x, int y, int width, int height) {
  return QRect(Horizontal(x), Vertical(y), Horizontal(width), Vertical(height));
}

void KeepInFront(QWidget& window) { window.setWindowFlag(Qt::WindowStaysOnTopHint, true); }

void SetUpDialogFrame(QDialog& dialog, const QString& caption, QRect dialogUnits) {
  KeepInFront(dialog);
  dialog.setWindowTitle(caption);
  dialog.setWindowIcon(ProgramIcon());
  const QRect frame = DialogUnitsToPixels(dialogUnits.x(), dialogUnits.y(), dialogUnits.width(), dialogUnits.height());
  dialog.move(frame.topLeft());
  dialog.setFixedSize(frame.size());
}

QFont DialogFont(const char* family, int points, bool bold) {
  QFont font(QString::fromLatin1(family), points, bold ? QFont::Bold : QFont::Normal);
  // The families are those of the desktop the program was drawn for; elsewhere a sans serif
  // of the same size and weight stands in.
  font.setStyleHint(QFont::SansSerif);
  return font;
}

void FitWholeRows(QListWidget& list) {
  // The height of one row as the list draws it, measured on a row of its own when it has none.
  const bool empty = list.count() == 0;
  if (empty) list.addItem(QStringLiteral("\u00C1g"));
  list.setUniformItemSizes(true);
  const int row = std::max(1, list.sizeHintForRow(0));
  if (empty) delete list.takeItem(0);
  const int frame = 2 * list.frameWidth();
  const int rows = std::max(1, (list.height() - frame) / row);
  list.setFixedHeight(rows * row + frame);
}

int WidthForCaption(const QString& caption) {
  QFont title = QApplication::font();
  title.setBold(true);
  // Icon, the three title-bar buttons and the frame, as the common window managers draw them.
  constexpr int kTitleBarExtras = 150;
  return QFontMetrics(title).horizontalAdvance(caption) + kTitleBarExtras;
}

int RunOwnerlessDialog(QDialog& dialog) {
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  if (dialog.isVisible()) loop.exec();
  return dialog.result();
}

}  // namespace velmara
