#pragma once
// A timer that never fires by itself: tests read its state and call the owner's tick method.

#include "platform/timer.h"

namespace tv::platform {

struct FakeTimer final : Timer {
  void Start(std::chrono::milliseconds newPeriod) override {
    running = true;
    period = newPeriod;
    ++starts;  // each start begins a full new period
  }
  void Stop() override { running = false; }

  bool running = false;
  std::chrono::milliseconds period{0};
  int starts = 0;
};

}  // namespace tv::platform
