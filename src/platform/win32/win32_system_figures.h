#pragma once
// The real system figures: GetVersionExA, GetSystemInfo, GlobalMemoryStatusEx, shlwapi's
// DllGetVersion (loaded when asked for) and GetLocaleInfoA.

#include "platform/system_figures.h"

namespace tv::platform {

class Win32SystemFigures final : public SystemFigures {
 public:
  OsVersion GetVersionExA() override;
  std::uint32_t GetProcessorType() override;
  MemoryStatus GlobalMemoryStatusEx() override;
  std::optional<DllVersion> ShellDllVersion() override;
  std::string DecimalSeparator() override;
};

}  // namespace tv::platform
