#include "worddb/loading_animation.h"

#include <iostream>

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "ui/interaction.h"
#include "ui/pictures.h"
#include "ui/pump.h"

namespace velmara {

LoadingAnimation::LoadingAnimation()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(new QLabel(this)),
      timer_(new QTimer(this)) {
  setFixedSize(kLoadingFrameWidth, kLoadingFrameHeight);
  picture_->setGeometry(0, 0, kLoadingFrameWidth, kLoadingFrameHeight);
  picture_->setPixmap(LoadingFrame(0));
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  connect(timer_, &QTimer::timeout, this, &LoadingAnimation::Advance);
  timer_->start(kTickMs);
}

void LoadingAnimation::Advance() {
  frame_ = frame_ + 1 > kLoadingFrameCount - 1 ? 0 : frame_ + 1;
  picture_->setPixmap(LoadingFrame(frame_));
}

bool LoadingAnimation::TimerActive() const { return timer_->isActive(); }

ScreenLoadHooks::ScreenLoadHooks(Interaction& interaction) : interaction_(interaction) {}

ScreenLoadHooks::~ScreenLoadHooks() = default;

void ScreenLoadHooks::PumpPendingMessages() { PumpPendingEvents(); }

void ScreenLoadHooks::StartLoadingAnimation() {
  animation_ = std::make_unique<LoadingAnimation>();
  animation_->show();
  PumpPendingEvents();
}

void ScreenLoadHooks::CloseLoadingAnimation() { animation_.reset(); }

void ScreenLoadHooks::Note(const std::string& text) { std::cerr << "velmara: " << text << std::endl; }

void ScreenLoadHooks::ShowMessageBox(const std::string& text) {
  interaction_.ShowMessageBox(text, MessageButtons::Ok, true);
}

}  // namespace velmara
