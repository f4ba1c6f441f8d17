// The interpreter hosted in the test process, driven through a real roomsim: the scanner is
// ticked by the test, every line and reply crosses real window messages.

#include <gtest/gtest.h>

#include "chatctl/chat.h"
#include "form/tool_state.h"
#include "interp/interpreter.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"
#include "support/roomsim_driver.h"

namespace {

using namespace std::chrono_literals;

class IdleTimer final : public tv::platform::Timer {
 public:
  void Start(std::chrono::milliseconds) override {}
  void Stop() override {}
};

class RecordingWindow final : public tv::form::WindowCommands {
 public:
  explicit RecordingWindow(tv::form::ToolState& state, tv::chatctl::Chat& chat)
      : state_(state), chat_(chat) {}
  void SendToTray() override {}
  void RestoreFromTray() override {}
  void RemoveTrayIcon() override {}
  void StopScan() override {
    state_.SetScanOn(false);
    state_.SetUserName(L"");
    chat_.scan_off();
  }
  void SendSystemInfo() override {}
  void EndProcess() override {}

 private:
  tv::form::ToolState& state_;
  tv::chatctl::Chat& chat_;
};

class InterpreterE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(room.started());
    chat.SetScanHandler(
        [this](const tv::chatctl::ChatLine& line) { interpreter.chat_aimchatscan(line); });
    chat.scan_on();
    chat.SendChat(L"[Tavik Varrow V.2][Searching User]");
  }

  // Ticks the scanner as its timer would until the transcript holds `text`.
  bool TickUntil(const std::string& text) {
    return e2e::WaitFor(
        [&] {
          chat.chat_tymer_Timer();
          return room.Transcript().find(text) != std::string::npos;
        },
        20s);
  }

  tv::platform::Win32Desktop desktop;
  tv::platform::Win32Shell shell;
  tv::platform::Win32CodePage codePage;
  tv::platform::ChatClientOs os{desktop, shell, codePage};
  e2e::TempFile linkLog{"interp-links"};
  e2e::Roomsim room{{"Lobby", "Some User", linkLog.path().string()}};
  IdleTimer scanTimer, clearTimer;
  tv::chatctl::Chat chat{os, scanTimer};
  tv::form::ToolState state{clearTimer};
  RecordingWindow window{state, chat};
  tv::interp::Interpreter interpreter{os, chat, state, window};
};

TEST_F(InterpreterE2E, IdentifiesTheUserAndAnswersHelp) {
  ASSERT_TRUE(TickUntil("[Found User 'Some User']"));
  EXPECT_EQ(state.userName(), L"someuser");
  ASSERT_TRUE(room.SayAsOther("Stranger", "/help"));
  ASSERT_TRUE(room.TypeAsUser("/HELP"));
  ASSERT_TRUE(TickUntil("More Options = '/more']"));
  // The reply came back as the user's own line and matched nothing: one help, nothing after it.
  for (int i = 0; i < 6; ++i) chat.chat_tymer_Timer();
  const std::string transcript = room.Transcript();
  EXPECT_EQ(transcript.find("[Tavik Varrow V.2][Join Chat Room"),
            transcript.rfind("[Tavik Varrow V.2][Join Chat Room"));
  EXPECT_TRUE(transcript.ends_with("More Options = '/more']</FONT>")) << transcript;
}

TEST_F(InterpreterE2E, SendsOffThenClearEmptiesTheRoomWithoutAReply) {
  ASSERT_TRUE(TickUntil("[Found User 'Some User']"));
  ASSERT_TRUE(room.TypeAsUser("/csoff"));
  ASSERT_TRUE(TickUntil("[Chatsends Off]"));
  ASSERT_TRUE(room.TypeAsUser("/clear"));
  ASSERT_TRUE(e2e::WaitFor([&] {
    chat.chat_tymer_Timer();
    return room.Transcript().empty();
  }));
  for (int i = 0; i < 6; ++i) chat.chat_tymer_Timer();
  EXPECT_EQ(room.Transcript(), "");
}

TEST_F(InterpreterE2E, JoinOpensTheRoomLinkAndReplies) {
  ASSERT_TRUE(TickUntil("[Found User 'Some User']"));
  ASSERT_TRUE(room.TypeAsUser("/join Lobby 4"));
  ASSERT_TRUE(TickUntil("[Joining Chat 'lobby' Ex.4]"));
  ASSERT_TRUE(e2e::WaitFor([&] { return !linkLog.Lines().empty(); }, 30s));
  EXPECT_EQ(linkLog.Lines(), std::vector<std::string>{"aim:gochat?roomname=lobby&exchange=4"});
}

}  // namespace
