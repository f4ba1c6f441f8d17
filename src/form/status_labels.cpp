#include "form/status_labels.h"

#include "form/controls.h"
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

void StatusLabels::Timer1_Timer() {
  Set(kLabel1, sysinfo::CurrentUptimeLabelText(systemOs_.ticks));
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
  ShowProgramCount();
  ShowMemory();
  return L"[System Info] [OS - " + sysinfo::GetOS(systemOs_) + L"] [CPU - " + Caption(kCPU) +
         L"] [Uptime - " + Caption(kLabel1) + L"] [RAM - Total = " + Caption(kRamlbl) +
         L", Free = " + Caption(kRamfreelbl) + L"] [Programs Running = " +
         Caption(kRunningprogramslbl) + L"]";
}

}  // namespace tv::form
