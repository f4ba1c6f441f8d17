#include "sysinfo/status_labels.h"

#include "sysinfo/figures.h"
#include "sysinfo/uptime.h"

namespace tv::sysinfo {

void StatusLabels::Set(std::wstring& caption, std::wstring text, Label which) {
  if (caption == text) return;
  caption = std::move(text);
  if (listener_) listener_(which);
}

void StatusLabels::Timer1_Timer() {
  Set(label1_, CurrentUptimeLabelText(os_.ticks), Label::kLabel1);
}

void StatusLabels::ShowCPU() { Set(cpu_, sysinfo::ShowCPU(os_), Label::kCPU); }

void StatusLabels::ShowProgramCount() {
  Set(runningprogramslbl_, sysinfo::ShowProgramCount(os_), Label::kRunningprogramslbl);
}

void StatusLabels::ShowMemory() {
  MemoryTexts memory = sysinfo::ShowMemory(os_);
  Set(ramlbl_, std::move(memory.total), Label::kRamlbl);
  Set(ramfreelbl_, std::move(memory.free), Label::kRamfreelbl);
}

std::wstring SystemInfoLine(StatusLabels& labels, const platform::SystemOs& os) {
  labels.ShowProgramCount();
  labels.ShowMemory();
  return L"[System Info] [OS - " + GetOS(os) + L"] [CPU - " + labels.CPU() + L"] [Uptime - " +
         labels.Label1() + L"] [RAM - Total = " + labels.ramlbl() + L", Free = " +
         labels.ramfreelbl() + L"] [Programs Running = " + labels.runningprogramslbl() + L"]";
}

}  // namespace tv::sysinfo
