#include "interp/clear_timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_chat_room.h"
#include "interp_fakes.h"

namespace tv::interp {
namespace {

struct TickCase {
  bool sendsOff;
  std::vector<std::string> sent;
};

class ClearTimerTickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(ClearTimerTickTest, EmptiesTheTranscriptAndAnnouncesItUnlessSendsAreOff) {
  testing::FakeChatRoom room;
  FakeTimer clearTimer;
  ToolState state(clearTimer);
  state.SetSendsOff(GetParam().sendsOff);
  room.Say("Alice", "hello");
  room.SayAsUser("hi");

  ClearTimerTick(room.Os(), state);

  EXPECT_EQ(room.Sent(), GetParam().sent);
  // The notice, when sent, comes back as the transcript's only line.
  if (GetParam().sent.empty()) {
    EXPECT_EQ(room.Transcript(), "");
  } else {
    EXPECT_EQ(room.Transcript(), room.UserLine("[Chat Cleared]"));
  }
}

INSTANTIATE_TEST_SUITE_P(SendsSwitch, ClearTimerTickTest,
                         ::testing::Values(TickCase{false, {"[Chat Cleared]"}},
                                           TickCase{true, {}}));

TEST(ClearTimerTick, DoesNothingWithoutAChatRoomWindow) {
  testing::FakeChatRoom room;
  room.Close();
  FakeTimer clearTimer;
  ToolState state(clearTimer);
  const std::size_t logged = room.desktop.Log().size();
  ClearTimerTick(room.Os(), state);
  EXPECT_TRUE(room.Sent().empty());
  // Only lookups: no message reaches any window.
  EXPECT_EQ(room.desktop.Log().size(), logged);
}

}  // namespace
}  // namespace tv::interp
