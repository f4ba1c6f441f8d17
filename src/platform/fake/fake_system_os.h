#pragma once
// The system as the test sets it: figures, registry, environment block, top-level windows, tick
// count and code page, owned together and handed out as a SystemOs.

#include "platform/environment.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/iconv_codepage.h"
#include "platform/system_figures.h"
#include "platform/system_os.h"
#include "platform/tick_count.h"
#include "platform/window_list.h"

namespace tv::platform {

struct FakeSystemFigures final : SystemFigures {
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

// Entries "NAME=value" in block order.
struct FakeEnvironment final : Environment {
  std::vector<std::string> entries;
  std::vector<std::string> EnvironmentStrings() override { return entries; }
};

struct FakeWindowList final : WindowList {
  std::vector<TopLevelWindow> windows;
  WindowHandle shellWindow = kNoWindow;
  bool enumerationFails = false;

  std::optional<std::vector<TopLevelWindow>> EnumWindows() override {
    return enumerationFails ? std::nullopt : std::optional(windows);
  }
  WindowHandle GetShellWindow() override { return shellWindow; }
};

// Moves only when the test sets it.
struct FakeTickCount final : TickCount {
  std::uint32_t now = 0;
  std::uint32_t GetTickCount() override { return now; }
};

struct FakeSystemOs {
  FakeSystemFigures figures;
  FakeRegistry registry;
  FakeEnvironment environment;
  FakeWindowList windows;
  FakeTickCount ticks;
  IconvCodePage codePage;
  SystemOs Os() { return SystemOs{figures, registry, environment, windows, ticks, codePage}; }
};

}  // namespace tv::platform
