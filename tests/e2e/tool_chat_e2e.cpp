// The real tool scanning a real roomsim: the user ticks "Chat Scan", types commands into the room
// and reads the tool's replies in the transcript; effects are checked on the tool's window, on the
// room and in roomsim's link log. Then the room misbehaves.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/room_and_tool.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

// The clear timer's shortest period, "/ct 0.4", and how late a tick that must not come is looked
// for.
constexpr auto kClearPeriod = 24s;
constexpr auto kTickSlack = 1s;

std::chrono::milliseconds Until(Clock::time_point end) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
}

using ToolChatE2E = RoomAndTool;

// The clear timer takes a full period to show each of its effects. While it runs down after
// "/ctoff", the room's other commands are answered; none of them empties the room.
TEST_F(ToolChatE2E, IdentifiesAndObeysOnlyTheUserWhileTheClearTimerRuns) {
  // Identification: the announcement, then the user's name, both as the user, while the user has
  // a line half typed, which stays in the input box, unsent.
  ASSERT_TRUE(Roomsim::SetDraft("half a li"));
  ASSERT_TRUE(StartScan()) << Roomsim::Transcript();
  EXPECT_EQ(Roomsim::Draft(), "half a li");

  EXPECT_EQ(Reply("/ct 0.4"), "[Clear Timer Set To 0.4 Minute(s)]");
  const auto firstSet = Clock::now();
  EXPECT_EQ(tool.Text(app::kClearStat), "On");
  EXPECT_EQ(tool.Text(app::kLblClear), "0.4");
  // Strangers are not obeyed, not even in the user's red. Meanwhile the first period runs on for
  // twice the time a check that nothing is said takes.
  for (const char* help : {"/help", "<FONT COLOR=\"#ff0000\">/help</FONT>"}) {
    ASSERT_TRUE(room::SayAsOther("Stranger", help));
    ASSERT_TRUE(StaysLast("/help")) << Roomsim::Transcript();
  }
  // A new "/ct" counts a full period from itself: the first one ends unnoticed. Its clear comes
  // while the user is typing.
  EXPECT_EQ(Reply("/ct 0.4"), "[Clear Timer Set To 0.4 Minute(s)]");
  ASSERT_TRUE(Roomsim::SetDraft("while I type"));
  EXPECT_FALSE(
      WaitFor([] { return !Said("/ct 0.4"); }, Until(firstSet + kClearPeriod + kTickSlack)))
      << "cleared a full period after the first \"/ct\"";
  ASSERT_TRUE(WaitFor(
      [] {
        const std::vector<roomsim::RenderedLine> lines = Lines();
        return lines.size() == 1 && lines[0].ownLine && lines[0].message == "[Chat Cleared]";
      },
      60s))
      << Roomsim::Transcript();
  const auto cleared = Clock::now();
  EXPECT_EQ(Roomsim::Draft(), "while I type");
  EXPECT_FALSE(Said("half a li") || Said("while I type")) << Roomsim::Transcript();
  EXPECT_EQ(Reply("/ctoff"), "[Clear Timer Off]");
  EXPECT_EQ(tool.Text(app::kClearStat), "Off");
  EXPECT_EQ(tool.Text(app::kLblClear), "0");

  // A name typed into the box by hand is used as typed: now the stranger's red line is obeyed.
  ASSERT_TRUE(tool.SetText(app::kText1, "stranger"));
  ASSERT_TRUE(room::SayAsOther("Stranger", "<FONT COLOR=\"#ff0000\">/cson</FONT>"));
  EXPECT_TRUE(WaitFor([] { return LastIs("[Chatsends On]"); })) << Roomsim::Transcript();

  // Unticking "Chat Scan" by hand stops scanning and forgets the user; ticking it again names the
  // user anew.
  ASSERT_TRUE(tool.Click(app::kCheck1));
  EXPECT_EQ(tool.Text(app::kText1), "");
  ASSERT_TRUE(room::TypeAsUser("/help"));
  EXPECT_TRUE(StaysLast("/help")) << Roomsim::Transcript();
  ASSERT_TRUE(StartScan()) << Roomsim::Transcript();

  EXPECT_FALSE(WaitFor([] { return !Said("/ctoff"); }, Until(cleared + kClearPeriod + kTickSlack)))
      << "cleared after \"/ctoff\"";
}

// The shell keeps the tray icons; a restarted shell has none and sends "TaskbarCreated".
TEST_F(ToolChatE2E, SendsOffTheTrayARejoinAndTheEnd) {
  ASSERT_TRUE(StartScan()) << Roomsim::Transcript();
  EXPECT_EQ(Reply("/csoff"), "[Chatsends Off]");
  EXPECT_TRUE(WaitFor([&] { return tool.Text(app::kChatsendlbl) == "Off"; }));
  EXPECT_TRUE(tool.IsChecked(app::kCheck2));
  // Ungated, the one line of figures. The running programs are the count the registry keeps, as
  // Windows does, else the windows the taskbar shows: one more with a window of this test's.
  const auto programs = [&] {
    const std::string line = Reply("/sysinfo");
    std::smatch match;
    EXPECT_TRUE(std::regex_match(line, match, SystemInfoLine())) << line;
    return match.empty() ? -1 : std::stoi(match[1]);
  };
  const DWORD count = 4242;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "SessionInformation", "ProgramCount", REG_DWORD,
                            &count, sizeof count),
            ERROR_SUCCESS);
  EXPECT_EQ(programs(), 4242);
  RegDeleteKeyValueA(HKEY_CURRENT_USER, "SessionInformation", "ProgramCount");
  const int onTaskbar = programs();
  HWND ours = CreateWindowW(L"STATIC", L"ours", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 99, 99,
                            nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(programs(), onTaskbar + 1);
  DestroyWindow(ours);
  EXPECT_EQ(Reply("/cson"), "[Chatsends On]");
  EXPECT_TRUE(WaitFor([&] { return tool.Text(app::kChatsendlbl) == "On"; }));
  EXPECT_FALSE(tool.IsChecked(app::kCheck2));

  // Showing a shown window changes nothing, and removing an icon never added is harmless.
  const HWND form = tool.form();
  const auto holds = [&] { return TrayIconCall(NIM_MODIFY, form); };
  const auto shown = [&] { return IsWindowVisible(form) && !IsIconic(form) && !holds(); };
  EXPECT_EQ(Reply("/show"), "[Retrieved From Tray]");
  EXPECT_TRUE(shown());
  // A restarted shell holds no icons (Wine then hides its tray window), then says so; the tool
  // adds its icon again if it wants it.
  const auto restartShell = [&] {
    return TrayIconCall(NIM_DELETE, form) &&
           !IsWindowVisible(FindWindowW(L"Shell_TrayWnd", nullptr)) &&
           Send(form, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0) && holds();
  };
  // The shell refuses the tool's first add (the test put an icon of that ID there); still wanted.
  ASSERT_TRUE(TrayIconCall(NIM_ADD, form));
  EXPECT_EQ(Reply("/hide"), "[Sent To Tray]");
  EXPECT_TRUE(!IsWindowVisible(form) && IsIconic(form));
  EXPECT_TRUE(restartShell());
  // A second "/hide" leaves the one icon.
  EXPECT_EQ(Reply("/hide"), "[Sent To Tray]");
  EXPECT_TRUE(restartShell());
  EXPECT_EQ(Reply("/show"), "[Retrieved From Tray]");
  EXPECT_TRUE(shown());
  ASSERT_TRUE(Send(form, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
  EXPECT_FALSE(holds()) << "an icon no longer wanted came back";

  // "/rj" closes the room and opens it again on the exchange, with no reply, whatever quotes and
  // control characters the room's name holds: the handler gets them encoded, in one link. The
  // tool answers in the new window once it has seen it, and ends from the tray.
  ASSERT_TRUE(room::OpenLink("aim:gochat?roomname=A%22b%09 --x&exchange=5"));
  ASSERT_TRUE(room::TypeAsUser("/rj 4"));
  const HWND chat = roomsim->chatWindow();
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(chat); })) << "the room was not closed";
  EXPECT_EQ(Links(2).back(), "aim:gochat?roomname=a%22b%09--x&exchange=4");
  ASSERT_TRUE(WaitFor([] { return FindWindowA("AIM_ChatWnd", nullptr) != nullptr; }));
  EXPECT_EQ(WindowText(FindWindowA("AIM_ChatWnd", nullptr)), "Chat Room: a\"b\t--x");
  ASSERT_TRUE(ToolHasLooked());
  EXPECT_EQ(Reply("/hide"), "[Sent To Tray]");
  EXPECT_EQ(Lines().size(), 2u) << Roomsim::Transcript();
  ASSERT_TRUE(holds());
  EXPECT_EQ(Reply("/end"), "[Ending...]");
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_TRUE(tool.Ends(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}

// Scanning outlasts a room that hangs, closes, and gives way to another roomsim.
TEST_F(ToolChatE2E, ScanningOutlastsARoomThatMisbehaves) {
  ASSERT_TRUE(StartScan()) << Roomsim::Transcript();
  // Hung between a command and its reply: the tool waits for the room and goes on.
  ASSERT_TRUE(room::TypeAsUser("/csoff"));
  ASSERT_TRUE(room::Hang(3000ms));
  EXPECT_TRUE(WaitFor([] { return Said("[Chatsends Off]"); }, 30s)) << Roomsim::Transcript();
  EXPECT_EQ(tool.Text(app::kChatsendlbl), "Off");
  EXPECT_EQ(Reply("/cson"), "[Chatsends On]");

  // "/x" closes the room; scanning goes on without one, and takes up the room of a roomsim that
  // replaces the lingering one.
  const HWND chat = roomsim->chatWindow();
  ASSERT_TRUE(room::TypeAsUser("/x"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(chat); })) << "the room was not closed";
  EXPECT_TRUE(Stays([&] { return tool.IsChecked(app::kCheck1); }));
  roomsim = std::make_unique<Roomsim>("Other", user, "", true);
  ASSERT_TRUE(roomsim->started() && ToolHasLooked());
  EXPECT_EQ(Reply("/cson"), "[Chatsends On]");
}

// Several rooms, sends off: each line is obeyed once, in the room where it was said. Going back and
// forth repeats no "/hide", "/show" or "/join", and a room open before scanning began gives none
// of the lines said in it before. A link the shell hands roomsim is one link, whatever it holds.
TEST_F(ToolChatE2E, SeveralRoomsEachLineOnceInTheRoomWhereItWasSaid) {
  // Identified, sends off, and scanning off again while the user says "/show" in another room.
  ASSERT_TRUE(StartScan()) << Roomsim::Transcript();
  EXPECT_EQ(Reply("/csoff"), "[Chatsends Off]");
  ASSERT_TRUE(tool.Click(app::kCheck1));
  const HWND lobby = roomsim->chatWindow();
  HWND den = nullptr;
  ASSERT_TRUE(room::OpenRoom("Den") &&
              WaitFor([&] { return (den = Roomsim::ChatInFront()) != lobby; }) &&
              room::TypeAsUser("/show"));
  const HWND form = tool.form();
  const auto shown = [&] { return IsWindowVisible(form) != FALSE; };
  // The room comes to the front, and the tool sees it there.
  const auto to = [&](const char* room) {
    const HWND window = room == std::string("Den") ? den : lobby;
    return room::OpenRoom(room) && WaitFor([&] { return Roomsim::ChatInFront() == window; }) &&
           ToolHasLooked();
  };
  // Scanning again, the name typed by hand: the room read first may be either.
  ASSERT_TRUE(tool.SetText(app::kText1, userKey) && tool.Click(app::kCheck1) && to("Lobby"));
  ASSERT_TRUE(room::TypeAsUser("/hide") && WaitFor([&] { return !shown(); }));
  ASSERT_TRUE(to("Den"));
  EXPECT_FALSE(shown()) << "a line said before scanning began";
  ASSERT_TRUE(room::TypeAsUser("/show") && WaitFor(shown));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(to("Lobby"));
    EXPECT_TRUE(shown()) << round;
    ASSERT_TRUE(to("Den"));
    EXPECT_TRUE(shown()) << round;
  }
  // "/join" brings the room's window to the front; the user goes back and stays.
  ASSERT_TRUE(room::TypeAsUser("/join lobby 4") && Links(1).size() == 1);
  ASSERT_TRUE(WaitFor([&] { return Roomsim::ChatInFront() == lobby; }));
  ASSERT_TRUE(to("Den"));
  EXPECT_TRUE(Stays([&] { return Roomsim::ChatInFront() == den; }));

  const std::string link = R"(aim:gochat?roomname=ab" --link-log "x.txt" --opt "cd&exchange=4)";
  EXPECT_EQ(Roomsim::RunAnother(" --link \"" + link + "\""), 0u);
  EXPECT_EQ(Links(2), (std::vector<std::string>{"aim:gochat?roomname=lobby&exchange=4", link}));
}

}  // namespace
}  // namespace e2e
