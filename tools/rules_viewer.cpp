#include "tools/rules_viewer.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "resources/artwork.h"
#include "ui/dialog_support.h"

namespace velmara {

RulesViewer::RulesViewer(std::string_view code, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Reglas Ortogr\u00E1ficas"));
  setWindowIcon(DrawProgramIcon(32));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  KeepInFront(*this);

  page_ = QImage(kRulesPageWidth, kRulesPageHeight, QImage::Format_ARGB32_Premultiplied);
  page_.fill(Qt::white);
  QPixmap picture = RulesPage(code);
  if (!picture.isNull()) {
    QPainter painter(&page_);
    painter.drawPixmap(0, 0, picture);
  }

  // The thin border sits around the page, so all of it shows.
  auto* surface = new QLabel(this);
  surface->setObjectName(QStringLiteral("surface9001"));
  surface->setFrameShape(QFrame::Box);
  surface->setLineWidth(1);
  surface->setPixmap(QPixmap::fromImage(page_));
  surface->setGeometry(0, 0, kRulesPageWidth + 2, kRulesPageHeight + 2);
  setFixedSize(surface->size());
  move(105, 114);
}

void ShowRulesViewer(std::string_view code) {
  RulesViewer viewer(code);
  viewer.exec();
}

}  // namespace velmara
