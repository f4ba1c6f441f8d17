#pragma once
// A periodic timer owned by the window. The portable code only switches it; the window calls the
// owner's tick method when it fires, and tests call that method directly.

#include <chrono>

namespace tv::platform {

class Timer {
 public:
  virtual ~Timer() = default;
  // Starts the timer, or restarts it so that a full new period counts from now.
  virtual void Start(std::chrono::milliseconds period) = 0;
  virtual void Stop() = 0;
};

}  // namespace tv::platform
