// The chat-window operations and the scanner against a real roomsim process, through real window
// messages between processes.

#include <gtest/gtest.h>

#include "aim/chat_window.h"
#include "aim/room_link.h"
#include "chatctl/chat.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"
#include "support/roomsim_driver.h"

namespace {

using namespace std::chrono_literals;
using tv::chatctl::ChatLine;

class ManualTimer final : public tv::platform::Timer {
 public:
  void Start(std::chrono::milliseconds) override {}
  void Stop() override {}
};

class ChatWindowE2E : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(room.started()) << "roomsim did not open its chat window"; }

  tv::platform::Win32Desktop desktop;
  tv::platform::Win32Shell shell;
  tv::platform::Win32CodePage codePage;
  tv::platform::ChatClientOs os{desktop, shell, codePage};
  e2e::TempFile linkLog{"links"};
  e2e::Roomsim room{{"Lobby", "Tester", linkLog.path().string()}};
};

TEST_F(ChatWindowE2E, RoomNameComesFromTheCaption) {
  EXPECT_EQ(tv::aim::GetRoomName(os), L" Lobby");
}

TEST_F(ChatWindowE2E, SendChatTextAndSendChatLineEachSendOneLine) {
  const int before = room.LineCount();
  tv::aim::SendChatText(os, L"[first]");
  ASSERT_TRUE(e2e::WaitFor([&] { return room.LineCount() == before + 1; }));
  tv::aim::SendChatLine(os, L"[second]");
  ASSERT_TRUE(e2e::WaitFor([&] { return room.LineCount() == before + 2; }));
  EXPECT_FALSE(e2e::WaitFor([&] { return room.LineCount() > before + 2; }, 1500ms));
  const std::wstring tail = tv::aim::GetTranscriptTail(os);
  EXPECT_NE(tail.find(L"[first]"), std::wstring::npos);
  EXPECT_NE(tail.find(L"[second]"), std::wstring::npos);
}

TEST_F(ChatWindowE2E, SetTranscriptTextEmptiesIt) {
  ASSERT_TRUE(room.SayAsOther("Alice", "hi all"));
  ASSERT_FALSE(tv::aim::GetTranscriptText(os).empty());
  tv::aim::SetTranscriptText(os, L"");
  EXPECT_EQ(room.Transcript(), "");
  EXPECT_EQ(tv::aim::GetTranscriptTail(os), L"");
}

TEST_F(ChatWindowE2E, ScannerReportsATypedLineOnceWithSpeakerMessageAndTime) {
  ManualTimer timer;
  tv::chatctl::Chat chat(os, timer);
  std::vector<ChatLine> events;
  chat.SetScanHandler([&](ChatLine& line) { events.push_back(line); });
  chat.scan_on();
  chat.chat_tymer_Timer();
  EXPECT_TRUE(events.empty());

  ASSERT_TRUE(room.TypeAsUser("hello room"));
  chat.chat_tymer_Timer();
  chat.chat_tymer_Timer();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].whosaid, L" Tester");
  EXPECT_EQ(events[0].whatsaid, L"hello room");
  const std::string transcript = room.Transcript();
  const std::size_t open = transcript.rfind("<!-- (");
  ASSERT_NE(open, std::string::npos);
  const std::string stamp = transcript.substr(open + 6, transcript.find(')', open) - open - 6);
  EXPECT_EQ(events[0].datesaid, L"{" + codePage.FromAnsi(stamp) + L"}");
  EXPECT_TRUE(stamp.ends_with(" AM") || stamp.ends_with(" PM")) << stamp;
}

TEST_F(ChatWindowE2E, TwoLinesWithinOneTickReportOnlyTheNewest) {
  ManualTimer timer;
  tv::chatctl::Chat chat(os, timer);
  std::vector<ChatLine> events;
  chat.SetScanHandler([&](ChatLine& line) { events.push_back(line); });
  chat.scan_on();
  ASSERT_TRUE(room.TypeAsUser("one"));
  ASSERT_TRUE(room.SayAsOther("Alice", "between"));
  ASSERT_TRUE(room.TypeAsUser("two"));
  chat.chat_tymer_Timer();
  chat.chat_tymer_Timer();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].whatsaid, L"two");
}

TEST_F(ChatWindowE2E, JoinRoomReachesTheRegisteredHandlerWithTheExactLink) {
  tv::aim::JoinRoom(os, L"Main Lobby", L"4");
  ASSERT_TRUE(e2e::WaitFor([&] { return !linkLog.Lines().empty(); }, 30s));
  EXPECT_EQ(linkLog.Lines(), std::vector<std::string>{"aim:gochat?roomname=mainlobby&exchange=4"});
}

TEST_F(ChatWindowE2E, CloseChatWindowClosesTheRoom) {
  tv::aim::CloseChatWindow(os);
  EXPECT_TRUE(e2e::WaitFor([] { return FindWindowA("AIM_ChatWnd", nullptr) == nullptr; }));
  EXPECT_EQ(tv::aim::GetTranscriptText(os), L"");
}

TEST_F(ChatWindowE2E, OperationsReturnFromAHungRoomAndWorkOnceItAnswers) {
  ASSERT_TRUE(room.Hang(3000ms)) << "roomsim did not begin to hang";
  const auto start = std::chrono::steady_clock::now();
  const int before = room.LineCount();
  tv::aim::SendChatText(os, L"[during]");
  tv::aim::GetTranscriptTail(os);
  const auto blocked = std::chrono::steady_clock::now() - start;
  RecordProperty(
      "blocked_ms",
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(blocked).count()));
  // Whatever the hung room made of them, the calls came back; now it answers as before.
  tv::aim::SendChatText(os, L"[after]");
  ASSERT_TRUE(e2e::WaitFor([&] { return room.LineCount() >= before + 1; }));
  EXPECT_NE(tv::aim::GetTranscriptTail(os).find(L"[after]"), std::wstring::npos);
  EXPECT_EQ(tv::aim::GetRoomName(os), L" Lobby");
}

}  // namespace
