// The real tool scanning a real roomsim: the user ticks "Chat Scan", types commands into the room
// and reads the tool's replies in the transcript; effects are checked on the tool's window, on the
// room and in roomsim's link log.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/room_and_tool.h"

namespace {

using namespace std::chrono_literals;
using e2e::kHelpText;
using e2e::kMoreText;
namespace app = tv::app;

// The clear timer's shortest period, "/ct 0.4", and what a tick may be late by.
constexpr auto kClearPeriod = 24s;
constexpr auto kTickSlack = 3s;

class ToolChatE2E : public e2e::RoomAndTool {
 protected:
  ToolChatE2E() : RoomAndTool("Night Owl") {}
};

TEST_F(ToolChatE2E, ChatScanAnnouncesItselfAndFindsTheUser) {
  ASSERT_TRUE(tool.Click(app::kCheck1));
  EXPECT_TRUE(tool.IsChecked(app::kCheck1));
  ASSERT_TRUE(e2e::WaitFor([&] {
    return OwnLineAfter("[Tavik Varrow V.2][Searching User]").has_value();
  })) << room->Transcript();
  const std::vector<roomsim::RenderedLine> lines = Lines();
  const char* const said[] = {"[Tavik Varrow V.2][Searching User]", "[Found User 'Night Owl']"};
  ASSERT_EQ(lines.size(), 2u) << room->Transcript();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].ownLine && lines[i].speaker == user) << lines[i].speaker;
    EXPECT_EQ(lines[i].message, said[i]);
  }
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kText1) == "nightowl"; }))
      << tool.Text(app::kText1);
}

TEST_F(ToolChatE2E, HelpAndMoreAnswerTheUserOnlyWithTheirExactTexts) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  ASSERT_TRUE(room->SayAsOther("Stranger", "/help"));
  EXPECT_TRUE(StaysLast("/help")) << room->Transcript();
  // Red text gets a stranger's line past the scanner's own-line test; the speaker still differs.
  ASSERT_TRUE(room->SayAsOther("Stranger", "<FONT COLOR=\"#ff0000\">/help</FONT>"));
  EXPECT_TRUE(StaysLast("/help")) << room->Transcript();

  EXPECT_EQ(Reply("/help"), kHelpText);
  EXPECT_EQ(Reply("/more"), kMoreText);
  // Neither reply is taken for a command when it comes back through the transcript.
  EXPECT_TRUE(StaysLast(kMoreText)) << room->Transcript();

  // A name typed into the box by hand is used as typed: now the stranger's red line is obeyed.
  ASSERT_TRUE(tool.SetText(app::kText1, "stranger"));
  ASSERT_TRUE(room->SayAsOther("Stranger", "<FONT COLOR=\"#ff0000\">/help</FONT>"));
  EXPECT_TRUE(e2e::WaitFor([&] { return LastIs(kHelpText); })) << room->Transcript();
}

TEST_F(ToolChatE2E, SendsOffSilencesClearAndSendsOnRestoresReplies) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  EXPECT_EQ(Reply("/csoff"), "[Chatsends Off]");
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kChatsendlbl) == "Off"; }));
  EXPECT_TRUE(tool.IsChecked(app::kCheck2));

  ASSERT_TRUE(room->TypeAsUser("/clear"));
  ASSERT_TRUE(e2e::WaitFor([&] { return room->Transcript().empty(); })) << room->Transcript();
  EXPECT_TRUE(Stays([&] { return room->Transcript().empty(); })) << room->Transcript();

  // Unticked by hand, the box lets the replies through; the label keeps what "/csoff" wrote.
  ASSERT_TRUE(tool.Click(app::kCheck2));
  ASSERT_TRUE(room->TypeAsUser("/clear"));
  EXPECT_TRUE(e2e::WaitFor([&] { return Said("[Chat Cleared]"); })) << room->Transcript();
  EXPECT_EQ(tool.Text(app::kChatsendlbl), "Off");
  // Ticked by hand, it withholds them: the room is emptied, and the next line the tool says is
  // the answer to a later "/more".
  ASSERT_TRUE(tool.Click(app::kCheck2));
  ASSERT_TRUE(room->TypeAsUser("/clear"));
  ASSERT_TRUE(e2e::WaitFor([&] { return room->Transcript().empty(); })) << room->Transcript();
  EXPECT_EQ(Reply("/more"), kMoreText);
  EXPECT_FALSE(Said("[Chat Cleared]")) << room->Transcript();

  EXPECT_EQ(Reply("/cson"), "[Chatsends On]");
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kChatsendlbl) == "On"; }));
  EXPECT_FALSE(tool.IsChecked(app::kCheck2));
}

// The one test that waits for the clear timer, at the shortest period it takes.
TEST_F(ToolChatE2E, ClearTimerEmptiesTheRoomCountsAFullPeriodFromANewCtAndStopsWhenOff) {
  using Clock = std::chrono::steady_clock;
  const auto until = [](Clock::time_point end) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
  };
  ASSERT_TRUE(StartScan()) << room->Transcript();
  EXPECT_EQ(Reply("/ct 0.4"), "[Clear Timer Set To 0.4 Minute(s)]");
  const auto firstSet = Clock::now();
  EXPECT_EQ(tool.Text(app::kClearStat), "On");
  EXPECT_EQ(tool.Text(app::kLblClear), "0.4");

  // A quarter of the way in, a new "/ct" starts a full period: the first one ends unnoticed.
  std::this_thread::sleep_until(firstSet + kClearPeriod / 4);  // the user's pace, not a wait
  const auto secondTyped = Clock::now();
  EXPECT_EQ(Reply("/ct 0.4"), "[Clear Timer Set To 0.4 Minute(s)]");
  EXPECT_FALSE(
      e2e::WaitFor([&] { return !Said("/ct 0.4"); }, until(firstSet + kClearPeriod + kTickSlack)))
      << room->Transcript();
  ASSERT_TRUE(e2e::WaitFor(
      [&] {
        const std::vector<roomsim::RenderedLine> lines = Lines();
        return lines.size() == 1 && lines[0].ownLine && lines[0].message == "[Chat Cleared]";
      },
      60s))
      << room->Transcript();
  const auto cleared = Clock::now();
  RecordProperty(
      "clear_after_ms",
      static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(cleared - secondTyped).count()));

  // Switched off, it empties the room no more.
  EXPECT_EQ(Reply("/ctoff"), "[Clear Timer Off]");
  EXPECT_FALSE(
      e2e::WaitFor([&] { return !Said("/ctoff"); }, until(cleared + kClearPeriod + kTickSlack)))
      << room->Transcript();
  const e2e::ToolProcess::MemoryUse memory = tool.Memory();
  RecordProperty("working_set_kb", static_cast<int>(memory.workingSet / 1024));
  RecordProperty("peak_working_set_kb", static_cast<int>(memory.peakWorkingSet / 1024));
}

TEST_F(ToolChatE2E, JoinOpensTheRoomLinkAndReplies) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  EXPECT_EQ(Reply("/join Lobby 4"), "[Joining Chat 'lobby' Ex.4]");
  ASSERT_TRUE(WaitForLinks(1));
  EXPECT_EQ(linkLog.Lines(), std::vector<std::string>{"aim:gochat?roomname=lobby&exchange=4"});
}

TEST_F(ToolChatE2E, RejoinClosesTheRoomAndOpensItAgainOnTheExchange) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  const HWND chat = room->chatWindow();
  ASSERT_TRUE(room->TypeAsUser("/rj 4"));
  ASSERT_TRUE(e2e::WaitFor([&] { return !IsWindow(chat); })) << "the room was not closed";
  ASSERT_TRUE(WaitForLinks(1));
  EXPECT_EQ(linkLog.Lines(), std::vector<std::string>{"aim:gochat?roomname=lobby&exchange=4"});
  // roomsim opens the room again from the link, with nothing said in it: no reply came.
  ASSERT_TRUE(e2e::WaitFor([] { return FindWindowA("AIM_ChatWnd", nullptr) != nullptr; }));
  EXPECT_TRUE(Stays([&] { return room->Transcript().empty(); })) << room->Transcript();
}

// The shell keeps the tray icons; a restarted shell has none and sends "TaskbarCreated".
TEST_F(ToolChatE2E, HideKeepsOneTrayIconThroughShellRestartsAndShowRemovesIt) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  HWND form = tool.form();
  const auto holds = [&] { return e2e::TrayIconCall(NIM_MODIFY, form); };
  // Showing a shown window changes nothing, and deleting the icon before any was added is
  // harmless.
  EXPECT_EQ(Reply("/show"), "[Retrieved From Tray]");
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(IsIconic(form));
  EXPECT_FALSE(holds());

  // A restarted shell holds no icons, then says so; the tool adds its icon again if it wants it.
  const auto restartShell = [&] {
    return e2e::TrayIconCall(NIM_DELETE, form) && !e2e::TrayShowsIcons() && tool.TaskbarCreated() &&
           holds();
  };
  // The shell refuses the first add (the test put an icon of that ID there); still wanted.
  ASSERT_TRUE(e2e::TrayIconCall(NIM_ADD, form));
  EXPECT_EQ(Reply("/hide"), "[Sent To Tray]");
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_TRUE(IsIconic(form));
  EXPECT_TRUE(restartShell());
  // A second "/hide" leaves the one icon.
  EXPECT_EQ(Reply("/hide"), "[Sent To Tray]");
  EXPECT_TRUE(restartShell());
  const std::vector<std::wstring> tips = e2e::TrayTips();
  EXPECT_FALSE(tips.empty());
  for (const std::wstring& tip : tips) EXPECT_EQ(tip, L"Tavik Varrow V.2");

  EXPECT_EQ(Reply("/show"), "[Retrieved From Tray]");
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_FALSE(IsIconic(form));
  EXPECT_FALSE(holds());
  ASSERT_TRUE(tool.TaskbarCreated());
  EXPECT_FALSE(holds()) << "an icon no longer wanted came back";
}

// Unticking "Chat Scan" by hand, then "/disable"; ticking it again starts afresh each time.
TEST_F(ToolChatE2E, UntickingChatScanOrDisableStopsScanningAndForgetsTheUser) {
  for (const bool byHand : {true, false}) {
    ASSERT_TRUE(room->SetTranscript(""));
    ASSERT_TRUE(StartScan()) << room->Transcript();
    ASSERT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kText1) == "nightowl"; }));
    if (byHand) {
      ASSERT_TRUE(tool.Click(app::kCheck1));
    } else {
      EXPECT_EQ(Reply("/disable"), "[Chatscan Disabled]");
    }
    EXPECT_TRUE(e2e::WaitFor([&] { return !tool.IsChecked(app::kCheck1); })) << byHand;
    EXPECT_EQ(tool.Text(app::kText1), "") << byHand;
    // No longer scanning: a command goes unanswered.
    ASSERT_TRUE(room->TypeAsUser("/help"));
    EXPECT_TRUE(StaysLast("/help")) << byHand << room->Transcript();
  }
}

TEST_F(ToolChatE2E, SysinfoSendsOneLineOfFigures) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  const std::string line = Reply("/sysinfo");
  RecordProperty("sysinfo", line);
  const std::regex shape(R"(\[System Info\] \[OS - Windows_NT\] \[CPU - [^\]]+\] )"
                         R"(\[Uptime - \d+ days, \d+ hours, \d+ minutes\] )"
                         R"(\[RAM - Total = \d*[.,]\d{0,2} GB, Free = \d*[.,]\d{0,2} GB\] )"
                         R"(\[Programs Running = (\d+)\])");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
  EXPECT_GE(std::stoi(match[1].str()), 1) << line;
}

TEST_F(ToolChatE2E, EndRepliesAndEndsTheProcessFromTheTray) {
  ASSERT_TRUE(StartScan()) << room->Transcript();
  HWND form = tool.form();
  EXPECT_EQ(Reply("/hide"), "[Sent To Tray]");
  ASSERT_TRUE(e2e::TrayIconCall(NIM_MODIFY, form));
  EXPECT_EQ(Reply("/end"), "[Ending...]");
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_TRUE(tool.WaitForExit(30s, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(IsWindow(form));
}

}  // namespace
