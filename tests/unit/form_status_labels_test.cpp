#include "form/status_labels.h"

#include <gtest/gtest.h>

#include "form/controls.h"
#include "platform/fake/fake_system_os.h"

namespace tv::form {
namespace {

class StatusLabelsTest : public ::testing::Test {
 protected:
  StatusLabelsTest() {
    labels.SetListener([this](int label) { changes.push_back(label); });
  }

  platform::FakeSystemOs fake;
  platform::SystemOs os = fake.Os();
  StatusLabels labels{os};
  std::vector<int> changes;
};

TEST_F(StatusLabelsTest, DesignCaptionsUntilTheFirstRefresh) {
  EXPECT_EQ(labels.Caption(kLabel1), L"Uptime");
  EXPECT_EQ(labels.Caption(kRamlbl), L"Ram Available");
  EXPECT_EQ(labels.Caption(kRamfreelbl), L"Ram Free");
  EXPECT_EQ(labels.Caption(kRunningprogramslbl), L"Running Programs");
  EXPECT_EQ(labels.Caption(kCPU), L"CPU Model");
  EXPECT_EQ(labels.Caption(kText1), L"") << "no status label";
}

TEST_F(StatusLabelsTest, StatusTickWritesTheUptimeOnlyWhenItChanges) {
  fake.ticks.now = 93'784'005;
  labels.Timer1_Timer();
  EXPECT_EQ(labels.Caption(kLabel1), L"1 days, 2 hours, 3 minutes");
  fake.ticks.now += 50'000;  // still the same minute
  labels.Timer1_Timer();
  labels.Timer1_Timer();
  EXPECT_EQ(changes, std::vector<int>{kLabel1});
  fake.ticks.now += 10'000;
  labels.Timer1_Timer();
  EXPECT_EQ(labels.Caption(kLabel1), L"1 days, 2 hours, 4 minutes");
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(StatusLabelsTest, UptimePastTheSignedRangeKeepsCountingUntilTheWrap) {
  fake.ticks.now = 0x8000'0000u;  // 2^31 ms
  labels.Timer1_Timer();
  EXPECT_EQ(labels.Caption(kLabel1), L"24 days, 20 hours, 31 minutes");
  fake.ticks.now = 0xFFFF'FFFFu;
  labels.Timer1_Timer();
  EXPECT_EQ(labels.Caption(kLabel1), L"49 days, 17 hours, 2 minutes");
  fake.ticks.now = 5;  // wrapped
  labels.Timer1_Timer();
  EXPECT_EQ(labels.Caption(kLabel1), L"0 days, 0 hours, 0 minutes");
}

TEST_F(StatusLabelsTest, SystemInfoLineOfTheReferenceFigures) {
  fake.environment.entries = {"PATH=C:\\", "OS=Windows_NT"};
  fake.figures.processorType = 586;
  fake.figures.memory.totalPhys = 1'073'741'824;
  fake.figures.memory.availPhys = 536'870'912;
  fake.registry.SetDword(platform::RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount",
                         7);
  fake.ticks.now = 93'784'005;
  labels.ShowCPU();
  labels.Timer1_Timer();
  EXPECT_EQ(labels.SystemInfoLine(),
            L"[System Info] [OS - Windows_NT] [CPU - Intel Pentium] [Uptime - 1 days, 2 hours, 3 "
            L"minutes] [RAM - Total = 1.05 GB, Free = .52 GB] [Programs Running = 7]");
  EXPECT_EQ(labels.Caption(kRunningprogramslbl), L"7");
  EXPECT_EQ(labels.Caption(kRamlbl), L"1.05 GB");
}

TEST_F(StatusLabelsTest, SystemInfoRefreshesCountAndMemoryButNotCpuOrUptime) {
  fake.figures.memory.totalPhys = 2'048'000'000;
  fake.figures.memory.availPhys = 0;
  const std::wstring line = labels.SystemInfoLine();
  EXPECT_EQ(line,
            L"[System Info] [OS - ] [CPU - CPU Model] [Uptime - Uptime] [RAM - Total = 2. GB, "
            L"Free = . GB] [Programs Running = 0]");
  EXPECT_EQ(changes, (std::vector<int>{kRunningprogramslbl, kRamlbl, kRamfreelbl}));
}

}  // namespace
}  // namespace tv::form
