#include "form/tool_state.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_timer.h"

namespace tv::form {
namespace {

using Field = ToolState::Field;

class ToolStateTest : public ::testing::Test {
 protected:
  ToolStateTest() {
    state.SetListener([this](Field field) { changes.push_back(field); });
  }

  platform::FakeTimer clearTimer;
  ToolState state{clearTimer};
  std::vector<Field> changes;
};

TEST_F(ToolStateTest, StartsWithScanningOffSendsOnAndTheClearTimerOff) {
  EXPECT_EQ(state.userName(), L"");
  EXPECT_FALSE(state.scanOn());
  EXPECT_FALSE(state.sendsOff());
  EXPECT_EQ(state.sendsText(), L"On");
  EXPECT_EQ(state.clearMinutesText(), L"0");
  EXPECT_EQ(state.clearStatusText(), L"Off");
  EXPECT_EQ(state.clearIntervalMs(), 0);
  EXPECT_FALSE(state.clearTimerOn());
  EXPECT_EQ(clearTimer.starts(), 0);
}

TEST_F(ToolStateTest, ReportsChangesOnlyWithTheNewValueInPlace) {
  std::wstring seen;
  state.SetListener([&](Field field) {
    changes.push_back(field);
    seen = state.userName();
  });
  state.SetUserName(L"tester");
  state.SetUserName(L"tester");
  state.SetSendsOff(true);
  state.SetSendsText(L"On");
  EXPECT_EQ(changes, (std::vector<Field>{Field::kUserName, Field::kSendsOff}));
  EXPECT_EQ(seen, L"tester");
}

}  // namespace
}  // namespace tv::form
