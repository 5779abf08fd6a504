#include "ui/pump.h"

#include <QCoreApplication>
#include <utility>

namespace velmara {

void PumpPendingEvents() { QCoreApplication::processEvents(); }

ScreenRatePump::ScreenRatePump(std::function<void()> beforePump)
    : beforePump_(std::move(beforePump)), last_(Clock::now()) {}

void ScreenRatePump::Pump() {
  if (Clock::now() - last_ >= kFramePeriod) PumpNow();
}

void ScreenRatePump::PumpNow() {
  if (beforePump_) beforePump_();
  PumpPendingEvents();
  last_ = Clock::now();
}

}  // namespace velmara
