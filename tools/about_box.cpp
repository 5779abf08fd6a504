#include "tools/about_box.h"

#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "resources/artwork.h"
#include "tools/about_statistics.h"
#include "ui/text.h"
#include "ui/dialog_support.h"

namespace velmara {

namespace {

constexpr int kBoxWidth = 360;

QFont BoxFont(int points) {
  QFont font;
  font.setPointSize(points);
  font.setBold(true);
  return font;
}

QLabel* AddLabel(QVBoxLayout* layout, const QString& name, const QString& text, const QColor* ink) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  label->setFont(BoxFont(10));
  label->setWordWrap(true);
  if (ink) {
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, *ink);
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    label->setContentsMargins(3, 1, 3, 1);
  }
  layout->addWidget(label);
  return label;
}

}  // namespace

AboutBox::AboutBox(const AppState& state, QWidget* parent)
    : QDialog(parent), nextFrame_(kAboutFrameFirst), shownFrame_(kAboutFrameFirst) {
  setWindowTitle(QStringLiteral("Autor"));
  setWindowIcon(DrawProgramIcon(32));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  KeepInFront(*this);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(4);
  image_ = new QLabel;
  image_->setObjectName(QStringLiteral("image1018"));
  image_->setFixedSize(kAboutFrameWidth, kAboutFrameHeight);
  image_->setPixmap(AboutFrame(kAboutFrameFirst));
  layout->addWidget(image_, 0, Qt::AlignHCenter);

  AddLabel(layout, QStringLiteral("label1019"),
           QStringLiteral("Brumel te da las Gracias por usar este programa."), nullptr);
  AddLabel(layout, QStringLiteral("label1020"),
           QStringLiteral("Hecho en C++ con Qt\n para todos los usuarios de \nvelmara.example Vis\u00EDtame !!!"),
           nullptr);
  layout->addSpacing(4);

  auto lines = AboutStatisticsLines(state.database, CountNonEmptyLines(state.IntellisensePath()));
  const QColor red(Qt::red);
  const QColor black(Qt::black);
  const char* names[] = {"label1021", "label1022", "label1023", "label1024", "label1026"};
  const QColor* inks[] = {&red, &red, &black, &black, &black};
  for (std::size_t i = 0; i < lines.size(); ++i)
    AddLabel(layout, QString::fromLatin1(names[i]), ToQString(lines[i]), inks[i]);

  layout->addSpacing(8);
  auto* exit = new QPushButton(QStringLiteral("Salir"));
  exit->setObjectName(QStringLiteral("button1017"));
  exit->setFont(BoxFont(14));
  exit->setAutoDefault(false);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(exit, 0, Qt::AlignLeft);

  // Wrapped labels make the height follow the width.
  int height = heightForWidth(kBoxWidth);
  setFixedSize(kBoxWidth, height > 0 ? height : sizeHint().height());

  timer_.setInterval(kFrameMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &AboutBox::Tick);
}

void AboutBox::Tick() {
  shownFrame_ = nextFrame_;
  image_->setPixmap(AboutFrame(shownFrame_));
  nextFrame_ = nextFrame_ == kAboutFrameLast ? kAboutFrameFirst : nextFrame_ + 1;
}

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && !timer_.isActive()) timer_.start();
}

void AboutBox::done(int result) {
  timer_.stop();
  QDialog::done(result);
}

// Escape lands here; only "Salir" may close the box.
void AboutBox::reject() {}

void AboutBox::closeEvent(QCloseEvent* event) {
  event->ignore();
  showNormal();
  raise();
}

void AboutBox::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
    setWindowState(windowState() & ~Qt::WindowMinimized);
}

void ShowAboutBox(const AppState& state) {
  AboutBox box(state);
  box.exec();
}

}  // namespace velmara
