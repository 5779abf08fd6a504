#include "tools/apology_box.h"

#include <QLabel>
#include <QShowEvent>

#include "resources/artwork.h"
#include "ui/dialog_support.h"

namespace velmara {

ApologyBox::ApologyBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Disculpas"));
  setWindowIcon(DrawProgramIcon(32));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  KeepInFront(*this);

  // The thin border sits around the picture, so all of it shows.
  auto* surface = new QLabel(this);
  surface->setObjectName(QStringLiteral("surface8001"));
  surface->setFrameShape(QFrame::Box);
  surface->setLineWidth(1);
  surface->setAutoFillBackground(true);
  QPalette white = surface->palette();
  white.setColor(QPalette::Window, Qt::white);
  surface->setPalette(white);
  surface->setPixmap(ApologyPicture());
  surface->setGeometry(0, 0, kApologyPictureWidth + 2, kApologyPictureHeight + 2);
  setFixedSize(surface->size());

  timer_.setInterval(kTickMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &ApologyBox::Tick);
}

void ApologyBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && ticks_ < kTicksBeforeClosing) timer_.start();
}

void ApologyBox::Tick() {
  ++ticks_;
  if (ticks_ >= kTicksBeforeClosing) {
    timer_.stop();
    accept();
  }
}

void ApologyBox::done(int result) {
  timer_.stop();
  QDialog::done(result);
}

void ShowApologyBox() {
  ApologyBox box;
  box.exec();
}

}  // namespace velmara
