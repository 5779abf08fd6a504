#include "ui/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/text.h"

namespace velmara {
namespace {

QPixmap IconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  QLinearGradient back(0, 0, 0, s);
  back.setColorAt(0, QColor(64, 110, 200));
  back.setColorAt(1, QColor(24, 52, 120));
  painter.setPen(Qt::NoPen);
  painter.setBrush(back);
  painter.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s / 5, s / 5);
  // A white V over a red stroke: the word and its mark.
  QPainterPath v;
  v.moveTo(s * 0.22, s * 0.2);
  v.lineTo(s * 0.5, s * 0.72);
  v.lineTo(s * 0.78, s * 0.2);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, s / 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(v);
  painter.setPen(QPen(QColor(230, 40, 40), s / 12, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(s * 0.2, s * 0.86), QPointF(s * 0.8, s * 0.86));
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(IconPixmap(size));
  return icon;
}

QPixmap LoadingFrame(int frame) {
  frame = ((frame % kLoadingFrameCount) + kLoadingFrameCount) % kLoadingFrameCount;
  QPixmap pixmap(kLoadingFrameWidth, kLoadingFrameHeight);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient back(0, 0, 0, kLoadingFrameHeight);
  back.setColorAt(0, QColor(40, 70, 150));
  back.setColorAt(1, QColor(16, 32, 80));
  painter.fillRect(pixmap.rect(), back);
  // Sixteen cells; the lit one walks right and leaves a fading trail.
  const int cell = kLoadingFrameWidth / kLoadingFrameCount;
  for (int i = 0; i < kLoadingFrameCount; ++i) {
    int age = (frame - i + kLoadingFrameCount) % kLoadingFrameCount;
    int light = age < 4 ? 255 - age * 55 : 60;
    QColor colour(light, light * 201 / 255, 0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(i * cell + 2.5, 15.5, cell - 5, 5), 2, 2);
  }
  QFont font;
  font.setPixelSize(10);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 1, kLoadingFrameWidth, 13), Qt::AlignCenter, ToQString("Cargando palabras ..."));
  return pixmap;
}

QPixmap PalettePicture() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const QColor colours[] = {QColor(230, 40, 40), QColor(40, 170, 60), QColor(60, 90, 200), QColor(240, 200, 0)};
  for (int i = 0; i < 4; ++i) painter.fillRect((i % 2) * 8, (i / 2) * 8, 7, 7, colours[i]);
  return pixmap;
}

}  // namespace velmara
