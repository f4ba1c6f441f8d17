#include "model/tool_state.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

namespace tv::model {

std::optional<std::int32_t> ClearPeriodMs(double minutes) {
  const double ms = minutes * 60000.0;
  // Rounded by hand rather than with the floating-point environment's mode, which a loaded
  // library could have changed.
  double rounded = std::floor(ms);
  const double fraction = ms - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
  // Written so that NaN fails too.
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

ToolState::ToolState(platform::Timer& clearTimer) : clearTimer_(clearTimer) {}

template <typename T>
void ToolState::Assign(T& field, T value, Field which) {
  if (field == value) return;
  field = std::move(value);
  // A copy, so that a listener that replaces itself does not destroy the running function.
  if (const Listener listener = listener_) listener(which);
}

void ToolState::SetUserName(std::wstring name) {
  Assign(userName_, std::move(name), Field::kUserName);
}
void ToolState::SetScanOn(bool on) { Assign(scanOn_, on, Field::kScanOn); }
void ToolState::SetSendsOff(bool off) { Assign(sendsOff_, off, Field::kSendsOff); }
void ToolState::SetSendsText(std::wstring text) {
  Assign(sendsText_, std::move(text), Field::kSendsText);
}
void ToolState::SetClearMinutesText(std::wstring text) {
  Assign(clearMinutesText_, std::move(text), Field::kClearMinutesText);
}
void ToolState::SetClearStatusText(std::wstring text) {
  Assign(clearStatusText_, std::move(text), Field::kClearStatusText);
}

void ToolState::StartClearTimer(std::int32_t periodMs) {
  Assign(clearIntervalMs_, periodMs, Field::kClearIntervalMs);
  Assign(clearTimerOn_, true, Field::kClearTimerOn);
  clearTimer_.Start(std::chrono::milliseconds(clearIntervalMs_));
}

void ToolState::StopClearTimer() {
  Assign(clearTimerOn_, false, Field::kClearTimerOn);
  clearTimer_.Stop();
}

}  // namespace tv::model
