#include "chat_room.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transcript_markup.h"

namespace roomsim {
namespace {

// A hand-moved wall clock.
struct ManualClock {
  TimeOfDay now{10, 0, 0};
  LineClock Make() {
    return LineClock([this] { return now; });
  }
};

TEST(LineClockTest, FollowsTheSourceWhenItMoves) {
  ManualClock wall;
  LineClock clock = wall.Make();
  EXPECT_EQ(clock.Next(), "10:00:00 AM");
  wall.now = {13, 5, 9};
  EXPECT_EQ(clock.Next(), "1:05:09 PM");
}

TEST(LineClockTest, NeverRepeatsAStampWithinASecond) {
  ManualClock wall;
  LineClock clock = wall.Make();
  EXPECT_EQ(clock.Next(), "10:00:00 AM");
  EXPECT_EQ(clock.Next(), "10:00:01 AM");
  EXPECT_EQ(clock.Next(), "10:00:02 AM");
  // The wall clock catches up only once it is past the stamps.
  wall.now = {10, 0, 2};
  EXPECT_EQ(clock.Next(), "10:00:03 AM");
  wall.now = {10, 0, 9};
  EXPECT_EQ(clock.Next(), "10:00:09 AM");
}

TEST(LineClockTest, CarriesOverMidnight) {
  ManualClock wall;
  wall.now = {23, 59, 59};
  LineClock clock = wall.Make();
  EXPECT_EQ(clock.Next(), "11:59:59 PM");
  EXPECT_EQ(clock.Next(), "12:00:00 AM");
  wall.now = {0, 0, 5};
  EXPECT_EQ(clock.Next(), "12:00:05 AM");
}

TEST(LineClockTest, FixedClockMovesASecondPerLine) {
  LineClock clock = LineClock::Fixed({10, 0, 1});
  EXPECT_EQ(clock.Next(), "10:00:01 AM");
  EXPECT_EQ(clock.Next(), "10:00:02 AM");
  LineClock late = LineClock::Fixed({23, 59, 59});
  EXPECT_EQ(late.Next(), "11:59:59 PM");
  EXPECT_EQ(late.Next(), "12:00:00 AM");
}

TEST(ParseTimeOfDayTest, AcceptsValidTimesOnly) {
  const auto time = ParseTimeOfDay("9:05:07");
  ASSERT_TRUE(time.has_value());
  EXPECT_EQ(time->hour, 9);
  EXPECT_EQ(time->minute, 5);
  EXPECT_EQ(time->second, 7);
  ASSERT_TRUE(ParseTimeOfDay("23:59:59").has_value());
  for (const char* bad : {"", "10", "10:00", "24:00:00", "10:60:00", "10:00:60", "10:00:00 ",
                          "a:00:00", "100:00:00", "10::00", "-1:00:00"}) {
    EXPECT_FALSE(ParseTimeOfDay(bad).has_value()) << bad;
  }
}

TEST(PressLatchTest, SendsOncePerPress) {
  struct Step {
    char action;  // 'd' down, 'u' up, 's' space key-up, 'k' other key-up
    bool sends;
  };
  const std::vector<std::vector<Step>> sequences = {
      {{'d', false}, {'u', true}},                // a click
      {{'d', false}, {'s', true}, {'u', false}},  // the tool's press
      {{'u', false}},                             // up without down
      {{'s', false}},                             // space without down
      {{'d', false}, {'k', false}, {'u', true}},  // another key does not send
      {{'d', false}, {'d', false}, {'u', true}, {'u', false}},
  };
  for (const auto& sequence : sequences) {
    PressLatch latch;
    std::string trace;
    for (const Step& step : sequence) {
      bool sent = false;
      switch (step.action) {
        case 'd':
          latch.Down();
          break;
        case 'u':
          sent = latch.Up();
          break;
        case 's':
          sent = latch.KeyUp(0x20);
          break;
        default:
          sent = latch.KeyUp(0x41);
          break;
      }
      trace += step.action;
      EXPECT_EQ(sent, step.sends) << "after " << trace;
    }
  }
}

ChatRoom MakeRoom() { return ChatRoom("Tester", "Lobby", LineClock::Fixed({10, 0, 1})); }

TEST(ChatRoomTest, CaptionNamesTheRoom) { EXPECT_EQ(MakeRoom().Caption(), "Chat Room: Lobby"); }

TEST(ChatRoomTest, SendAppendsTheInputAsTheUsersLineAndEmptiesIt) {
  ChatRoom room = MakeRoom();
  room.SetInput("hello <b>there</b>");
  room.SendInput();
  EXPECT_EQ(room.Input(), "");
  EXPECT_EQ(room.Transcript(), FormatLine("Tester", "hello <b>there</b>", true, "10:00:01 AM"));
}

TEST(ChatRoomTest, EmptyInputStillSendsALine) {
  ChatRoom room = MakeRoom();
  room.SendInput();
  EXPECT_EQ(room.Transcript(), FormatLine("Tester", "", true, "10:00:01 AM"));
}

TEST(ChatRoomTest, LinesAccumulateInOrderWithOwnAndOtherColours) {
  ChatRoom room = MakeRoom();
  room.SayAsOther("Tester", "not me");  // another speaker's colour whatever the name
  room.TypeAndSend("me");
  const auto lines = ParseTranscript(room.Transcript());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_FALSE(lines[0].ownLine);
  EXPECT_EQ(lines[0].message, "not me");
  EXPECT_EQ(lines[0].clock, "10:00:01 AM");
  EXPECT_TRUE(lines[1].ownLine);
  EXPECT_EQ(lines[1].speaker, "Tester");
  EXPECT_EQ(lines[1].message, "me");
  EXPECT_EQ(lines[1].clock, "10:00:02 AM");
}

TEST(ChatRoomTest, SetTranscriptReplacesEverythingAndLinesFollowIt) {
  ChatRoom room = MakeRoom();
  room.TypeAndSend("gone");
  room.SetTranscript("");
  EXPECT_EQ(room.Transcript(), "");
  room.SetTranscript("<BR>raw");
  room.TypeAndSend("x");
  EXPECT_EQ(room.Transcript(), "<BR>raw" + FormatLine("Tester", "x", true, "10:00:02 AM"));
}

TEST(ChatRoomTest, TypingReplacesWhateverWasInTheInput) {
  ChatRoom room = MakeRoom();
  room.SetInput("half typed");
  room.TypeAndSend("whole");
  EXPECT_EQ(ParseTranscript(room.Transcript()).at(0).message, "whole");
  EXPECT_EQ(room.Input(), "");
}

TEST(ChatRoomTest, EveryChangeMovesTheRevision) {
  ChatRoom room = MakeRoom();
  std::size_t last = room.Revision();
  const std::vector<void (*)(ChatRoom&)> changes = {
      [](ChatRoom& r) { r.SetInput("a"); },        [](ChatRoom& r) { r.SendInput(); },
      [](ChatRoom& r) { r.SayAsOther("x", "y"); }, [](ChatRoom& r) { r.SetTranscript(""); },
      [](ChatRoom& r) { r.TypeAndSend("z"); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i](room);
    EXPECT_NE(room.Revision(), last) << "change " << i;
    last = room.Revision();
  }
}

struct CopyCase {
  const char* text;
  std::size_t size;
  std::size_t copied;
  const char* buffer;
};

TEST(CopyOutTest, FollowsGetTextRules) {
  const CopyCase cases[] = {
      {"hello", 6, 5, "hello"}, {"hello", 100, 5, "hello"},
      {"hello", 3, 2, "he"},    {"hello", 1, 0, ""},
      {"", 4, 0, ""},
  };
  for (const CopyCase& c : cases) {
    std::string buffer(8, '#');
    EXPECT_EQ(CopyOut(c.text, buffer.data(), c.size), c.copied) << c.text << " " << c.size;
    EXPECT_STREQ(buffer.c_str(), c.buffer);
  }
  std::string untouched = "####";
  EXPECT_EQ(CopyOut("hello", untouched.data(), 0), 0u);
  EXPECT_EQ(untouched, "####");
  EXPECT_EQ(CopyOut("hello", nullptr, 10), 0u);
}

}  // namespace
}  // namespace roomsim
