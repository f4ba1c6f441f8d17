#pragma once
// A platform::Timer on the main window: SetTimer and KillTimer with the timer's own ID. The
// window routes each WM_TIMER to the tick handler of its ID. The timer can be switched before the
// window exists or after it is gone; it runs while it is switched on and bound to a window.

#include <windows.h>

#include <chrono>

#include "platform/timer.h"

namespace tv::app {

class WindowTimer final : public platform::Timer {
 public:
  explicit WindowTimer(UINT_PTR id) : id_(id) {}
  ~WindowTimer() override { Unbind(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  UINT_PTR id() const { return id_; }

  // Periods below the system's minimum (10 ms) run at the minimum.
  void Start(std::chrono::milliseconds period) override;
  void Stop() override;

  // Makes `window` the timer's owner; a timer that is switched on starts counting now.
  void Bind(HWND window);
  // Kills the timer on its window and forgets the window; the on/off state stays.
  void Unbind();

 private:
  void Arm();

  UINT_PTR id_;
  HWND window_ = nullptr;
  bool running_ = false;
  std::chrono::milliseconds period_{0};
};

}  // namespace tv::app
