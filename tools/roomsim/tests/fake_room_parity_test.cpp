// roomsim's room and the tool's fake chat room must give the scanner the same transcript for the
// same events, so that a scenario that passes natively means the same under Wine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aim/chat_window.h"
#include "chat_room.h"
#include "fake_chat_room.h"

namespace roomsim {
namespace {

struct Event {
  enum Kind { kUserSends, kOtherSays, kClear } kind;
  std::string speaker;
  std::string message;
};

TEST(FakeRoomParityTest, SameEventsGiveTheSameTranscript) {
  const std::vector<Event> events = {
      {Event::kUserSends, "", "[Tavik Varrow V.2][Searching User]"},
      {Event::kOtherSays, "Buddy", "hi all"},
      {Event::kUserSends, "", "/help"},
      {Event::kUserSends, "", ""},
      {Event::kUserSends, "", "<b>/clear</b>"},
      {Event::kClear, "", ""},
      {Event::kOtherSays, "Some One", "a: b > c"},
      {Event::kUserSends, "", "/ct 5"},
  };
  tv::testing::FakeChatRoom fake("Tester", "Lobby");
  ChatRoom room("Tester", "Lobby", LineClock::Fixed({10, 0, 1}));
  for (const Event& event : events) {
    switch (event.kind) {
      case Event::kUserSends:
        tv::aim::SendChatText(fake.Os(), std::wstring(event.message.begin(), event.message.end()));
        room.TypeAndSend(event.message);
        break;
      case Event::kOtherSays:
        fake.Say(event.speaker, event.message);
        room.SayAsOther(event.speaker, event.message);
        break;
      case Event::kClear:
        tv::aim::SetTranscriptText(fake.Os(), L"");
        room.SetTranscript("");
        break;
    }
    ASSERT_EQ(room.Transcript(), fake.Transcript()) << "after \"" << event.message << "\"";
  }
  EXPECT_FALSE(room.Transcript().empty());
}

TEST(FakeRoomParityTest, CaptionGivesTheSameRoomName) {
  tv::testing::FakeChatRoom fake("Tester", "Lobby");
  const ChatRoom room("Tester", "Lobby", LineClock::Fixed({10, 0, 1}));
  EXPECT_EQ(room.Caption(), fake.desktop.Text(fake.chat));
}

}  // namespace
}  // namespace roomsim
