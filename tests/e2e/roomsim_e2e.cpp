// roomsim's own behaviour that the tool's suites do not drive: its send button and edit box by
// hand, links to the room it runs, and what a second roomsim or a closed room does to it.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "roomsim_protocol.h"
#include "support/room_and_tool.h"
#include "support/roomsim_driver.h"
#include "transcript_markup.h"

namespace {

using Process = std::unique_ptr<void, decltype(&CloseHandle)>;

// Starts another roomsim beside the fixture's, which ends it with itself if it still runs.
Process Start(const std::wstring& arguments) {
  PROCESS_INFORMATION info =
      e2e::Launch(L"\"" + (e2e::BinDir() / "roomsim.exe").wstring() + L"\" " + arguments);
  if (info.hThread != nullptr) CloseHandle(info.hThread);
  return {info.hProcess, &CloseHandle};
}

Process OwnerOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return {OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id), &CloseHandle};
}

// The exit code once the process has ended, or STILL_ACTIVE if it runs on.
DWORD ExitCode(const Process& process) {
  DWORD code = STILL_ACTIVE;
  if (process && WaitForSingleObject(process.get(), 20000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.get(), &code);
  }
  return code;
}

HWND Child(HWND parent, const char* className, int index) {
  HWND child = parent ? FindWindowExA(parent, nullptr, className, nullptr) : nullptr;
  while (child && index-- > 0) child = FindWindowExA(parent, child, className, nullptr);
  return child;
}

HWND ChatWindow() { return FindWindowA("AIM_ChatWnd", nullptr); }

class RoomsimE2E : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(room.started()) << "roomsim did not open its chat window"; }

  HWND Input() const { return Child(Child(ChatWindow(), "WndAte32Class", 1), "Ate32Class", 0); }

  e2e::NoProcessLeftBehind noProcessLeftBehind;
  e2e::TempFile linkLog{"roomsim-links"};
  e2e::Roomsim room{{"Lobby", "Tester", linkLog.path().string()}};
};

TEST_F(RoomsimE2E, OnlyTheFifthButtonSendsAndOncePerPress) {
  struct Press {
    int button;
    const char* steps;  // d button down, u button up, s space key-up, k another key-up
    const char* lines;  // lines in the room after each step
  };
  const Press presses[] = {
      {4, "du", "01"}, {4, "dsu", "011"}, {4, "dku", "001"}, {4, "dduu", "0011"}, {4, "u", "0"},
      {4, "s", "0"},   {0, "du", "00"},   {3, "dsu", "000"}, {5, "dsu", "000"},
  };
  for (const Press& press : presses) {
    ASSERT_TRUE(room.SetTranscript(""));
    const HWND button = Child(ChatWindow(), "_oscar_iconbtn", press.button);
    ASSERT_NE(button, nullptr);
    for (std::size_t i = 0; press.steps[i] != '\0'; ++i) {
      const char step = press.steps[i];
      const UINT message = step == 'd' ? WM_LBUTTONDOWN : step == 'u' ? WM_LBUTTONUP : WM_KEYUP;
      SendMessageA(button, message, step == 's' ? VK_SPACE : step == 'k' ? VK_RETURN : 0, 0);
      EXPECT_EQ(room.LineCount(), press.lines[i] - '0')
          << "button " << press.button + 1 << ", after " << std::string(press.steps, i + 1);
    }
  }
}

TEST_F(RoomsimE2E, TypingInTheEditBoxAndEnterSendTextsWhole) {
  const HWND edit = FindWindowExA(Input(), nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  for (char c : std::string("typed by hand")) SendMessageA(edit, WM_CHAR, c, 0);
  EXPECT_EQ(e2e::WindowText(Input()), "typed by hand");  // what the tool reads
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  const auto lines = roomsim::ParseTranscript(room.Transcript());
  ASSERT_EQ(lines.size(), 1u) << room.Transcript();
  EXPECT_TRUE(lines[0].ownLine);
  EXPECT_EQ(lines[0].message, "typed by hand");
  EXPECT_EQ(e2e::WindowText(edit), "");
  // What the tool puts into the input shows in the edit box.
  SendMessageA(Input(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("from the tool"));
  EXPECT_EQ(e2e::WindowText(edit), "from the tool");
  // A transcript far longer than any window text goes in and comes out whole.
  std::string big;
  while (big.size() < 1'000'000) big += roomsim::FormatLine("Al", "line", false, "1:02:03 PM");
  ASSERT_TRUE(room.SetTranscript(big));
  EXPECT_TRUE(room.Transcript() == big) << room.Transcript().size();
}

TEST_F(RoomsimE2E, LinksSwitchTheRoomOnlyToAnotherOne) {
  ASSERT_TRUE(room.TypeAsUser("kept"));
  struct Link {
    const char* link;
    bool opened;
    const char* caption;
    int lines;
  };
  const Link links[] = {
      {"aim:gochat?roomname=LOBBY&exchange=4", true, "Chat Room: Lobby", 1},
      {"aim:gochat?roomname=trivia&exchange=5", true, "Chat Room: trivia", 0},
      {"aim:goim?screenname=x", false, "Chat Room: trivia", 0},
  };
  std::vector<std::string> logged;
  for (const Link& link : links) {
    EXPECT_EQ(e2e::HubCommand(roomsim::kOpenLink, link.link), link.opened) << link.link;
    EXPECT_EQ(e2e::WindowText(room.chatWindow()), link.caption) << link.link;
    EXPECT_EQ(room.LineCount(), link.lines) << link.link;
    logged.push_back(link.link);
  }
  EXPECT_EQ(linkLog.Lines(), logged);
}

TEST_F(RoomsimE2E, AClosedRoomWaitsForALinkThenEndsByItself) {
  const Process process = OwnerOf(room.hub());
  PostMessageA(room.chatWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return ChatWindow() == nullptr; }));
  EXPECT_FALSE(room.SayAsOther("Alice", "hi"));
  EXPECT_FALSE(room.TypeAsUser("hi"));
  EXPECT_FALSE(room.SetTranscript("x"));
  ASSERT_TRUE(e2e::HubCommand(roomsim::kOpenLink, "aim:gochat?roomname=lobby&exchange=4"));
  EXPECT_EQ(e2e::WindowText(ChatWindow()), "Chat Room: lobby");
  EXPECT_TRUE(room.SayAsOther("Alice", "back"));
  PostMessageA(ChatWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCode(process), 0u);
}

TEST_F(RoomsimE2E, ASecondRoomsimHandsItsLinkOverOrReplacesTheRunningOne) {
  EXPECT_EQ(ExitCode(Start(L"--link \"aim:gochat?roomname=second&exchange=5\"")), 0u);
  EXPECT_EQ(e2e::WindowText(room.chatWindow()), "Chat Room: second");
  EXPECT_EQ(ExitCode(Start(L"--link aim:nothing")), 1u);
  EXPECT_EQ(linkLog.Lines(),
            (std::vector<std::string>{"aim:gochat?roomname=second&exchange=5", "aim:nothing"}));

  const Process first = OwnerOf(room.hub());
  const Process second = Start(L"--room Other --user Someone");
  EXPECT_EQ(ExitCode(first), 0u);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::WindowText(ChatWindow()) == "Chat Room: Other"; }));
  ASSERT_TRUE(room.TypeAsUser("hi"));
  EXPECT_EQ(roomsim::ParseTranscript(room.Transcript()).at(0).speaker, "Someone");
}

}  // namespace
