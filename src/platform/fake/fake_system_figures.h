#pragma once
// System figures set by the test.

#include "platform/system_figures.h"

namespace tv::platform {

class FakeSystemFigures final : public SystemFigures {
 public:
  OsVersion version;
  std::uint32_t processorType = 586;
  MemoryStatus memory;
  std::optional<DllVersion> shellDllVersion = DllVersion{6, 0, 2900};
  std::string decimalSeparator = ".";

  OsVersion GetVersionExA() override { return version; }
  std::uint32_t GetProcessorType() override { return processorType; }
  MemoryStatus GlobalMemoryStatusEx() override { return memory; }
  std::optional<DllVersion> ShellDllVersion() override { return shellDllVersion; }
  std::string DecimalSeparator() override { return decimalSeparator; }
};

}  // namespace tv::platform
