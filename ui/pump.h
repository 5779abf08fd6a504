#pragma once
// Processing the window events that are already queued, from inside long operations.

#include <chrono>
#include <functional>

namespace velmara {

// Processes the queued events (timers, paints, input) and returns.
void PumpPendingEvents();

// Pumps at screen rate at most: a run that asks after every token would otherwise spend its time
// repainting. `beforePump` brings the screen up to date just before the events are processed.
class ScreenRatePump {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kFramePeriod{16};

  explicit ScreenRatePump(std::function<void()> beforePump = {});
  // Pumps when a frame period has passed since the last pump.
  void Pump();
  void PumpNow();

 private:
  std::function<void()> beforePump_;
  Clock::time_point last_;
};

}  // namespace velmara
