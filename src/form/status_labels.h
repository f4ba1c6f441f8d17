#pragma once
// The hidden status labels of the main window, the controls of kind kStatusLabel: the only store
// of the uptime, memory, program-count and processor figures between refreshes. The window shows
// each caption in its label; the system-info reply reads them.

#include <chrono>
#include <functional>
#include <map>
#include <string>

#include "platform/system_os.h"

namespace tv::form {

class StatusLabels {
 public:
  // Runs after the caption of `label` (its control ID) has changed, with the new caption in place.
  using Listener = std::function<void(int label)>;

  // Every caption starts as the controls table has it.
  explicit StatusLabels(const platform::SystemOs& os);
  void SetListener(Listener listener) { listener_ = std::move(listener); }

  // The label's caption; empty for an ID that is no status label.
  const std::wstring& Caption(int label) const;

  // The status tick: the uptime label from the current tick count, written only when its text
  // changes. Gives how long that text stays as it is, for the next tick.
  std::chrono::milliseconds Timer1_Timer();
  // The processor name of a fresh system snapshot.
  void ShowCPU();
  // The running-program count.
  void ShowProgramCount();
  // Total and free physical memory in gigabytes.
  void ShowMemory();

  // "/sysinfo": refreshes the uptime, program count and memory labels, then builds the one-line
  // summary from the environment's OS name and the five captions.
  std::wstring SystemInfoLine();

 private:
  void Set(int label, std::wstring caption);

  platform::SystemOs systemOs_;
  Listener listener_;
  std::map<int, std::wstring> captions_;
};

}  // namespace tv::form
