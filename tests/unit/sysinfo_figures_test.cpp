#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_system_os.h"
#include "sysinfo/figures.h"

namespace tv::sysinfo {
namespace {

using platform::RegistryRoot;
using platform::TopLevelWindow;

TEST(FormatGigabytesTest, WritesTwoDecimalsWithoutTrailingZerosOrLeadingZero) {
  const std::vector<std::pair<std::uint64_t, std::wstring>> cases = {
      {268'435'456, L".26 GB"},
      {536'870'912, L".52 GB"},
      {1'073'741'824, L"1.05 GB"},
      {2'147'483'647, L"2.1 GB"},
      {2'048'000'000, L"2. GB"},
      {0, L". GB"},
      {17'179'869'184, L"16.78 GB"},  // past 32 bits
      {51'200'000, L".05 GB"},
      {102'400'000, L".1 GB"},
      {102'400'000'000, L"100. GB"},
      {1'023'999'999, L"1. GB"},  // .99999 rounds up into the whole part
      {UINT64_MAX, L"18014398509.48 GB"},
      // Exact halves go away from zero; binary floating point would put some of them below.
      {5'120'000, L".01 GB"},
      {5'119'999, L". GB"},
      {15'360'000, L".02 GB"},
      {261'120'000, L".26 GB"},
      {1'029'120'000, L"1.01 GB"},
      {1'029'119'999, L"1. GB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatGigabytes(bytes, L"."), text) << bytes;
}

TEST(FormatGigabytesTest, WritesTheGivenDecimalSeparator) {
  EXPECT_EQ(FormatGigabytes(1'073'741'824, L","), L"1,05 GB");
  EXPECT_EQ(FormatGigabytes(2'048'000'000, L","), L"2, GB");
  EXPECT_EQ(FormatGigabytes(0, L","), L", GB");
}

TEST(ShowMemoryTest, FormatsTotalAndFreePhysicalMemoryWithTheUsersSeparator) {
  const std::vector<std::pair<std::string, MemoryTexts>> cases = {
      {".", {L"16.78 GB", L".52 GB"}},
      {",", {L"16,78 GB", L",52 GB"}},
      {"", {L"16.78 GB", L".52 GB"}},  // unreadable: a point
  };
  platform::FakeSystemOs fake;
  fake.figures.memory = {17'179'869'184, 536'870'912, 1'073'741'824, 0};
  for (const auto& [separator, texts] : cases) {
    fake.figures.decimalSeparator = separator;
    const MemoryTexts shown = ShowMemory(fake.Os());
    EXPECT_EQ(shown.total, texts.total) << separator;
    EXPECT_EQ(shown.free, texts.free) << separator;
  }
}

TEST(GetOsTest, FindsTheVariableWhateverTheCaseOfItsName) {
  const std::vector<std::pair<std::vector<std::string>, std::wstring>> cases = {
      {{"OS=Windows_NT"}, L"Windows_NT"},
      {{"os=Windows_NT"}, L"Windows_NT"},
      {{"Os=x"}, L"x"},
      {{"PATH=C:\\", "oS=x", "TEMP=C:\\t"}, L"x"},
      {{}, L""},
      {{"OSX=1", "OS_TYPE=2", "POS=3", "O=S"}, L""},
      {{"=C:=C:\\Work", "=OS=hidden", "OS=Windows_NT"}, L"Windows_NT"},
      {{"OS=first", "os=second"}, L"first"},
      {{"OS="}, L""},
      {{"OS=a=b"}, L"a=b"},
      {{"OS"}, L""},
      {{"OS=Caf\xE9"}, L"Caf\u00E9"},
  };
  platform::FakeSystemOs fake;
  for (const auto& [entries, value] : cases) {
    fake.environment.entries = entries;
    EXPECT_EQ(GetOS(fake.Os()), value) << ::testing::PrintToString(entries);
  }
}

TEST(GetOsTest, ReadsTheEnvironmentAfreshEachTime) {
  platform::FakeSystemOs fake;
  EXPECT_EQ(GetOS(fake.Os()), L"");
  fake.environment.entries = {"OS=Windows_NT"};
  EXPECT_EQ(GetOS(fake.Os()), L"Windows_NT");
}

TopLevelWindow Plain() {
  TopLevelWindow w;
  w.handle = 0x10;
  w.visible = true;
  w.titleLength = 5;
  return w;
}

TEST(CountTaskbarWindowsTest, CountsWhatTheTaskbarWouldShow) {
  struct Case {
    const char* what;
    TopLevelWindow window;
    bool counted;
  };
  std::vector<Case> cases;
  auto add = [&cases](const char* what, bool counted, auto change) {
    TopLevelWindow w = Plain();
    change(w);
    cases.push_back({what, w, counted});
  };
  add("plain", true, [](TopLevelWindow&) {});
  add("hidden", false, [](TopLevelWindow& w) { w.visible = false; });
  add("cloaked", false, [](TopLevelWindow& w) { w.cloaked = true; });
  add("untitled", false, [](TopLevelWindow& w) { w.titleLength = 0; });
  add("owned", false, [](TopLevelWindow& w) { w.owner = 0x20; });
  add("tool", false, [](TopLevelWindow& w) { w.exStyle = platform::kWsExToolWindow; });
  add("owned app", true, [](TopLevelWindow& w) {
    w.owner = 0x20;
    w.exStyle = platform::kWsExAppWindow;
  });
  add("tool app", true,
      [](TopLevelWindow& w) { w.exStyle = platform::kWsExAppWindow | platform::kWsExToolWindow; });
  add("hidden app", false, [](TopLevelWindow& w) {
    w.visible = false;
    w.exStyle = platform::kWsExAppWindow;
  });
  add("untitled app", false, [](TopLevelWindow& w) {
    w.titleLength = 0;
    w.exStyle = platform::kWsExAppWindow;
  });
  add("shell", false, [](TopLevelWindow& w) { w.handle = 0x99; });

  std::vector<TopLevelWindow> all;
  int expected = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(CountTaskbarWindows({c.window}, 0x99), c.counted ? 1 : 0) << c.what;
    all.push_back(c.window);
    expected += c.counted ? 1 : 0;
  }
  EXPECT_EQ(CountTaskbarWindows(all, 0x99), expected);
  EXPECT_EQ(CountTaskbarWindows(all, platform::kNoWindow), expected + 1);
}

TEST(ShowProgramCountTest, GivesTheRegistryValueWhenThereIsOne) {
  platform::FakeSystemOs fake;
  fake.windows.enumerationFails = true;
  fake.registry.SetDword(RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount", 7);
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"7");
  ASSERT_EQ(fake.registry.Log().size(), 1u);
  EXPECT_EQ(fake.registry.Log()[0].root, RegistryRoot::kCurrentUser);
  EXPECT_EQ(fake.registry.Log()[0].subKey, "SessionInformation");
  EXPECT_EQ(fake.registry.Log()[0].valueName, "ProgramCount");

  fake.registry.SetString(RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount", "12");
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"12");
}

TEST(ShowProgramCountTest, CountsTaskbarWindowsWhereTheRegistryHasNoValue) {
  platform::FakeSystemOs fake;
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"0");
  TopLevelWindow tool = Plain();
  tool.exStyle = platform::kWsExToolWindow;
  fake.windows.windows = {Plain(), tool, Plain()};
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"2");
  fake.registry.Set(RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount",
                    {platform::kRegBinary, {1}});
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"2");
  fake.windows.enumerationFails = true;
  EXPECT_EQ(ShowProgramCount(fake.Os()), L"");
}

}  // namespace
}  // namespace tv::sysinfo
