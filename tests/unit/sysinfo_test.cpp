#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_system_os.h"
#include "sysinfo/figures.h"
#include "sysinfo/registry_value.h"
#include "sysinfo/system_info.h"
#include "sysinfo/uptime.h"

namespace tv::sysinfo {
namespace {

using platform::RegistryRoot;
using platform::TopLevelWindow;
const platform::FakeRegistry::Query kProgramCount{RegistryRoot::kCurrentUser, "SessionInformation",
                                                  "ProgramCount"};

// Two decimals without trailing zeros or a leading zero; exact halves go away from zero, where
// binary floating point would put some of them below.
TEST(FiguresTest, GigabytesAndMemoryInTheUsersSeparator) {
  // clang-format off
  const std::vector<std::pair<std::uint64_t, std::wstring>> cases = {
      {268'435'456, L".26 GB"}, {1'073'741'824, L"1.05 GB"}, {2'147'483'647, L"2.1 GB"},
      {2'048'000'000, L"2. GB"}, {0, L". GB"}, {17'179'869'184, L"16.78 GB"}, {51'200'000, L".05 GB"},
      {102'400'000'000, L"100. GB"}, {1'023'999'999, L"1. GB"}, {UINT64_MAX, L"18014398509.48 GB"},
      {5'120'000, L".01 GB"}, {5'119'999, L". GB"}, {1'029'120'000, L"1.01 GB"}, {1'029'119'999, L"1. GB"},
  };
  // clang-format on
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatGigabytes(bytes, L"."), text) << bytes;
  platform::FakeSystemOs fake;
  fake.figures.memory = {17'179'869'184, 536'870'912, 1'073'741'824, 0};
  for (const auto& [separator, total, free] :
       std::vector<std::tuple<std::string, std::wstring, std::wstring>>{
           {",", L"16,78 GB", L",52 GB"}, {"", L"16.78 GB", L".52 GB"}}) {  // unreadable: a point
    fake.figures.decimalSeparator = separator;
    EXPECT_EQ(ShowMemory(fake.Os()).total, total) << separator;
    EXPECT_EQ(ShowMemory(fake.Os()).free, free) << separator;
  }
}

TEST(FiguresTest, OsVariableWhateverTheCaseOfItsName) {
  // clang-format off
  const std::vector<std::pair<std::vector<std::string>, std::wstring>> cases = {
      {{"os=Windows_NT"}, L"Windows_NT"}, {{"PATH=C:\\", "oS=x", "TEMP=C:\\t"}, L"x"}, {{}, L""},
      {{"OSX=1", "OS_TYPE=2", "POS=3", "O=S"}, L""}, {{"=C:=C:\\Work", "=OS=hidden", "OS=NT"}, L"NT"},
      {{"OS=first", "os=second"}, L"first"}, {{"OS="}, L""}, {{"OS=a=b"}, L"a=b"}, {{"OS"}, L""},
      {{"OS=Caf\xE9"}, L"Caf\u00E9"},
  };
  // clang-format on
  platform::FakeSystemOs fake;
  for (const auto& [entries, value] : cases) {
    fake.environment.entries = entries;
    EXPECT_EQ(GetOS(fake.Os()), value) << ::testing::PrintToString(entries);
  }
}

TEST(FiguresTest, ProgramCountFromTheRegistryElseTheTaskbarsWindows) {
  const std::uint32_t app = platform::kWsExAppWindow, tool = platform::kWsExToolWindow;
  const platform::WindowHandle none = platform::kNoWindow, owner = 0x20;
  // Handle, visible, owner, extended style, title length, cloaked; and whether it counts.
  // clang-format off
  const std::vector<std::pair<TopLevelWindow, bool>> cases = {
      {{0x10, true, none, 0, 5}, true}, {{0x10, false, none, 0, 5}, false}, {{0x10, true, none, 0, 5, true}, false},
      {{0x10, true, none, 0, 0}, false}, {{0x10, true, owner, 0, 5}, false}, {{0x10, true, none, tool, 5}, false},
      {{0x10, true, owner, app, 5}, true}, {{0x10, true, none, app | tool, 5}, true},
      {{0x10, false, none, app, 5}, false}, {{0x10, true, none, app, 0}, false},
      {{0x99, true, none, 0, 5}, false},  // the shell's own
  };
  // clang-format on
  platform::FakeSystemOs fake;
  fake.windows.shellWindow = 0x99;
  int counted = 0;
  for (const auto& [w, shown] : cases) {
    EXPECT_EQ(CountTaskbarWindows({w}, 0x99), shown ? 1 : 0) << &w - &cases[0].first;
    fake.windows.windows.push_back(w);
    counted += shown ? 1 : 0;
  }
  EXPECT_EQ(CountTaskbarWindows(fake.windows.windows, platform::kNoWindow), counted + 1);
  EXPECT_EQ(ShowProgramCount(fake.Os()), std::to_wstring(counted));
  fake.registry.values[kProgramCount] = {platform::kRegBinary, {1}};
  EXPECT_EQ(ShowProgramCount(fake.Os()), std::to_wstring(counted));
  fake.windows.enumerationFails = true;
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"");
  fake.registry.Set(kProgramCount, "12");
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"12");
}

// Numbers and strings and nothing else; nothing is cached.
TEST(RegistryValueTest, ConvertsNumbersAndStrings) {
  const auto bytes = [](std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
  };
  using platform::RegistryValue;
  // clang-format off
  const std::vector<std::pair<std::optional<RegistryValue>, std::wstring>> cases = {
      {std::nullopt, L""}, {RegistryValue{platform::kRegDword, {2, 1, 0, 0}}, L"258"},
      {RegistryValue{platform::kRegQword, std::vector<std::uint8_t>(8, 0xFF)}, L"18446744073709551615"},
      {RegistryValue{platform::kRegSz, bytes(std::string("ab\0cd", 5))}, L"ab"},
      {RegistryValue{platform::kRegSz, bytes("caf\xE9")}, L"caf\u00E9"}, {RegistryValue{platform::kRegSz, {}}, L""},
      {RegistryValue{platform::kRegExpandSz, bytes("%windir%\\x")}, L"%windir%\\x"},
      {RegistryValue{platform::kRegDword, {7, 0, 0}}, L""}, {RegistryValue{platform::kRegQword, {7, 0, 0, 0}}, L""},
      {RegistryValue{platform::kRegDwordBigEndian, {0, 0, 0, 7}}, L""},
      {RegistryValue{platform::kRegMultiSz, bytes(std::string("a\0b\0\0", 5))}, L""},
  };
  // clang-format on
  const platform::IconvCodePage codePage;
  platform::FakeRegistry registry;
  for (const auto& [stored, expected] : cases) {
    if (stored) registry.values[kProgramCount] = *stored;
    EXPECT_EQ(ReadRegistryValue(registry, codePage, L"HKCU\\SessionInformation\\ProgramCount"),
              expected)
        << &expected - &cases[0].second;
  }
}

TEST(RegistryValueTest, SplitsThePathIntoRootKeyAndValueName) {
  const struct {
    std::wstring path;
    std::string query;  // root, key and value name; empty: no query
  } cases[] = {
      // clang-format off
      {L"HKEY_CURRENT_USER\\SessionInformation\\ProgramCount", "1|SessionInformation|ProgramCount"},
      {L"HKCU\\Software\\A\\B\\Val", "1|Software\\A\\B|Val"}, {L"hklm\\Software\\X\\", "2|Software\\X|"},
      {L"Hkey_Classes_Root\\k\\v", "0|k|v"}, {L"HKEY_USERS\\.DEFAULT\\v", "3|.DEFAULT|v"},
      {L"HKEY_CURRENT_CONFIG\\k\\v", "4|k|v"}, {L"HKCU\\Value", "1||Value"}, {L"HKCU\\caf\u00E9\\v", "1|caf\xE9|v"},
      {L"", ""}, {L"HKEY_CURRENT_USER", ""}, {L"HKU\\a\\b", ""}, {L"\\HKCU\\a", ""},
      {L"HKCU\\Soft\u263A\\v", ""},  // not in the code page: never "Soft?"
      // clang-format on
  };
  const platform::IconvCodePage codePage;
  for (const auto& c : cases) {
    platform::FakeRegistry registry;
    ReadRegistryValue(registry, codePage, c.path);
    std::string query;
    for (const auto& q : registry.log) {
      query += std::to_string(static_cast<int>(q.root)) + "|" + q.subKey + "|" + q.valueName;
    }
    EXPECT_EQ(query, c.query) << std::string(c.path.begin(), c.path.end());
  }
}

TEST(SystemInfoTest, NamesTheOperatingSystemAndTheProcessor) {
  const struct {
    platform::OsVersion figures;
    std::wstring name, version;
  } cases[] = {
      // clang-format off
      {{3, 5, 807}, L"Windows NT ", L"3.5 (Build 807)"}, {{3, 51, 1057}, L"Windows ", L"3.51 (Build 1057)"},
      {{4, 0, 1381}, L"Windows NT ", L"4.0 (Build 1381)"}, {{4, 1, 0}, L"Windows 98 ", L"4.1 (Build 0)"},
      {{4, 2, 0}, L"Windows ME ", L"4.2 (Build 0)"}, {{5, 1, 2600}, L"Windows XP ", L"5.1 (Build 2600)"},
      {{5, 2, 3790}, L"Windows 2000 ", L"5.2 (Build 3790)"}, {{6, 2, 9200}, L"Windows Unknown Version", L"6.2 (Build 9200)"},
      // The build is written whole, negative with the top bit; versions are not cut to 16 bits.
      {{4, 10, 0xC000'0A28}, L"Windows ME ", L"4.10 (Build -1073739224)"},
      {{65'541, 1, 0}, L"Windows Unknown Version", L"65541.1 (Build 0)"},
      // clang-format on
  };
  platform::FakeSystemOs fake;
  for (const auto& c : cases) {
    fake.figures.version = c.figures;
    const cSystemInfo info(fake.figures);
    EXPECT_EQ(info.WinName() + L"|" + info.WinVersion(), c.name + L"|" + c.version);
  }
  // clang-format off
  const std::vector<std::pair<std::uint32_t, std::wstring>> processors = {
      {386, L"Intel 386"}, {486, L"Intel 486"}, {586, L"Intel Pentium"}, {4000, L"MIPS R4000"},
      {21064, L"DEC Alpha 21064"}, {0, L"(unknown)"}, {487, L"(unknown)"}, {0xFFFF'FFFF, L"(unknown)"},
  };
  // clang-format on
  for (const auto& [type, name] : processors) {
    fake.figures.processorType = type;
    EXPECT_EQ(cSystemInfo(fake.figures).CPUVersion(), name) << type;
    EXPECT_EQ(ShowCPU(fake.Os()), name) << type;
  }
}

TEST(UptimeTest, BreaksTheCountIntoPartsForEachStyle) {
  const struct {
    std::int32_t ms, style;
    std::wstring text;
  } cases[] = {
      // clang-format off
      {93'784'005, 0, L"1 days, 2 hours, 3 minutes, 4 seconds, 5 milliseconds"},
      {93'784'005, 1, L"1 days, 2 hours, 3 minutes, 4 seconds"}, {93'784'005, 2, L"1:2:3:4:5"},
      {93'784'005, 3, L"1 days, 2 hours, 3 minutes"}, {0, 2, L"0:0:0:0:0"},
      {59'999, 3, L"0 days, 0 hours, 0 minutes"},  // never rounded up into a minute
      {86'399'999, 2, L"0:23:59:59:999"}, {INT32_MAX, 2, L"24:20:31:23:647"},
      // Negative counts: truncating division, remainders keep the sign.
      {-93'784'005, 0, L"-1 days, -2 hours, -3 minutes, -4 seconds, -5 milliseconds"},
      {-59'999, 1, L"0 days, 0 hours, 0 minutes, -59 seconds"}, {INT32_MIN, 2, L"-24:-20:-31:-23:-648"},
      {5, -1, L""}, {5, 4, L""}, {5, INT32_MIN, L""}, {5, INT32_MAX, L""},  // unknown styles
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatUptime(c.ms, c.style), c.text) << c.ms << " ms, style " << c.style;
    EXPECT_EQ(FormatLongUptime(c.ms, c.style), c.text) << c.ms << " ms, style " << c.style;
  }
  EXPECT_EQ(FormatLongUptime(int64_t{1000} * 86400 * 400, 3), L"400 days, 0 hours, 0 minutes");
}

}  // namespace
}  // namespace tv::sysinfo
