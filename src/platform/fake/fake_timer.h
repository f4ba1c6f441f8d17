#pragma once
// A timer that never fires by itself: tests read its state and call the owner's tick method.

#include "platform/timer.h"

namespace tv::platform {

class FakeTimer final : public Timer {
 public:
  void Start(std::chrono::milliseconds period) override {
    running_ = true;
    period_ = period;
    ++starts_;
  }
  void Stop() override { running_ = false; }

  bool running() const { return running_; }
  std::chrono::milliseconds period() const { return period_; }
  // How often Start was called: each call begins a full new period.
  int starts() const { return starts_; }

 private:
  bool running_ = false;
  std::chrono::milliseconds period_{0};
  int starts_ = 0;
};

}  // namespace tv::platform
