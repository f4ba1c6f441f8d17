#pragma once
// A snapshot of the machine taken once, at creation: operating system name and version, processor,
// physical and virtual memory, and the version of the browser components. A caller that wants
// fresh figures creates a new object.

#include <cstdint>
#include <string>

#include "platform/system_figures.h"

namespace tv::sysinfo {

// The largest kilobyte figure; larger amounts (2 TiB and up) read as this.
inline constexpr std::int32_t kMaxKilobytes = 2147483647;

// Bytes to kilobytes, rounded to the nearest whole number with an exact half going to the even
// neighbour (1536 and 2560 bytes both give 2), capped at kMaxKilobytes.
std::int32_t ToKilobytes(std::uint64_t bytes);

// "Windows XP " and the like from the OS version; see the table in the source.
std::wstring WindowsName(std::int32_t major, std::int32_t minor);

// "Intel Pentium" and the like from SYSTEM_INFO.dwProcessorType, "(unknown)" for others.
std::wstring ProcessorName(std::uint32_t processorType);

class cSystemInfo {
 public:
  // Reads every figure from `figures` now; the object never reads it again.
  explicit cSystemInfo(platform::SystemFigures& figures);

  std::int32_t VirtualMemoryFree() const { return virtualMemoryFree_; }
  std::int32_t VirtualMemoryTotal() const { return virtualMemoryTotal_; }
  std::int32_t MemoryFree() const { return memoryFree_; }
  std::int32_t MemoryTotal() const { return memoryTotal_; }
  // "5.1 (Build 2600)".
  const std::wstring& WinVersion() const { return winVersion_; }
  // "Windows XP ", every name but "Windows Unknown Version" ending in a blank.
  const std::wstring& WinName() const { return winName_; }
  const std::wstring& CPUVersion() const { return cpuVersion_; }
  // "Internet Explorer 6.0.2900"; empty when the shell library gives no version.
  const std::wstring& IEVersion() const { return ieVersion_; }

 private:
  void LoadSystemInfo(platform::SystemFigures& figures);

  std::wstring winVersion_;
  std::wstring winName_;
  std::wstring cpuVersion_;
  std::int32_t memoryTotal_ = 0;
  std::int32_t memoryFree_ = 0;
  std::int32_t virtualMemoryTotal_ = 0;
  std::int32_t virtualMemoryFree_ = 0;
  std::wstring ieVersion_;
};

}  // namespace tv::sysinfo
