#pragma once
// The hidden status labels of the main window: the only store of the uptime, memory, program-count
// and processor figures between refreshes. The window mirrors them in its hidden label controls;
// the system-info reply reads them.

#include <functional>
#include <string>

#include "platform/system_os.h"

namespace tv::sysinfo {

class StatusLabels {
 public:
  enum class Label { kLabel1, kRamlbl, kRamfreelbl, kRunningprogramslbl, kCPU };
  // Runs after a caption has changed, with the new caption in place.
  using Listener = std::function<void(Label)>;

  explicit StatusLabels(const platform::SystemOs& os) : os_(os) {}
  void SetListener(Listener listener) { listener_ = std::move(listener); }

  // Captions; their design texts until the first refresh.
  const std::wstring& Label1() const { return label1_; }
  const std::wstring& ramlbl() const { return ramlbl_; }
  const std::wstring& ramfreelbl() const { return ramfreelbl_; }
  const std::wstring& runningprogramslbl() const { return runningprogramslbl_; }
  const std::wstring& CPU() const { return cpu_; }

  // The status tick: the uptime label from the current tick count. It runs at the finest timer
  // rate there is, so it writes only when the text changes (once a minute).
  void Timer1_Timer();
  // The processor name of a fresh system snapshot.
  void ShowCPU();
  // The running-program count.
  void ShowProgramCount();
  // Total and free physical memory in gigabytes.
  void ShowMemory();

 private:
  void Set(std::wstring& caption, std::wstring text, Label which);

  platform::SystemOs os_;
  Listener listener_;
  std::wstring label1_ = L"Uptime";
  std::wstring ramlbl_ = L"Ram Available";
  std::wstring ramfreelbl_ = L"Ram Free";
  std::wstring runningprogramslbl_ = L"Running Programs";
  std::wstring cpu_ = L"CPU Model";
};

// "/sysinfo": refreshes the program count and memory labels, then builds the one-line summary
// from the environment's OS name and the five captions.
std::wstring SystemInfoLine(StatusLabels& labels, const platform::SystemOs& os);

}  // namespace tv::sysinfo
