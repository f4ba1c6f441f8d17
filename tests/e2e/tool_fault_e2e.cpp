// The real tool against a room that misbehaves: hangs, closes, loses its transcript, floods, and
// strangers who try to pass as the user.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/room_and_tool.h"

namespace {

using namespace std::chrono_literals;
using e2e::kMoreText;
namespace app = tv::app;

class ToolFaultE2E : public e2e::RoomAndTool {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RoomAndTool::SetUp());
    ASSERT_TRUE(StartScan());
  }
};

TEST_F(ToolFaultE2E, HungRoomWhileScanningThenCommandsAreAnsweredAgain) {
  ASSERT_TRUE(room->Hang(4000ms));
  // The tool's own window keeps working for whatever the tool is not sending to the room.
  ASSERT_EQ(Reply("/cson"), "[Chatsends On]");
  ASSERT_EQ(Reply("/more"), kMoreText);
}

TEST_F(ToolFaultE2E, HungRoomWhileAReplyIsBeingSent) {
  // The command goes in, and the room hangs before the tool's next tick sends the reply.
  ASSERT_TRUE(room->TypeAsUser("/csoff"));
  ASSERT_TRUE(room->Hang(3000ms));
  ASSERT_TRUE(WaitForOwn("[Chatsends Off]", 1, 30s));
  EXPECT_EQ(tool.Text(app::kChatsendlbl), "Off");
  ASSERT_EQ(Reply("/cson"), "[Chatsends On]");
}

TEST_F(ToolFaultE2E, RoomClosedWhileScanningAndANewOneIsPickedUp) {
  room.reset();  // roomsim ends: no chat window at all
  ASSERT_TRUE(e2e::WaitFor([] { return FindWindowA("AIM_ChatWnd", nullptr) == nullptr; }));
  ASSERT_TRUE(e2e::WaitFor([&] { return tool.IsChecked(app::kCheck1); }, 2s));
  room = std::make_unique<e2e::Roomsim>(e2e::Roomsim::Options{"Lobby", user, ""});
  ASSERT_TRUE(room->started());
  // Scanning goes on; the user is already known, so commands are obeyed at once.
  EXPECT_TRUE(tool.IsChecked(app::kCheck1));
  ASSERT_EQ(Reply("/cson"), "[Chatsends On]");
}

TEST_F(ToolFaultE2E, TranscriptClearedUnderTheScanner) {
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(room->SetTranscript(""));
    ASSERT_EQ(Reply("/cson"), "[Chatsends On]");
  }
}

TEST_F(ToolFaultE2E, StrangersPassingAsTheUserAreNotObeyed) {
  const std::vector<std::pair<std::string, std::string>> attempts = {
      {"Stranger", "/clear #ff0000"}, {"Stranger", "<font color=\"#ff0000\">/clear</font>"},
      {"Tester2", "/clear"},          {"Test er", "/csoff"},
      {"Stranger", "Tester: /csoff"}, {"tester ", "/csoff"},
  };
  for (const auto& [speaker, message] : attempts) ASSERT_TRUE(room->SayAsOther(speaker, message));
  // Give the scanner several ticks; then the user's own command still works and nothing else ran.
  ASSERT_EQ(Reply("/more"), kMoreText);
  EXPECT_EQ(Count("[Chat Cleared]"), 0);
  EXPECT_EQ(Count("[Chatsends Off]"), 0);
  EXPECT_EQ(tool.Text(app::kChatsendlbl), "On");
  EXPECT_NE(room->Transcript().find("Stranger"), std::string::npos);
}

// 40 s by default: long enough to compare the tool's memory after 20 s with its memory at the
// end; TV_FLOOD_SECONDS=600 makes a soak of it.
int FloodSeconds() {
  char value[16] = {};
  return GetEnvironmentVariableA("TV_FLOOD_SECONDS", value, sizeof value) ? std::atoi(value) : 40;
}

// Other speakers say 20 lines a second, in one burst each second; right after each burst the user
// gives a command, every third second. The scanner reports only the newest line of a tick, so the
// command has the quiet rest of the second to be seen, as in a busy room.
TEST_F(ToolFaultE2E, FloodOfOtherSpeakers) {
  const int seconds = FloodSeconds();
  e2e::ToolProcess::MemoryUse settled;
  int commands = 0;
  int offReplies = 0, onReplies = 0, cleared = 0;  // counted before each emptying of the room
  const auto start = std::chrono::steady_clock::now();
  for (int second = 0; second < seconds; ++second) {
    // The transcript is emptied now and then, as the clear timer would, so that the tool's
    // memory shows leaks rather than the room's ever longer text it reads each tick.
    // The last command came 3 s earlier: its reply is in by now.
    if (second % 15 == 0) {
      offReplies += Count("[Chatsends Off]");
      onReplies += Count("[Chatsends On]");
      cleared += Count("[Chat Cleared]");
      ASSERT_TRUE(room->SetTranscript(""));
    }
    for (int i = 0; i < 20; ++i) {
      ASSERT_TRUE(room->SayAsOther("Flood" + std::to_string(i % 4),
                                   i % 5 == 0 ? "/clear" : "line " + std::to_string(i)));
    }
    if (second % 3 == 0) {
      ASSERT_TRUE(room->TypeAsUser(commands % 2 == 0 ? "/csoff" : "/cson"));
      ++commands;
    }
    if (second == seconds / 2) settled = tool.Memory();
    std::this_thread::sleep_until(start + std::chrono::seconds(second + 1));  // the flood's pace
  }
  ASSERT_TRUE(e2e::WaitFor([&] {
    return offReplies + onReplies + Count("[Chatsends Off]") + Count("[Chatsends On]") >= commands;
  }));
  EXPECT_EQ(offReplies + Count("[Chatsends Off]"), (commands + 1) / 2);
  EXPECT_EQ(onReplies + Count("[Chatsends On]"), commands / 2);
  EXPECT_EQ(cleared + Count("[Chat Cleared]"), 0);
  const e2e::ToolProcess::MemoryUse end = tool.Memory();
  RecordProperty("commands", commands);
  RecordProperty("working_set_settled_kb", static_cast<int>(settled.workingSet / 1024));
  RecordProperty("working_set_end_kb", static_cast<int>(end.workingSet / 1024));
  RecordProperty("handles_settled", static_cast<int>(settled.handles));
  RecordProperty("handles_end", static_cast<int>(end.handles));
  if (seconds >= 30) {
    EXPECT_LE(end.workingSet, settled.workingSet * 105 / 100);
    // Wine reports no handle count for another process (0); Windows does.
    if (settled.handles > 0) {
      EXPECT_LE(end.handles, settled.handles * 105 / 100);
    }
  }
}

}  // namespace
