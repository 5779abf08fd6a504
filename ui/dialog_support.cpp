#include "ui/dialog_support.h"

#include <QDialog>
#include <QEventLoop>

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

int RunOwnerlessDialog(QDialog& dialog) {
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  if (dialog.isVisible()) loop.exec();
  return dialog.result();
}

}  // namespace velmara
