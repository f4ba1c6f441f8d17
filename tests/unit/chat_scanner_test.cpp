#include "chatctl/chat.h"

#include <gtest/gtest.h>

#include "fake_chat_room.h"
#include "platform/fake/fake_timer.h"

namespace tv::chatctl {
namespace {

using testing::FakeChatRoom;

class ChatScannerTest : public ::testing::Test {
 protected:
  ChatScannerTest() {
    chat.SetScanHandler([this](ChatLine& line) { events.push_back(line); });
  }

  // Ticks `count` times and returns the events they raised.
  std::vector<ChatLine> Tick(int count = 1) {
    events.clear();
    for (int i = 0; i < count; ++i) chat.chat_tymer_Timer();
    return events;
  }

  FakeChatRoom room;
  platform::FakeTimer timer;
  Chat chat{room.Os(), timer};
  std::vector<ChatLine> events;
};

TEST_F(ChatScannerTest, ScanOnStartsTheTimerAndScanOffStopsIt) {
  chat.scan_on();
  EXPECT_TRUE(timer.running());
  EXPECT_EQ(timer.period(), std::chrono::milliseconds(500));
  chat.scan_off();
  EXPECT_FALSE(timer.running());
}

TEST_F(ChatScannerTest, LineSaidBeforeScanOnIsNeverReported) {
  room.SayAsUser("old");
  chat.scan_on();
  EXPECT_TRUE(Tick(5).empty());
}

TEST_F(ChatScannerTest, NewOwnLineIsReportedOnceWithSpeakerMessageAndTime) {
  chat.scan_on();
  room.SayAsUser("hello there");
  const auto first = Tick();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].whosaid, L" Tester");
  EXPECT_EQ(first[0].whatsaid, L"hello there");
  EXPECT_EQ(first[0].datesaid, L"{10:00:01 AM}");
  EXPECT_TRUE(Tick(3).empty());
}

TEST_F(ChatScannerTest, TwoLinesInOneIntervalReportOnlyTheNewest) {
  chat.scan_on();
  room.SayAsUser("first");
  room.SayAsUser("second");
  const auto seen = Tick(2);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].whatsaid, L"second");
}

TEST_F(ChatScannerTest, OtherSpeakersLinesAreReportedWithoutSpeakerOrMessage) {
  chat.scan_on();
  room.Say("Stranger", "/help");
  const auto seen = Tick();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].whosaid, L"");
  EXPECT_EQ(seen[0].whatsaid, L"");
  EXPECT_EQ(seen[0].datesaid, L"{10:00:01 AM}");
}

TEST_F(ChatScannerTest, ClearedTranscriptReportsNothing) {
  chat.scan_on();
  room.SayAsUser("x");
  Tick();
  for (const char* tail : {"", "<", "<B"}) {
    room.desktop.SetText(room.transcript, tail);
    EXPECT_TRUE(Tick().empty()) << tail;
  }
}

TEST_F(ChatScannerTest, TailWithoutLineMarkReportsOneEmptyLine) {
  chat.scan_on();
  room.SayAsUser("x");
  Tick();
  room.desktop.SetText(room.transcript, std::string(600, 'z'));
  const auto seen = Tick(3);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].whosaid, L"");
  EXPECT_EQ(seen[0].whatsaid, L"");
  EXPECT_EQ(seen[0].datesaid, L"{}");
}

TEST_F(ChatScannerTest, SameLineAfterScanOffAndOnIsNotReportedAgain) {
  chat.scan_on();
  room.SayAsUser("x");
  ASSERT_EQ(Tick().size(), 1u);
  chat.scan_off();
  EXPECT_TRUE(Tick().empty());
  const std::string transcript = room.Transcript();
  room.SayAsUser("between");
  chat.scan_on();
  room.desktop.SetText(room.transcript, transcript);  // back to the reported line
  EXPECT_TRUE(Tick().empty());
}

TEST_F(ChatScannerTest, OnlyTheTailIsParsed) {
  chat.scan_on();
  room.SayAsUser("short");
  Tick();
  room.SayAsUser(std::string(2000, 'm'));
  const auto seen = Tick();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].whosaid, L"");  // the line's start lies before the 500-character tail
  EXPECT_EQ(seen[0].datesaid, L"{}");
}

TEST_F(ChatScannerTest, HandlerMayChangeTheTextsAndStopScanning) {
  chat.SetScanHandler([this](ChatLine& line) {
    line.whosaid = L"changed";
    chat.scan_off();
    events.push_back(line);
  });
  chat.scan_on();
  room.SayAsUser("a");
  ASSERT_EQ(Tick().size(), 1u);
  room.SayAsUser("b");
  EXPECT_TRUE(Tick().empty());
}

TEST_F(ChatScannerTest, RepliesSentFromTheHandlerComeBackOnALaterTick) {
  chat.SetScanHandler([this](ChatLine& line) {
    events.push_back(line);
    if (line.whatsaid == L"ping") chat.SendChat(L"[pong]");
  });
  chat.scan_on();
  room.SayAsUser("ping");
  ASSERT_EQ(Tick().size(), 1u);
  const auto later = Tick();
  ASSERT_EQ(later.size(), 1u);
  EXPECT_EQ(later[0].whatsaid, L"[pong]");
}

TEST_F(ChatScannerTest, NoChatWindowIsQuietAndALaterWindowIsPickedUp) {
  room.Close();
  chat.scan_on();
  EXPECT_TRUE(Tick(2).empty());
  room.Open();
  room.SayAsUser("back");
  const auto seen = Tick();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].whatsaid, L"back");
}

}  // namespace
}  // namespace tv::chatctl
