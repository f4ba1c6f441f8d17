// The real tool scanning a real roomsim: the user ticks "Chat Scan", types commands into the room
// and reads the tool's replies in the transcript; effects are checked on the tool's window, on the
// room and in roomsim's link log.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/control_ids.h"
#include "support/no_process_left.h"
#include "support/roomsim_driver.h"
#include "support/tool_process.h"
#include "transcript_markup.h"

namespace {

using namespace std::chrono_literals;
namespace app = tv::app;

constexpr char kUser[] = "Night Owl";
constexpr char kHelpText[] =
    "[Tavik Varrow V.2][Join Chat Room = '/join chatroom ex', Close Window = '/x', Rejoin = '/rj "
    "ex', Chat Scan Off = '/disable', Clear = '/clear', Show = '/show', Hide = '/hide', End = "
    "'/end', More Options = '/more']";
constexpr char kMoreText[] =
    "[More Options... Clear Timer(m) = '/ct #', Clear Timer Off = '/ctoff', Chat Send On = "
    "'/cson', Chat Send Off = '/csoff'  System Info = /sysinfo]";
// Long enough for the scanner's 500 ms tick to have come round several times.
constexpr auto kQuietPeriod = 3s;
// The clear timer's shortest period, "/ct 0.4", and what a tick may be late by.
constexpr auto kClearPeriod = 24s;
constexpr auto kTickSlack = 3s;

class ToolChatE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(room.started()) << "roomsim did not open its chat window; roomsim processes: "
                                << e2e::ProcessCount(L"roomsim.exe");
    ASSERT_TRUE(tool.started()) << "the tool's window did not appear";
    RecordProperty("startup_ms", static_cast<int>(tool.startupTime().count()));
  }

  std::vector<roomsim::RenderedLine> Lines() const {
    return roomsim::ParseTranscript(room.Transcript());
  }

  bool Said(const std::string& message) const {
    for (const roomsim::RenderedLine& line : Lines()) {
      if (line.ownLine && line.message == message) return true;
    }
    return false;
  }

  // The user's first line after their last line `message`, if there is one yet.
  std::optional<std::string> OwnLineAfter(const std::string& message) const {
    const std::vector<roomsim::RenderedLine> lines = Lines();
    auto typed = lines.rend();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
      if (it->ownLine && it->message == message) {
        typed = it;
        break;
      }
    }
    if (typed == lines.rend()) return std::nullopt;
    for (auto it = typed.base(); it != lines.end(); ++it) {
      if (it->ownLine) return it->message;
    }
    return std::nullopt;
  }

  // Ticks "Chat Scan" and waits until the tool has announced itself and named the user.
  bool StartScan() {
    return tool.Click(app::kCheck1) && e2e::WaitFor([&] {
             return Said("[Tavik Varrow V.2][Searching User]") &&
                    Said(std::string("[Found User '") + kUser + "']");
           });
  }

  // Types `command` as the user and waits for the tool's reply: the user's next line.
  std::string Reply(const std::string& command) {
    if (!room.TypeAsUser(command)) return "<roomsim refused the line>";
    std::optional<std::string> reply;
    e2e::WaitFor([&] { return (reply = OwnLineAfter(command)).has_value(); });
    return reply.value_or("<no reply>");
  }

  // True when `holds` is true now and stays true for a while.
  static bool Stays(const std::function<bool()>& holds) {
    return holds() && !e2e::WaitFor([&] { return !holds(); }, kQuietPeriod);
  }

  // Nothing is said after the room's last line, `message`.
  bool StaysLast(const std::string& message) const {
    return Stays([&] {
      const std::vector<roomsim::RenderedLine> lines = Lines();
      return !lines.empty() && lines.back().message == message;
    });
  }

  bool StaysEmpty() const {
    return Stays([&] { return room.Transcript().empty(); });
  }

  // A clear tick has emptied the room since `marker` was said.
  bool ClearedSince(const std::string& marker) const { return !Said(marker); }

  e2e::NoProcessLeftBehind noProcessLeftBehind;
  e2e::TempFile linkLog{"tool-chat-links"};
  e2e::Roomsim room{{"Lobby", kUser, linkLog.path().string()}};
  e2e::ToolProcess tool;
};

TEST_F(ToolChatE2E, ChatScanAnnouncesItselfAndFindsTheUser) {
  ASSERT_TRUE(tool.Click(app::kCheck1));
  EXPECT_TRUE(tool.IsChecked(app::kCheck1));
  ASSERT_TRUE(e2e::WaitFor([&] {
    return OwnLineAfter("[Tavik Varrow V.2][Searching User]").has_value();
  })) << room.Transcript();
  const std::vector<roomsim::RenderedLine> lines = Lines();
  ASSERT_EQ(lines.size(), 2u) << room.Transcript();
  EXPECT_TRUE(lines[0].ownLine);
  EXPECT_EQ(lines[0].speaker, kUser);
  EXPECT_EQ(lines[0].message, "[Tavik Varrow V.2][Searching User]");
  EXPECT_TRUE(lines[1].ownLine);
  EXPECT_EQ(lines[1].speaker, kUser);
  EXPECT_EQ(lines[1].message, "[Found User 'Night Owl']");
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kText1) == "nightowl"; }))
      << tool.Text(app::kText1);
}

TEST_F(ToolChatE2E, HelpAndMoreAnswerTheUserOnlyWithTheirExactTexts) {
  ASSERT_TRUE(StartScan()) << room.Transcript();
  ASSERT_TRUE(room.SayAsOther("Stranger", "/help"));
  EXPECT_TRUE(StaysLast("/help")) << room.Transcript();
  // Red text gets a stranger's line past the scanner's own-line test; the speaker still differs.
  ASSERT_TRUE(room.SayAsOther("Stranger", "<FONT COLOR=\"#ff0000\">/help</FONT>"));
  EXPECT_TRUE(StaysLast("/help")) << room.Transcript();

  EXPECT_EQ(Reply("/help"), kHelpText);
  EXPECT_EQ(Reply("/more"), kMoreText);
  // Neither reply is taken for a command when it comes back through the transcript.
  EXPECT_TRUE(StaysLast(kMoreText)) << room.Transcript();

  // A name typed into the box by hand is used as typed: now the stranger's red line is obeyed.
  ASSERT_TRUE(tool.SetText(app::kText1, "stranger"));
  ASSERT_TRUE(room.SayAsOther("Stranger", "<FONT COLOR=\"#ff0000\">/help</FONT>"));
  EXPECT_TRUE(e2e::WaitFor([&] {
    const std::vector<roomsim::RenderedLine> lines = Lines();
    return !lines.empty() && lines.back().message == kHelpText;
  })) << room.Transcript();
}

TEST_F(ToolChatE2E, SendsOffSilencesClearAndSendsOnRestoresReplies) {
  ASSERT_TRUE(StartScan()) << room.Transcript();
  EXPECT_EQ(Reply("/csoff"), "[Chatsends Off]");
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kChatsendlbl) == "Off"; }));
  EXPECT_TRUE(tool.IsChecked(app::kCheck2));

  ASSERT_TRUE(room.TypeAsUser("/clear"));
  ASSERT_TRUE(e2e::WaitFor([&] { return room.Transcript().empty(); })) << room.Transcript();
  EXPECT_TRUE(StaysEmpty()) << room.Transcript();

  // Unticked by hand, the box lets the replies through; the label keeps what "/csoff" wrote.
  ASSERT_TRUE(tool.Click(app::kCheck2));
  ASSERT_TRUE(room.TypeAsUser("/clear"));
  EXPECT_TRUE(e2e::WaitFor([&] { return Said("[Chat Cleared]"); })) << room.Transcript();
  EXPECT_EQ(tool.Text(app::kChatsendlbl), "Off");
  // Ticked by hand, it withholds them: the room is emptied, and the next line the tool says is
  // the answer to a later "/more".
  ASSERT_TRUE(tool.Click(app::kCheck2));
  ASSERT_TRUE(room.TypeAsUser("/clear"));
  ASSERT_TRUE(e2e::WaitFor([&] { return room.Transcript().empty(); })) << room.Transcript();
  EXPECT_EQ(Reply("/more"), kMoreText);
  EXPECT_FALSE(Said("[Chat Cleared]")) << room.Transcript();

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
  ASSERT_TRUE(StartScan()) << room.Transcript();
  EXPECT_EQ(Reply("/ct 0.4"), "[Clear Timer Set To 0.4 Minute(s)]");
  const auto firstSet = Clock::now();
  EXPECT_EQ(tool.Text(app::kClearStat), "On");
  EXPECT_EQ(tool.Text(app::kLblClear), "0.4");

  // A quarter of the way in, a new "/ct" starts a full period: the first one ends unnoticed.
  std::this_thread::sleep_until(firstSet + kClearPeriod / 4);  // the user's pace, not a wait
  const auto secondTyped = Clock::now();
  EXPECT_EQ(Reply("/ct 0.4"), "[Clear Timer Set To 0.4 Minute(s)]");
  EXPECT_FALSE(e2e::WaitFor([&] { return ClearedSince("/ct 0.4"); },
                            until(firstSet + kClearPeriod + kTickSlack)))
      << room.Transcript();
  ASSERT_TRUE(e2e::WaitFor(
      [&] {
        const std::vector<roomsim::RenderedLine> lines = Lines();
        return lines.size() == 1 && lines[0].ownLine && lines[0].message == "[Chat Cleared]";
      },
      60s))
      << room.Transcript();
  const auto cleared = Clock::now();
  RecordProperty(
      "clear_after_ms",
      static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(cleared - secondTyped).count()));

  // Switched off, it empties the room no more.
  EXPECT_EQ(Reply("/ctoff"), "[Clear Timer Off]");
  EXPECT_FALSE(e2e::WaitFor([&] { return ClearedSince("/ctoff"); },
                            until(cleared + kClearPeriod + kTickSlack)))
      << room.Transcript();
  const e2e::ToolProcess::MemoryUse memory = tool.Memory();
  RecordProperty("working_set_kb", static_cast<int>(memory.workingSet / 1024));
  RecordProperty("peak_working_set_kb", static_cast<int>(memory.peakWorkingSet / 1024));
}

TEST_F(ToolChatE2E, JoinOpensTheRoomLinkAndReplies) {
  ASSERT_TRUE(StartScan()) << room.Transcript();
  EXPECT_EQ(Reply("/join Lobby 4"), "[Joining Chat 'lobby' Ex.4]");
  ASSERT_TRUE(e2e::WaitFor([&] { return !linkLog.Lines().empty(); }, 30s));
  EXPECT_EQ(linkLog.Lines(), std::vector<std::string>{"aim:gochat?roomname=lobby&exchange=4"});
}

TEST_F(ToolChatE2E, RejoinClosesTheRoomAndOpensItAgainOnTheExchange) {
  ASSERT_TRUE(StartScan()) << room.Transcript();
  const HWND chat = room.chatWindow();
  ASSERT_TRUE(room.TypeAsUser("/rj 4"));
  ASSERT_TRUE(e2e::WaitFor([&] { return !IsWindow(chat); })) << "the room was not closed";
  ASSERT_TRUE(e2e::WaitFor([&] { return !linkLog.Lines().empty(); }, 30s));
  EXPECT_EQ(linkLog.Lines(), std::vector<std::string>{"aim:gochat?roomname=lobby&exchange=4"});
  // roomsim opens the room again from the link, with nothing said in it: no reply came.
  ASSERT_TRUE(e2e::WaitFor([] { return FindWindowA("AIM_ChatWnd", nullptr) != nullptr; }));
  EXPECT_TRUE(StaysEmpty()) << room.Transcript();
}

// The shell keeps the tray icons; a restarted shell has none and sends "TaskbarCreated".
TEST_F(ToolChatE2E, HideKeepsOneTrayIconThroughShellRestartsAndShowRemovesIt) {
  ASSERT_TRUE(StartScan()) << room.Transcript();
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
    ASSERT_TRUE(room.SetTranscript(""));
    ASSERT_TRUE(StartScan()) << room.Transcript();
    ASSERT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kText1) == "nightowl"; }));
    if (byHand) {
      ASSERT_TRUE(tool.Click(app::kCheck1));
    } else {
      EXPECT_EQ(Reply("/disable"), "[Chatscan Disabled]");
    }
    EXPECT_TRUE(e2e::WaitFor([&] { return !tool.IsChecked(app::kCheck1); })) << byHand;
    EXPECT_EQ(tool.Text(app::kText1), "") << byHand;
    // No longer scanning: a command goes unanswered.
    ASSERT_TRUE(room.TypeAsUser("/help"));
    EXPECT_TRUE(StaysLast("/help")) << byHand << room.Transcript();
  }
}

TEST_F(ToolChatE2E, SysinfoSendsOneLineOfFigures) {
  ASSERT_TRUE(StartScan()) << room.Transcript();
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
  ASSERT_TRUE(StartScan()) << room.Transcript();
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
