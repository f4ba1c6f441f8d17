#include "form/status_labels.h"

#include <bit>
#include <cstdint>

#include "form/controls.h"
#include "model/room_lines.h"
#include "sysinfo/figures.h"
#include "sysinfo/uptime.h"

namespace tv::form {

StatusLabels::StatusLabels(const platform::SystemOs& os) : systemOs_(os) {
  for (const FormControl& control : FormControls()) {
    if (control.kind == ControlKind::kStatusLabel) captions_.emplace(control.id, control.caption);
  }
}

const std::wstring& StatusLabels::Caption(int label) const {
  static const std::wstring kNone;
  const auto found = captions_.find(label);
  return found == captions_.end() ? kNone : found->second;
}

void StatusLabels::Set(int label, std::wstring caption) {
  std::wstring& held = captions_.at(label);
  if (held == caption) return;
  held = std::move(caption);
  if (listener_) listener_(label);
}

std::chrono::milliseconds StatusLabels::Timer1_Timer() {
  // One reading for both, so the period always fits the text just written.
  const std::uint32_t now = systemOs_.ticks.GetTickCount();
  Set(kLabel1, sysinfo::UptimeLabelText(std::bit_cast<std::int32_t>(now)));
  return std::chrono::milliseconds(sysinfo::MillisecondsToNextUptimeChange(now));
}

void StatusLabels::ShowCPU() { Set(kCPU, sysinfo::ShowCPU(systemOs_)); }

void StatusLabels::ShowProgramCount() {
  Set(kRunningprogramslbl, sysinfo::ShowProgramCount(systemOs_));
}

void StatusLabels::ShowMemory() {
  sysinfo::MemoryTexts memory = sysinfo::ShowMemory(systemOs_);
  Set(kRamlbl, std::move(memory.total));
  Set(kRamfreelbl, std::move(memory.free));
}

std::wstring StatusLabels::SystemInfoLine() {
  // The status timer may be late (a busy thread, or just after a resume from sleep).
  Timer1_Timer();
  ShowProgramCount();
  ShowMemory();
  return model::SystemInfoLine({sysinfo::GetOS(systemOs_), Caption(kCPU), Caption(kLabel1),
                                Caption(kRamlbl), Caption(kRamfreelbl),
                                Caption(kRunningprogramslbl)});
}

}  // namespace tv::form
