#include "ui/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include "resources/artwork.h"
#include "ui/text.h"

namespace velmara {

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(DrawProgramIcon(size));
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

}  // namespace velmara
