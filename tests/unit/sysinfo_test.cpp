#include <gtest/gtest.h>

#include "platform/fake/fake_system_os.h"
#include "sysinfo/figures.h"
#include "sysinfo/system_info.h"
#include "sysinfo/uptime.h"

namespace tv::sysinfo {
namespace {

const platform::FakeRegistry::Query kProgramCount{platform::RegistryRoot::kCurrentUser,
                                                  "SessionInformation", "ProgramCount"};

// The OS variable's name matches whatever its case, the first entry winning. Gigabytes have two
// decimals without trailing zeros or a leading zero; exact halves go away from zero, where binary
// floating point would put some of them below.
TEST(FiguresTest, OsProcessorAndMemoryInTheUsersSeparator) {
  platform::FakeSystemOs fake;
  // clang-format off
  const std::pair<std::vector<std::string>, std::wstring> os[] = {
      {{"PATH=C:\\", "oS=x", "TEMP=C:\\t"}, L"x"}, {{"OSX=1", "OS_TYPE=2", "POS=3", "O=S", "OS"}, L""},
      {{"=C:=C:\\", "=OS=hidden", "OS=NT"}, L"NT"}, {{"OS=a=b", "os=second"}, L"a=b"}, {{"OS=Caf\xE9"}, L"Caf\u00E9"},
  };
  // clang-format on
  for (const auto& [entries, value] : os) {
    fake.environment.entries = entries;
    EXPECT_EQ(GetOS(fake.Os()), value) << ::testing::PrintToString(entries);
  }
  // clang-format off
  const std::pair<std::uint64_t, std::wstring> gigabytes[] = {
      {1'073'741'824, L"1.05 GB"}, {2'147'483'647, L"2.1 GB"}, {0, L". GB"}, {51'200'000, L".05 GB"},
      {102'400'000'000, L"100. GB"}, {1'023'999'999, L"1. GB"}, {UINT64_MAX, L"18014398509.48 GB"},
      {5'120'000, L".01 GB"}, {5'119'999, L". GB"}, {1'029'120'000, L"1.01 GB"},
  };
  // clang-format on
  for (const auto& [bytes, text] : gigabytes)
    EXPECT_EQ(FormatGigabytes(bytes, L"."), text) << bytes;
  fake.figures.memory = {17'179'869'184, 536'870'912, 0, 0};
  fake.figures.decimalSeparator = ",";
  EXPECT_EQ(ShowMemory(fake.Os()).total + L"|" + ShowMemory(fake.Os()).free, L"16,78 GB|,52 GB");
  fake.figures.decimalSeparator = "";  // unreadable: a point
  EXPECT_EQ(ShowMemory(fake.Os()).free, L".52 GB");
}

// The registry's value as text where it gives one, else the windows the taskbar shows. Registry
// values give numbers and strings and nothing else, and nothing is cached.
TEST(FiguresTest, ProgramCountFromTheRegistryElseTheTaskbarsWindows) {
  const std::uint32_t app = platform::kWsExAppWindow, tool = platform::kWsExToolWindow;
  const platform::WindowHandle none = platform::kNoWindow, owner = 0x20;
  // Handle, visible, owner, extended style, title length, cloaked; and whether it counts.
  // clang-format off
  const std::pair<platform::TopLevelWindow, bool> windows[] = {
      {{0x10, true, none, 0, 5}, true}, {{0x10, false, none, 0, 5}, false}, {{0x10, true, none, 0, 5, true}, false},
      {{0x10, true, none, 0, 0}, false}, {{0x10, true, owner, 0, 5}, false}, {{0x10, true, none, tool, 5}, false},
      {{0x10, true, owner, app, 5}, true}, {{0x10, true, none, app | tool, 5}, true},
      {{0x10, false, none, app, 5}, false}, {{0x99, true, none, 0, 5}, false},  // the shell's own
  };
  // clang-format on
  platform::FakeSystemOs fake;
  fake.windows.shellWindow = 0x99;
  for (const auto& [w, shown] : windows) {
    fake.windows.windows = {w, w};
    EXPECT_EQ(ShowProgramCount(fake.Os()), shown ? L"2" : L"0") << &w - &windows[0].first;
  }
  // clang-format off
  const std::pair<platform::RegistryValue, std::wstring> values[] = {
      {{platform::kRegQword, {1, 0, 0, 0, 0, 0, 0, 0x80}}, L"9223372036854775809"}, {{platform::kRegBinary, {1}}, L""},
      {{platform::kRegDword, {2, 1, 0, 0}}, L"258"}, {{platform::kRegDword, {7, 0, 0}}, L""},
      {{platform::kRegSz, {'a', 'b', 0, 'c'}}, L"ab"}, {{platform::kRegSz, {'c', 'a', 'f', 0xE9}}, L"caf\u00E9"},
      {{platform::kRegExpandSz, {'%', 'a', '%'}}, L"%a%"}, {{platform::kRegMultiSz, {'a', 0, 'b', 0, 0}}, L""},
  };
  // clang-format on
  fake.windows.enumerationFails = true;
  for (const auto& [value, text] : values) {
    fake.registry.values[kProgramCount] = value;
    EXPECT_EQ(ShowProgramCount(fake.Os()), text) << &text - &values[0].second;
  }
}

// The snapshot's names and kilobytes, and the uptime's other styles, which "/sysinfo" does not
// show but the snapshot and the formatter keep: halves of a kilobyte go to the even neighbour,
// minor versions compare whole, seconds and milliseconds are dropped or shown, never rounded.
TEST(SystemInfoTest, NamesKilobytesAndUptimeStyles) {
  // clang-format off
  const std::pair<std::uint32_t, std::wstring> processors[] = {
      {386, L"Intel 386"}, {486, L"Intel 486"}, {586, L"Intel Pentium"}, {4000, L"MIPS R4000"},
      {21064, L"DEC Alpha 21064"}, {487, L"(unknown)"}};
  const std::tuple<int, int, std::wstring> windows[] = {
      {3, 5, L"Windows NT "}, {3, 51, L"Windows "}, {4, 0, L"Windows NT "}, {4, 1, L"Windows 98 "},
      {4, 90, L"Windows ME "}, {5, 1, L"Windows XP "}, {5, 0, L"Windows 2000 "}, {6, 0, L"Windows Unknown Version"}};
  const std::pair<std::uint64_t, std::int32_t> kilobytes[] = {
      {1535, 1}, {1536, 2}, {2560, 2}, {2561, 3}, {std::uint64_t{1} << 41, kMaxKilobytes}};
  const std::pair<std::int32_t, std::wstring> styles[] = {
      {0, L"1 days, 2 hours, 3 minutes, 4 seconds, 5 milliseconds"},
      {1, L"1 days, 2 hours, 3 minutes, 4 seconds"}, {2, L"1:2:3:4:5"}, {4, L""}};
  // clang-format on
  for (const auto& [type, name] : processors) EXPECT_EQ(ProcessorName(type), name) << type;
  for (const auto& [major, minor, name] : windows) EXPECT_EQ(WindowsName(major, minor), name);
  for (const auto& [bytes, kb] : kilobytes) EXPECT_EQ(ToKilobytes(bytes), kb) << bytes;
  for (const auto& [style, text] : styles) EXPECT_EQ(FormatLongUptime(93'784'005, style), text);
}

}  // namespace
}  // namespace tv::sysinfo
