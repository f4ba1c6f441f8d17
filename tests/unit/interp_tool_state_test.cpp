#include "interp/tool_state.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_chat_room.h"
#include "interp_fakes.h"

namespace tv::interp {
namespace {

using Field = ToolState::Field;

class ToolStateTest : public ::testing::Test {
 protected:
  ToolStateTest() {
    state.SetListener([this](Field field) { changes.push_back(field); });
  }

  FakeTimer clearTimer;
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
  EXPECT_EQ(clearTimer.starts, 0);
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

TEST_F(ToolStateTest, StopScanIsSafeToRunAgainFromInsideItself) {
  tv::testing::FakeChatRoom room;
  FakeTimer scanTimer;
  chatctl::Chat chat(room.Os(), scanTimer);
  int runs = 0;
  // As the window does: its scan box follows scanOn, and unticking the box runs StopScan.
  state.SetListener([&](Field field) {
    if (field == Field::kScanOn && !state.scanOn() && ++runs < 5) StopScan(state, chat);
  });
  chat.scan_on();
  state.SetScanOn(true);
  state.SetUserName(L"tester");
  StopScan(state, chat);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(state.scanOn());
  EXPECT_EQ(state.userName(), L"");
  EXPECT_FALSE(chat.scanning());
  EXPECT_FALSE(scanTimer.running);
}

}  // namespace
}  // namespace tv::interp
