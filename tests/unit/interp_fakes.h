#pragma once
// A clear or scan timer that the test switches and inspects; it never fires by itself.

#include <chrono>

#include "platform/timer.h"

namespace tv::interp {

class FakeTimer final : public platform::Timer {
 public:
  void Start(std::chrono::milliseconds period) override {
    running = true;
    this->period = period;
    ++starts;
  }
  void Stop() override { running = false; }

  bool running = false;
  std::chrono::milliseconds period{0};
  int starts = 0;
};

}  // namespace tv::interp
