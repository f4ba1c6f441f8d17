// roomsim as a real process under Wine (or Windows), driven the way the tool and the end-to-end
// tests drive it: window lookup by class, window messages between processes, the hub's test
// commands, links through the shell. Run from the folder that holds roomsim.exe.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "aim/chat_window.h"
#include "aim/room_link.h"
#include "chatctl/chat.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"
#include "roomsim_protocol.h"
#include "transcript_markup.h"

namespace {

using namespace std::chrono_literals;

constexpr char kChatClass[] = "AIM_ChatWnd";
constexpr DWORD kExitWaitMs = 20000;

std::filesystem::path BinDir() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 20s) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
}

// A started process, ended by the destructor if it still runs.
class Process {
 public:
  explicit Process(const std::string& arguments) {
    std::string command = "\"";
    command += (BinDir() / "roomsim.exe").string();
    command += "\" ";
    command += arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &info_) != 0;
    if (!started_) error_ = ::GetLastError();
  }
  ~Process() {
    if (!started_) return;
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(info_.hProcess, 99);
      ::WaitForSingleObject(info_.hProcess, kExitWaitMs);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return started_; }
  // GetLastError of a start that failed.
  DWORD error() const { return error_; }
  DWORD id() const { return info_.dwProcessId; }
  // The exit code once the process has ended within the wait, else nullopt.
  std::optional<DWORD> Wait(DWORD milliseconds = kExitWaitMs) const {
    if (!started_) return std::nullopt;
    const DWORD waited = ::WaitForSingleObject(info_.hProcess, milliseconds);
    if (waited != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  DWORD error_ = 0;
};

DWORD OwnerOf(HWND window) {
  DWORD id = 0;
  if (window != nullptr) ::GetWindowThreadProcessId(window, &id);
  return id;
}

HWND Hub() { return ::FindWindowA(roomsim::kHubClass, nullptr); }
HWND ChatWindow() { return ::FindWindowA(kChatClass, nullptr); }

std::vector<HWND> Children(HWND parent, const char* className) {
  std::vector<HWND> children;
  for (HWND child = ::FindWindowExA(parent, nullptr, className, nullptr); child != nullptr;
       child = ::FindWindowExA(parent, child, className, nullptr)) {
    children.push_back(child);
  }
  return children;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, 5000, &copied);
  text.resize(copied);
  return text;
}

// The hub's answer to a test command; nullopt when it did not answer.
std::optional<DWORD_PTR> Command(std::uintptr_t command, const std::string& data) {
  COPYDATASTRUCT copy{};
  copy.dwData = command;
  copy.cbData = static_cast<DWORD>(data.size());
  copy.lpData = const_cast<char*>(data.data());
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutA(Hub(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                             10000, &answer)) {
    return std::nullopt;
  }
  return answer;
}

// Whether the chat window of that process is there with its whole tree: another process can find
// the chat window while its panes and buttons are still being made.
bool RoomReady(DWORD processId) {
  const HWND chat = ChatWindow();
  if (chat == nullptr || OwnerOf(chat) != processId || OwnerOf(Hub()) != processId) return false;
  const auto panes = Children(chat, "WndAte32Class");
  return panes.size() == 2 && Children(panes[0], "Ate32Class").size() == 1 &&
         Children(panes[1], "Ate32Class").size() == 1 &&
         Children(chat, "_oscar_iconbtn").size() == 6;
}

// Ends every roomsim that runs now, so that each test starts alone.
void EndRunningRoomsims() {
  for (HWND hub = Hub(); hub != nullptr; hub = Hub()) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, OwnerOf(hub));
    ::PostMessageA(hub, WM_CLOSE, 0, 0);
    if (process == nullptr) break;
    if (::WaitForSingleObject(process, kExitWaitMs) != WAIT_OBJECT_0) {
      ::TerminateProcess(process, 99);
      ::WaitForSingleObject(process, kExitWaitMs);
    }
    ::CloseHandle(process);
  }
}

std::string Own(const std::string& message, const std::string& clock) {
  return roomsim::FormatLine("Tester", message, true, clock);
}

class RoomsimTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The shell finds roomsim for aim: links only once it is registered.
    Process registration("--register");
    ASSERT_TRUE(registration.started()) << "error " << registration.error();
    ASSERT_EQ(registration.Wait(), 0u);
  }

  void SetUp() override {
    EndRunningRoomsims();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    linkLog_ = std::filesystem::path(temp) /
               ("roomsim-links-" + std::to_string(::GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
    std::filesystem::remove(linkLog_);
    room_.emplace("--room Lobby --user Tester --clock 10:00:01 --link-log \"" + linkLog_.string() +
                  "\"");
    ASSERT_TRUE(room_->started()) << "error " << room_->error();
    ASSERT_TRUE(WaitFor([this] { return RoomReady(room_->id()); }))
        << "roomsim did not open its chat window";
  }

  void TearDown() override {
    EndRunningRoomsims();
    room_.reset();
    std::filesystem::remove(linkLog_);
  }

  std::vector<std::string> LoggedLinks() const {
    std::vector<std::string> links;
    std::ifstream in(linkLog_);
    for (std::string line; std::getline(in, line);) links.push_back(line);
    return links;
  }

  HWND Transcript() const {
    return Children(Children(ChatWindow(), "WndAte32Class").at(0), "Ate32Class").at(0);
  }
  HWND Input() const {
    return Children(Children(ChatWindow(), "WndAte32Class").at(1), "Ate32Class").at(0);
  }
  HWND Button(std::size_t index) const {
    return Children(ChatWindow(), "_oscar_iconbtn").at(index);
  }

  tv::platform::Win32Desktop desktop_;
  tv::platform::Win32Shell shell_;
  tv::platform::Win32CodePage codePage_;
  tv::platform::ChatClientOs os_{desktop_, shell_, codePage_};
  std::filesystem::path linkLog_;
  std::optional<Process> room_;
};

TEST_F(RoomsimTest, OffersTheChatClientsWindowTree) {
  const HWND chat = ::FindWindowA("aim_chatwnd", nullptr);  // classes match in any case
  ASSERT_NE(chat, nullptr);
  EXPECT_EQ(ClassOf(chat), "AIM_ChatWnd");
  EXPECT_EQ(TextOf(chat), "Chat Room: Lobby");
  const auto panes = Children(chat, "wndate32class");
  ASSERT_EQ(panes.size(), 2u);
  for (HWND pane : panes) {
    EXPECT_EQ(ClassOf(pane), "WndAte32Class");
    ASSERT_EQ(Children(pane, "ate32class").size(), 1u);
    EXPECT_EQ(ClassOf(Children(pane, "ate32class")[0]), "Ate32Class");
  }
  const auto buttons = Children(chat, "_oscar_iconbtn");
  ASSERT_EQ(buttons.size(), 6u);
  EXPECT_EQ(TextOf(buttons[4]), "Send");
  EXPECT_EQ(tv::aim::GetRoomName(os_), L" Lobby");
}

TEST_F(RoomsimTest, SendsLikeTheFakeRoomWithTheToolsOwnOperations) {
  tv::aim::SendChatText(os_, L"[first]");
  tv::aim::SendChatLine(os_, L"[second]");  // down, space key-up, up: one line
  tv::aim::SendChatText(os_, L"");
  EXPECT_EQ(TextOf(Transcript()), Own("[first]", "10:00:01 AM") + Own("[second]", "10:00:02 AM") +
                                      Own("", "10:00:03 AM"));
  EXPECT_EQ(TextOf(Input()), "");
  EXPECT_EQ(tv::aim::GetTranscriptTail(os_).size(),
            std::min<std::size_t>(TextOf(Transcript()).size(), 500));
}

TEST_F(RoomsimTest, OnlyTheFifthButtonSendsAndOncePerPress) {
  struct Press {
    std::size_t button;
    std::vector<UINT> messages;
    int lines;  // lines added
  };
  const std::vector<Press> presses = {
      {4, {WM_LBUTTONDOWN, WM_LBUTTONUP}, 1},
      {4, {WM_LBUTTONDOWN, WM_KEYUP, WM_LBUTTONUP}, 1},
      {4, {WM_LBUTTONUP}, 0},
      {4, {WM_KEYUP}, 0},
      {0, {WM_LBUTTONDOWN, WM_LBUTTONUP}, 0},
      {3, {WM_LBUTTONDOWN, WM_LBUTTONUP}, 0},
      {5, {WM_LBUTTONDOWN, WM_KEYUP, WM_LBUTTONUP}, 0},
  };
  for (const Press& press : presses) {
    const std::size_t before = roomsim::ParseTranscript(TextOf(Transcript())).size();
    for (UINT message : press.messages) {
      ::SendMessageA(Button(press.button), message, message == WM_KEYUP ? VK_SPACE : 0, 0);
    }
    EXPECT_EQ(roomsim::ParseTranscript(TextOf(Transcript())).size(), before + press.lines)
        << "button " << press.button + 1 << " with " << press.messages.size() << " messages";
  }
}

TEST_F(RoomsimTest, HubCommandsActOnTheRoom) {
  EXPECT_EQ(Command(roomsim::kSayAsOther, "Alice\nhi all"), 1u);
  EXPECT_EQ(Command(roomsim::kTypeAsUser, "/help"), 1u);
  EXPECT_EQ(Command(roomsim::kSayAsOther, "no speaker line"), 0u);
  EXPECT_EQ(Command(99, "x"), 0u);
  EXPECT_EQ(TextOf(Transcript()), roomsim::FormatLine("Alice", "hi all", false, "10:00:01 AM") +
                                      Own("/help", "10:00:02 AM"));

  std::string big;
  while (big.size() < 1'000'000) big += Own("line " + std::to_string(big.size()), "1:02:03 PM");
  EXPECT_EQ(Command(roomsim::kSetTranscript, big), 1u);
  EXPECT_EQ(tv::aim::GetTranscriptText(os_).size(), big.size());
  EXPECT_EQ(codePage_.ToAnsi(tv::aim::GetTranscriptTail(os_)), big.substr(big.size() - 500));
  EXPECT_EQ(Command(roomsim::kSetTranscript, ""), 1u);
  EXPECT_EQ(TextOf(Transcript()), "");
}

TEST_F(RoomsimTest, TypingIntoTheEditBoxAndEnterSends) {
  const HWND edit = ::FindWindowExA(Input(), nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  for (char c : std::string("typed by hand")) ::SendMessageA(edit, WM_CHAR, c, 0);
  EXPECT_EQ(TextOf(Input()), "typed by hand");  // the tool reads what the user typed
  ::SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(TextOf(Transcript()), Own("typed by hand", "10:00:01 AM"));
  EXPECT_EQ(TextOf(Input()), "");
  EXPECT_EQ(TextOf(edit), "");
  // Text the tool puts in shows in the edit box.
  ::SendMessageA(Input(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("from the tool"));
  EXPECT_EQ(TextOf(edit), "from the tool");
}

TEST_F(RoomsimTest, ScannerReadsTheUsersLinesWithSpeakerMessageAndStamp) {
  struct NoTimer final : tv::platform::Timer {
    void Start(std::chrono::milliseconds) override {}
    void Stop() override {}
  } timer;
  tv::chatctl::Chat chat(os_, timer);
  std::vector<tv::chatctl::ChatLine> lines;
  chat.SetScanHandler([&](tv::chatctl::ChatLine& line) { lines.push_back(line); });
  chat.scan_on();
  ASSERT_EQ(Command(roomsim::kTypeAsUser, "/help"), 1u);
  chat.chat_tymer_Timer();
  ASSERT_EQ(Command(roomsim::kTypeAsUser, "/help"), 1u);  // the same words, a later line
  chat.chat_tymer_Timer();
  ASSERT_EQ(Command(roomsim::kSayAsOther, "Alice\n/help"), 1u);
  chat.chat_tymer_Timer();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].whosaid, L" Tester");
  EXPECT_EQ(lines[0].whatsaid, L"/help");
  EXPECT_EQ(lines[0].datesaid, L"{10:00:01 AM}");
  EXPECT_EQ(lines[1].datesaid, L"{10:00:02 AM}");
  EXPECT_EQ(lines[2].whosaid, L"");  // another speaker's colour: no speaker, no message
  EXPECT_EQ(lines[2].datesaid, L"{10:00:03 AM}");
}

TEST_F(RoomsimTest, LinksSwitchTheRoomAndAreLoggedAsReceived) {
  ASSERT_EQ(Command(roomsim::kTypeAsUser, "kept"), 1u);
  EXPECT_EQ(Command(roomsim::kOpenLink, "aim:gochat?roomname=LOBBY&exchange=4"), 1u);
  EXPECT_EQ(TextOf(Transcript()), Own("kept", "10:00:01 AM"));  // the same room stays as it was
  EXPECT_EQ(Command(roomsim::kOpenLink, "aim:gochat?roomname=trivia&exchange=5"), 1u);
  EXPECT_EQ(TextOf(ChatWindow()), "Chat Room: trivia");
  EXPECT_EQ(TextOf(Transcript()), "");
  EXPECT_EQ(tv::aim::GetRoomName(os_), L" trivia");
  EXPECT_EQ(Command(roomsim::kOpenLink, "aim:goim?screenname=x"), 0u);
  EXPECT_EQ(TextOf(ChatWindow()), "Chat Room: trivia");
  EXPECT_EQ(LoggedLinks(), (std::vector<std::string>{"aim:gochat?roomname=LOBBY&exchange=4",
                                                     "aim:gochat?roomname=trivia&exchange=5",
                                                     "aim:goim?screenname=x"}));
}

TEST_F(RoomsimTest, ClosedRoomAnswersNothingUntilALinkReopensIt) {
  tv::aim::CloseChatWindow(os_);
  ASSERT_TRUE(WaitFor([] { return ChatWindow() == nullptr; }));
  EXPECT_NE(Hub(), nullptr);
  EXPECT_EQ(tv::aim::GetTranscriptText(os_), L"");
  EXPECT_EQ(Command(roomsim::kSayAsOther, "Alice\nhi"), 0u);
  EXPECT_EQ(Command(roomsim::kTypeAsUser, "hi"), 0u);
  EXPECT_EQ(Command(roomsim::kSetTranscript, "x"), 0u);
  EXPECT_EQ(Command(roomsim::kOpenLink, "aim:gochat?roomname=lobby&exchange=4"), 1u);
  ASSERT_NE(ChatWindow(), nullptr);
  EXPECT_EQ(OwnerOf(ChatWindow()), room_->id());
  EXPECT_EQ(TextOf(ChatWindow()), "Chat Room: lobby");
  EXPECT_EQ(Command(roomsim::kSayAsOther, "Alice\nback"), 1u);
}

TEST_F(RoomsimTest, EndsByItselfOnceNoRoomHasBeenOpenForAWhile) {
  tv::aim::CloseChatWindow(os_);
  EXPECT_EQ(room_->Wait(), 0u);
  EXPECT_EQ(Hub(), nullptr);
}

TEST_F(RoomsimTest, ASecondRoomsimHandsItsLinkOverAndExits) {
  Process second("--link \"aim:gochat?roomname=second&exchange=5\"");
  ASSERT_TRUE(second.started()) << "error " << second.error();
  EXPECT_EQ(second.Wait(), 0u);
  EXPECT_EQ(TextOf(ChatWindow()), "Chat Room: second");
  EXPECT_EQ(OwnerOf(ChatWindow()), room_->id());
  Process refused("--link \"aim:nothing\"");
  ASSERT_TRUE(refused.started()) << "error " << refused.error();
  EXPECT_EQ(refused.Wait(), 1u);
  EXPECT_EQ(LoggedLinks(),
            (std::vector<std::string>{"aim:gochat?roomname=second&exchange=5", "aim:nothing"}));
}

TEST_F(RoomsimTest, JoinRoomThroughTheShellReachesRoomsimWithTheExactLink) {
  tv::aim::JoinRoom(os_, L"Main Lobby", L"4");
  ASSERT_TRUE(WaitFor([this] { return !LoggedLinks().empty(); }, 30s));
  EXPECT_EQ(LoggedLinks(), std::vector<std::string>{"aim:gochat?roomname=mainlobby&exchange=4"});
  EXPECT_TRUE(WaitFor([] { return TextOf(ChatWindow()) == "Chat Room: mainlobby"; }));
}

TEST_F(RoomsimTest, RejoinAfterCloseFindsTheLingeringRoomsim) {
  const std::wstring name = tv::aim::GetRoomName(os_);
  tv::aim::CloseChatWindow(os_);
  tv::aim::JoinRoom(os_, name, L"4");
  // The old window may still be found until the close has gone through; the new one has the
  // room name as the link gave it.
  EXPECT_TRUE(WaitFor(
      [this] { return RoomReady(room_->id()) && TextOf(ChatWindow()) == "Chat Room: lobby"; },
      30s));
}

TEST_F(RoomsimTest, HangsOnRequestAndSaysSoThroughTheEvent) {
  const HANDLE hung = ::OpenEventA(SYNCHRONIZE, FALSE, roomsim::kHungEventName);
  ASSERT_NE(hung, nullptr);
  EXPECT_EQ(::WaitForSingleObject(hung, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ASSERT_TRUE(::PostMessageA(Hub(), roomsim::kHangMessage, 4000, 0));
  ASSERT_EQ(::WaitForSingleObject(hung, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_FALSE(desktop_
                   .SendMessageA(reinterpret_cast<tv::platform::WindowHandle>(Transcript()),
                                 WM_GETTEXTLENGTH, 0, 0)
                   .answered);
  EXPECT_TRUE(WaitFor([&] { return ::WaitForSingleObject(hung, 0) == WAIT_TIMEOUT; }));
  EXPECT_TRUE(desktop_
                  .SendMessageA(reinterpret_cast<tv::platform::WindowHandle>(Transcript()),
                                WM_GETTEXTLENGTH, 0, 0)
                  .answered);
  ::CloseHandle(hung);
}

TEST_F(RoomsimTest, APlainSecondStartReplacesTheRunningOne) {
  Process second("--room Other --user Someone");
  ASSERT_TRUE(second.started()) << "error " << second.error();
  EXPECT_TRUE(room_->Wait().has_value());
  ASSERT_TRUE(WaitFor([&] { return RoomReady(second.id()); }));
  EXPECT_EQ(TextOf(ChatWindow()), "Chat Room: Other");
  ASSERT_EQ(Command(roomsim::kTypeAsUser, "hi"), 1u);
  EXPECT_EQ(roomsim::ParseTranscript(TextOf(Transcript())).at(0).speaker, "Someone");
}

}  // namespace
