#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_system_os.h"
#include "sysinfo/figures.h"
#include "sysinfo/system_info.h"

namespace tv::sysinfo {
namespace {

struct VersionCase {
  platform::OsVersion version;
  std::wstring winName;
  std::wstring winVersion;
};

TEST(SystemInfoTest, NamesTheOperatingSystemByTheFirstMatchingRow) {
  const std::vector<VersionCase> cases = {
      {{3, 5, 807}, L"Windows NT ", L"3.5 (Build 807)"},
      {{3, 51, 1057}, L"Windows ", L"3.51 (Build 1057)"},
      {{3, 10, 0}, L"Windows ", L"3.10 (Build 0)"},
      {{3, 0, 0}, L"Windows ", L"3.0 (Build 0)"},
      {{4, 0, 1381}, L"Windows NT ", L"4.0 (Build 1381)"},
      {{4, 1, 0}, L"Windows 98 ", L"4.1 (Build 0)"},
      {{4, 10, 2222}, L"Windows ME ", L"4.10 (Build 2222)"},
      {{4, 90, 3000}, L"Windows ME ", L"4.90 (Build 3000)"},
      {{4, 2, 0}, L"Windows ME ", L"4.2 (Build 0)"},
      {{5, 1, 2600}, L"Windows XP ", L"5.1 (Build 2600)"},
      {{5, 0, 2195}, L"Windows 2000 ", L"5.0 (Build 2195)"},
      {{5, 2, 3790}, L"Windows 2000 ", L"5.2 (Build 3790)"},
      {{5, 10, 0}, L"Windows 2000 ", L"5.10 (Build 0)"},
      {{6, 2, 9200}, L"Windows Unknown Version", L"6.2 (Build 9200)"},
      {{10, 0, 19045}, L"Windows Unknown Version", L"10.0 (Build 19045)"},
      {{0, 0, 0}, L"Windows Unknown Version", L"0.0 (Build 0)"},  // what a failed call leaves
      {{2, 5, 0}, L"Windows Unknown Version", L"2.5 (Build 0)"},
      // A build field with its upper half in use is written whole, negative if the top bit is set.
      {{4, 10, 67'766'446}, L"Windows ME ", L"4.10 (Build 67766446)"},
      {{4, 10, 0xC000'0A28}, L"Windows ME ", L"4.10 (Build -1073739224)"},
      // Version numbers are not cut to 16 bits, which would turn 65541 into 5.
      {{65'541, 1, 0}, L"Windows Unknown Version", L"65541.1 (Build 0)"},
  };
  platform::FakeSystemFigures figures;
  for (const VersionCase& c : cases) {
    figures.version = c.version;
    const cSystemInfo info(figures);
    EXPECT_EQ(info.WinName(), c.winName) << c.version.major << "." << c.version.minor;
    EXPECT_EQ(info.WinVersion(), c.winVersion) << c.version.major << "." << c.version.minor;
  }
}

TEST(SystemInfoTest, NamesTheProcessorType) {
  const std::vector<std::pair<std::uint32_t, std::wstring>> cases = {
      {386, L"Intel 386"},   {486, L"Intel 486"},         {586, L"Intel Pentium"},
      {4000, L"MIPS R4000"}, {21064, L"DEC Alpha 21064"}, {0, L"(unknown)"},
      {8664, L"(unknown)"},  {587, L"(unknown)"},         {0xFFFF'FFFF, L"(unknown)"},
  };
  platform::FakeSystemOs fake;
  for (const auto& [type, name] : cases) {
    fake.figures.processorType = type;
    EXPECT_EQ(cSystemInfo(fake.figures).CPUVersion(), name) << type;
    EXPECT_EQ(ShowCPU(fake.Os()), name) << type;
  }
}

TEST(SystemInfoTest, KilobytesRoundHalvesToEvenAndCap) {
  const std::vector<std::pair<std::uint64_t, std::int32_t>> cases = {
      {0, 0},
      {511, 0},
      {512, 0},  // half of 0 and 1: the even 0
      {513, 1},
      {1024, 1},
      {1536, 2},
      {2560, 2},
      {3584, 4},
      {536'870'912, 524'288},
      {17'179'869'184, 16'777'216},
      {2'199'023'254'528, 2'147'483'647},        // exactly the largest figure
      {2'199'023'254'528 + 512, 2'147'483'647},  // rounds to 2^31, capped
      {2'199'023'254'528 + 1024, 2'147'483'647},
      {UINT64_MAX, 2'147'483'647},
  };
  for (const auto& [bytes, kilobytes] : cases) EXPECT_EQ(ToKilobytes(bytes), kilobytes) << bytes;
}

TEST(SystemInfoTest, FillsEachMemoryPropertyFromItsOwnFigure) {
  platform::FakeSystemFigures figures;
  figures.memory = {11 * 1024ull, 22 * 1024ull, 33 * 1024ull, 44 * 1024ull};
  const cSystemInfo info(figures);
  EXPECT_EQ(info.MemoryTotal(), 11);
  EXPECT_EQ(info.MemoryFree(), 22);
  EXPECT_EQ(info.VirtualMemoryTotal(), 33);
  EXPECT_EQ(info.VirtualMemoryFree(), 44);
}

TEST(SystemInfoTest, WritesTheBrowserComponentsVersion) {
  const std::vector<std::pair<std::optional<platform::DllVersion>, std::wstring>> cases = {
      {platform::DllVersion{6, 0, 2900}, L"Internet Explorer 6.0.2900"},
      {platform::DllVersion{0, 0, 0}, L"Internet Explorer 0.0.0"},  // call refused, record kept
      {platform::DllVersion{6, 0, 0xFFFF'FFFF}, L"Internet Explorer 6.0.-1"},
      {std::nullopt, L""},
  };
  platform::FakeSystemFigures figures;
  figures.version = {5, 1, 2600};
  figures.processorType = 486;
  figures.memory.totalPhys = 2048;
  for (const auto& [version, text] : cases) {
    figures.shellDllVersion = version;
    const cSystemInfo info(figures);
    EXPECT_EQ(info.IEVersion(), text);
    // A missing shell library costs only its own property.
    EXPECT_EQ(info.WinName(), L"Windows XP ");
    EXPECT_EQ(info.CPUVersion(), L"Intel 486");
    EXPECT_EQ(info.MemoryTotal(), 2);
  }
}

TEST(SystemInfoTest, IsASnapshotTakenAtCreation) {
  platform::FakeSystemFigures figures;
  figures.version = {5, 1, 2600};
  figures.memory.availPhys = 1024;
  const cSystemInfo info(figures);
  const int callsAtCreation = figures.calls;
  EXPECT_GT(callsAtCreation, 0);

  figures.version = {4, 0, 1381};
  figures.memory.availPhys = 4096;
  figures.processorType = 386;
  EXPECT_EQ(info.WinName(), L"Windows XP ");
  EXPECT_EQ(info.MemoryFree(), 1);
  EXPECT_EQ(info.CPUVersion(), L"Intel Pentium");
  EXPECT_EQ(figures.calls, callsAtCreation);
  EXPECT_EQ(cSystemInfo(figures).WinName(), L"Windows NT ");  // a new object reads anew
}

}  // namespace
}  // namespace tv::sysinfo
