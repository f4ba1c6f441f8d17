#pragma once
// System figures set by the test. Counts the calls, so a test can tell a snapshot from a re-read.

#include "platform/system_figures.h"

namespace tv::platform {

class FakeSystemFigures final : public SystemFigures {
 public:
  OsVersion version;
  std::uint32_t processorType = 586;
  MemoryStatus memory;
  std::optional<DllVersion> shellDllVersion = DllVersion{6, 0, 2900};
  std::string decimalSeparator = ".";

  int calls = 0;

  OsVersion GetVersionExA() override {
    ++calls;
    return version;
  }
  std::uint32_t GetProcessorType() override {
    ++calls;
    return processorType;
  }
  MemoryStatus GlobalMemoryStatusEx() override {
    ++calls;
    return memory;
  }
  std::optional<DllVersion> ShellDllVersion() override {
    ++calls;
    return shellDllVersion;
  }
  std::string DecimalSeparator() override {
    ++calls;
    return decimalSeparator;
  }
};

}  // namespace tv::platform
