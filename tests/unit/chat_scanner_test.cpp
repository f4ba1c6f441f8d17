#include "chatctl/chat.h"

#include <gtest/gtest.h>

#include "fake_chat_room.h"
#include "platform/fake/fake_timer.h"

namespace tv::chatctl {
namespace {

class ChatScannerTest : public ::testing::Test {
 protected:
  ChatScannerTest() {
    chat.SetScanHandler([this](ChatLine& line) {
      events.push_back(line.whosaid + L"|" + line.whatsaid + L"|" + line.datesaid);
    });
  }
  // Ticks `count` times and returns the lines they reported.
  std::vector<std::wstring> Tick(int count = 1) {
    events.clear();
    for (int i = 0; i < count; ++i) chat.chat_tymer_Timer();
    return events;
  }
  using Seen = std::vector<std::wstring>;
  testing::FakeChatRoom room;
  platform::FakeTimer timer;
  Chat chat{room.Os(), timer};
  std::vector<std::wstring> events;
};

TEST_F(ChatScannerTest, ReportsEachNewestLineOnceWhileScanning) {
  room.SayAsUser("old");  // said before the start: never reported
  chat.scan_on();
  EXPECT_EQ(timer.period(), std::chrono::milliseconds(500));
  EXPECT_EQ(Tick(3), Seen{});
  room.SayAsUser("hello there");
  EXPECT_EQ(Tick(3), Seen{L" Tester|hello there|{10:00:02 AM}"});
  room.SayAsUser("first");
  room.SayAsUser("second");  // two in one interval: only the newest
  room.Say("Stranger", "/help");
  EXPECT_EQ(Tick(2), Seen{L"||{10:00:05 AM}"});  // somebody else's: no speaker, no message
  room.SayAsUser(std::string(2000, 'm'));
  EXPECT_EQ(Tick(), Seen{L"||{}"});  // its start lies before the 500-character tail
}

// A cleared transcript reports nothing; three characters without a line mark, an empty line.
TEST_F(ChatScannerTest, ShortTailsAndTheEmptyLine) {
  chat.scan_on();
  room.SayAsUser("x");
  Tick();
  const struct {
    const char* tail;
    Seen seen;
  } steps[] = {{"", {}}, {"<", {}}, {"<B", {}}, {"xyz", {L"||{}"}}, {"abc", {}}};
  for (const auto& s : steps) {
    room.desktop.SetText(room.transcript, s.tail);
    EXPECT_EQ(Tick(), s.seen) << s.tail;
  }
}

TEST_F(ChatScannerTest, ScanOffStopsAndTheSameLineIsNotReportedAgain) {
  chat.scan_on();
  room.SayAsUser("x");
  ASSERT_EQ(Tick().size(), 1u);
  chat.scan_off();
  EXPECT_FALSE(timer.running());
  const std::string transcript = room.Transcript();
  room.SayAsUser("between");
  EXPECT_EQ(Tick(), Seen{});
  chat.scan_on();
  room.desktop.SetText(room.transcript, transcript);  // back to the reported line
  EXPECT_EQ(Tick(), Seen{});
}

TEST_F(ChatScannerTest, NoChatWindowIsQuietAndALaterWindowIsPickedUp) {
  room.Close();
  chat.scan_on();
  EXPECT_EQ(Tick(2), Seen{});
  room.Open();
  room.SayAsUser("back");
  EXPECT_EQ(Tick(), Seen{L" Tester|back|{10:00:01 AM}"});
}

}  // namespace
}  // namespace tv::chatctl
