#include "app/window_timer.h"

#include <algorithm>

namespace tv::app {

void WindowTimer::Start(std::chrono::milliseconds period) {
  running_ = true;
  period_ = period;
  Arm();
}

void WindowTimer::Stop() {
  running_ = false;
  if (window_ != nullptr) KillTimer(window_, id_);
}

void WindowTimer::Bind(HWND window) {
  Unbind();
  window_ = window;
  if (running_) Arm();
}

void WindowTimer::Unbind() {
  if (window_ != nullptr) KillTimer(window_, id_);
  window_ = nullptr;
}

void WindowTimer::Arm() {
  if (window_ == nullptr) return;
  // SetTimer on an ID that is running replaces it, so a full new period counts from now.
  const auto ms = std::clamp<long long>(period_.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  SetTimer(window_, id_, static_cast<UINT>(ms), nullptr);
}

}  // namespace tv::app
