// The system figures read from the real platform calls: sane values, and the taskbar count
// against windows of the test's own.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "platform/system_os.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system_figures.h"
#include "platform/win32/win32_tick_count.h"
#include "platform/win32/win32_window_list.h"
#include "sysinfo/figures.h"
#include "sysinfo/registry_value.h"
#include "sysinfo/system_info.h"
#include "sysinfo/uptime.h"

namespace {

class SysinfoE2E : public ::testing::Test {
 protected:
  std::string Ansi(const std::wstring& text) const { return codePage.ToAnsi(text); }
  void Record(const char* name, const std::wstring& value) { RecordProperty(name, Ansi(value)); }

  int TaskbarCount() {
    const auto all = windows.EnumWindows();
    return all ? tv::sysinfo::CountTaskbarWindows(*all, windows.GetShellWindow()) : -1;
  }

  tv::platform::Win32SystemFigures figures;
  tv::platform::Win32Registry registry;
  tv::platform::Win32Environment environment;
  tv::platform::Win32WindowList windows;
  tv::platform::Win32TickCount ticks;
  tv::platform::Win32CodePage codePage;
  tv::platform::SystemOs os{figures, registry, environment, windows, ticks, codePage};
};

TEST_F(SysinfoE2E, SnapshotHasSaneFigures) {
  const tv::sysinfo::cSystemInfo info(figures);
  Record("WinName", info.WinName());
  Record("WinVersion", info.WinVersion());
  Record("CPUVersion", info.CPUVersion());
  Record("IEVersion", info.IEVersion());
  RecordProperty("MemoryTotalKB", info.MemoryTotal());
  RecordProperty("MemoryFreeKB", info.MemoryFree());
  EXPECT_FALSE(info.CPUVersion().empty());
  // Windows gives a 32-bit program on any x86 processor type 586, and a 64-bit one 8664, which
  // the processor table does not name.
  SYSTEM_INFO native{};
  ::GetNativeSystemInfo(&native);
  if (native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL ||
      native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) {
    EXPECT_EQ(info.CPUVersion(), sizeof(void*) == 4 ? L"Intel Pentium" : L"(unknown)");
  }
  EXPECT_FALSE(info.WinName().empty());
  EXPECT_TRUE(std::regex_match(Ansi(info.WinVersion()), std::regex(R"(\d+\.\d+ \(Build -?\d+\))")))
      << Ansi(info.WinVersion());
  EXPECT_GT(info.MemoryFree(), 0);
  EXPECT_GE(info.MemoryTotal(), info.MemoryFree());
  EXPECT_GE(info.VirtualMemoryTotal(), info.VirtualMemoryFree());
}

TEST_F(SysinfoE2E, MemoryTextsAndOsName) {
  const tv::sysinfo::MemoryTexts memory = tv::sysinfo::ShowMemory(os);
  Record("ShowMemoryTotal", memory.total);
  Record("ShowMemoryFree", memory.free);
  const std::regex gigabytes(R"(\d*[.,]\d{0,2} GB)");
  EXPECT_TRUE(std::regex_match(Ansi(memory.total), gigabytes)) << Ansi(memory.total);
  EXPECT_TRUE(std::regex_match(Ansi(memory.free), gigabytes)) << Ansi(memory.free);
  EXPECT_GE(std::stod("0" + Ansi(memory.total)), std::stod("0" + Ansi(memory.free)));

  char buffer[256] = {};
  const DWORD length = ::GetEnvironmentVariableA("oS", buffer, sizeof buffer);
  Record("GetOS", tv::sysinfo::GetOS(os));
  EXPECT_FALSE(tv::sysinfo::GetOS(os).empty());
  EXPECT_EQ(Ansi(tv::sysinfo::GetOS(os)), std::string(buffer, length));
  ::SetEnvironmentVariableA("OS", "Test_OS");
  EXPECT_EQ(tv::sysinfo::GetOS(os), L"Test_OS");
}

TEST_F(SysinfoE2E, UptimeLabelAndRegistry) {
  const std::wstring uptime = tv::sysinfo::CurrentUptimeLabelText(ticks);
  Record("UptimeLabel", uptime);
  EXPECT_TRUE(std::regex_match(Ansi(uptime), std::regex(R"(\d+ days, \d+ hours, \d+ minutes)")))
      << Ansi(uptime);
  EXPECT_FALSE(tv::sysinfo::ReadRegistryValue(
                   registry, codePage,
                   L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir")
                   .empty());
  EXPECT_EQ(tv::sysinfo::ReadRegistryValue(registry, codePage, L"HKCU\\NoSuchKey\\NoSuchValue"),
            L"");
}

// Where the search flag is refused (XP), the full path must find the same library.
TEST_F(SysinfoE2E, SystemLibrariesLoadWithAndWithoutTheSearchFlag) {
  const HMODULE searched = tv::platform::LoadSystemLibrary("shlwapi.dll");
  const HMODULE byPath = tv::platform::LoadFromSystemFolder("shlwapi.dll");
  ASSERT_NE(searched, nullptr);
  EXPECT_EQ(byPath, searched);
  EXPECT_EQ(tv::platform::LoadSystemLibrary("tv-no-such-library.dll"), nullptr);
  EXPECT_EQ(tv::platform::LoadFromSystemFolder("tv-no-such-library.dll"), nullptr);
  ::FreeLibrary(byPath);
  ::FreeLibrary(searched);
}

TEST_F(SysinfoE2E, ProgramCountCountsWhatTheTaskbarWouldShow) {
  auto make = [](DWORD exStyle, DWORD style, HWND owner, const char* title) {
    return ::CreateWindowExA(exStyle, "STATIC", title, style, 10, 10, 120, 40, owner, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  };
  const int before = TaskbarCount();
  const HWND plain = make(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, "plain");
  const HWND tool = make(WS_EX_TOOLWINDOW, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, "tool");
  const HWND owned = make(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, plain, "owned");
  const HWND ownedApp = make(WS_EX_APPWINDOW, WS_OVERLAPPEDWINDOW | WS_VISIBLE, plain, "app");
  const HWND hidden = make(0, WS_OVERLAPPEDWINDOW, nullptr, "hidden");
  EXPECT_EQ(TaskbarCount(), before + 2);
  const std::wstring count = tv::sysinfo::ShowProgramCount(os);
  Record("ShowProgramCount", count);
  EXPECT_FALSE(count.empty());
  for (HWND w : {ownedApp, owned, hidden, tool, plain}) ::DestroyWindow(w);
  EXPECT_EQ(TaskbarCount(), before);
}

}  // namespace
