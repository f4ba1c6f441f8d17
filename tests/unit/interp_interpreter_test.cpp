#include "interp/interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_chat_room.h"
#include "platform/fake/fake_timer.h"
#include "transcript_markup.h"

namespace tv::interp {
namespace {

using platform::FakeDesktop;

const std::string kHelp =
    "[Tavik Varrow V.2][Join Chat Room = '/join chatroom ex', Close Window = '/x', Rejoin = '/rj "
    "ex', Chat Scan Off = '/disable', Clear = '/clear', Show = '/show', Hide = '/hide', End = "
    "'/end', More Options = '/more']";
const std::string kMore =
    "[More Options... Clear Timer(m) = '/ct #', Clear Timer Off = '/ctoff', Chat Send On = "
    "'/cson', Chat Send Off = '/csoff'  System Info = /sysinfo]";

// What the window and the shell were asked, each call with the length of the desktop's message
// log at that moment, so that they and the chat-window messages can be put in one order.
using Lines = std::vector<std::string>;
using Calls = std::vector<std::pair<std::size_t, std::string>>;

class FakeWindow final : public form::WindowCommands {
 public:
  FakeWindow(const FakeDesktop& desktop, Calls& calls) : desktop_(desktop), calls_(calls) {}
  void SendToTray() override { Record("SendToTray"); }
  void RestoreFromTray() override { Record("RestoreFromTray"); }
  void RemoveTrayIcon() override { Record("RemoveTrayIcon"); }
  void StopScan() override { Record("StopScan"); }
  void SendSystemInfo() override { Record("SendSystemInfo"); }
  void EndProcess() override { Record("EndProcess"); }

 private:
  void Record(const char* name) { calls_.emplace_back(desktop_.Log().size(), name); }
  const FakeDesktop& desktop_;
  Calls& calls_;
};

class FakeShell final : public platform::Shell {
 public:
  FakeShell(const FakeDesktop& desktop, Calls& calls) : desktop_(desktop), calls_(calls) {}
  // The link itself is room_link's business; here only what was opened, and when.
  std::intptr_t ShellExecuteA(platform::WindowHandle /*owner*/, const std::string& verb,
                              const std::string& file, const std::optional<std::string>& /*p*/,
                              const std::optional<std::string>& /*d*/, int /*show*/) override {
    calls_.emplace_back(desktop_.Log().size(), verb + " " + file);
    return 42;
  }

 private:
  const FakeDesktop& desktop_;
  Calls& calls_;
};

class InterpreterTest : public ::testing::Test {
 protected:
  explicit InterpreterTest(const std::string& user = "Tester") : room(user) {
    chat.SetScanHandler(
        [this](const chatctl::ChatLine& line) { interpreter.chat_aimchatscan(line); });
    chat.scan_on();
  }

  // The scanner's tick, which hands the newest line to the interpreter.
  void Say(const std::string& message) {
    room.SayAsUser(message);
    chat.chat_tymer_Timer();
  }
  // A line in the user's colour from somebody else, as when "#ff0000" is in its markup.
  void SayInRed(const std::string& speaker, const std::string& message) {
    const std::string line =
        roomsim::FormatLine(speaker, message, true, roomsim::FormatClock(11, 0, ++redClock_));
    room.desktop.SetText(room.transcript, room.Transcript() + line);
    chat.chat_tymer_Timer();
  }
  void Identify() {
    Say("hello");
    chat.chat_tymer_Timer();  // "[Found User 'Tester']" comes back
    Forget();
  }
  void Forget() {
    room.desktop.ClearLog();
    room.ClearSent();
    calls.clear();
  }

  // Everything done to the room and the window, in order. A send is read off the send button:
  // a click (SendChatText) is down and up with wParam 13, a press (SendChatLine) is down, space
  // key-up and up with wParam 0; anything else on the button shows as it is.
  Lines Events() const {
    Lines out;
    const std::vector<FakeDesktop::Message>& log = room.desktop.Log();
    auto at = [&](std::size_t i, unsigned message, std::uintptr_t wParam) {
      return i < log.size() && log[i].window == room.sendButton() && log[i].message == message &&
             log[i].wParam == wParam;
    };
    std::string input;
    auto call = calls.begin();
    for (std::size_t i = 0; i <= log.size(); ++i) {
      for (; call != calls.end() && call->first == i; ++call) out.push_back(call->second);
      if (i == log.size()) break;
      const FakeDesktop::Message& m = log[i];
      if (m.window == room.input && m.message == platform::kWmSetText) input = m.text;
      if (m.window == room.transcript && m.message == platform::kWmSetText) {
        out.push_back("SetTranscriptText '" + m.text + "'");
      } else if (m.window == room.chat && m.message == platform::kWmClose) {
        out.emplace_back("CloseChatWindow");
      } else if (at(i, platform::kWmLButtonDown, 13) && at(i + 1, platform::kWmLButtonUp, 13)) {
        out.push_back("SendChatText " + input);
        ++i;
      } else if (at(i, platform::kWmLButtonDown, 0) && at(i + 1, platform::kWmKeyUp, 0x20) &&
                 at(i + 2, platform::kWmLButtonUp, 0)) {
        out.push_back("SendChatLine " + input);
        i += 2;
      } else if (m.window == room.sendButton()) {
        out.push_back("send button message " + std::to_string(m.message));
      }
    }
    return out;
  }

  tv::testing::FakeChatRoom room;
  Calls calls;
  FakeShell shell{room.desktop, calls};
  platform::ChatClientOs os{room.desktop, shell, room.codePage};
  platform::FakeTimer scanTimer;
  platform::FakeTimer clearTimer;
  chatctl::Chat chat{os, scanTimer};
  form::ToolState state{clearTimer};
  FakeWindow window{room.desktop, calls};
  Interpreter interpreter{os, chat, state, window};

 private:
  int redClock_ = 0;
};

struct CommandCase {
  // A command whose reply is not gated, or that has none.
  CommandCase(std::string t, const Lines& on) : typed(std::move(t)), sendsOn(on), sendsOff(on) {}
  CommandCase(std::string t, Lines on, Lines off)
      : typed(std::move(t)), sendsOn(std::move(on)), sendsOff(std::move(off)) {}
  std::string typed;
  Lines sendsOn, sendsOff;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << '"' << c.typed << '"'; }

class CommandTest : public InterpreterTest,
                    public ::testing::WithParamInterface<std::tuple<CommandCase, bool>> {};

TEST_P(CommandTest, ActsAndRepliesAndTheReplyMatchesNothing) {
  const auto& [command, sendsOff] = GetParam();
  Identify();
  state.SetSendsOff(sendsOff);  // as when the box is ticked by hand
  Say(command.typed);
  EXPECT_EQ(Events(), sendsOff ? command.sendsOff : command.sendsOn);
  Forget();
  chat.chat_tymer_Timer();  // the reply comes back as the user's own line
  EXPECT_EQ(Events(), Lines());
}

const std::string kLink = "open aim:gochat?roomname=";
const std::string kText = "SendChatText ";
const std::string kCleared = "SetTranscriptText ''";
const std::string kRefused = kText + "[Select Larger Clear Speed Or You Will Rate]";

const CommandCase kCommands[] = {
    {"/help", {kText + kHelp}},
    {"/HELP", {kText + kHelp}},
    {"/ help", {kText + kHelp}},
    {"/hel p", {kText + kHelp}},
    {"/help me", {}},
    {"/more", {kText + kMore}},
    {"/x", {"CloseChatWindow"}},
    {"/rj 4", {"CloseChatWindow", kLink + "lobby&exchange=4"}},
    {"/rj  4", {"CloseChatWindow", kLink + "lobby&exchange=4"}},
    {"/rj", {}},
    {"/rj x", {}},
    {"/rj 4 x", {}},
    {"/rj ", {}},
    {"/join Lobby 4",
     {kLink + "lobby&exchange=4", kText + "[Joining Chat 'lobby' Ex.4]"},
     {kLink + "lobby&exchange=4"}},
    {"/join lobby 4x",
     {kLink + "lobby&exchange=4", kText + "[Joining Chat 'lobby' Ex.4x]"},
     {kLink + "lobby&exchange=4"}},
    {"/join my room 4",
     {kLink + "my&exchange=0", kText + "[Joining Chat 'my' Ex.room4]"},
     {kLink + "my&exchange=0"}},
    {"/join  lobby 4",
     {kLink + "&exchange=0", kText + "[Joining Chat '' Ex.lobby4]"},
     {kLink + "&exchange=0"}},
    {"/join lobby 4.50",
     {kLink + "lobby&exchange=4.5", kText + "[Joining Chat 'lobby' Ex.4.50]"},
     {kLink + "lobby&exchange=4.5"}},
    {"/join lobby", {}},
    {"/end",
     {kText + "[Ending...]", "RemoveTrayIcon", "EndProcess"},
     {"RemoveTrayIcon", "EndProcess"}},
    {"/disable", {kText + "[Chatscan Disabled]", "StopScan"}, {"StopScan"}},
    {"/clear", {kCleared, kText + "[Chat Cleared]"}, {kCleared}},
    {"<b>/clear</b>", {kCleared, kText + "[Chat Cleared]"}, {kCleared}},
    // The scanner strips typed tags before the interpreter sees the line.
    {"<b>/ct 5</b>", {kText + "[Clear Timer Set To 5 Minute(s)]"}, {}},
    {"/hide", {"SendToTray", kText + "[Sent To Tray]"}, {"SendToTray"}},
    {"/show", {"RestoreFromTray", kText + "[Retrieved From Tray]"}, {"RestoreFromTray"}},
    {"/sysinfo", {"SendSystemInfo"}},
    {"/SysInfo", {"SendSystemInfo"}},
    {"/sys info", {"SendSystemInfo"}},
    {"/sysinfo now", {}},
    {"/ct 5", {kText + "[Clear Timer Set To 5 Minute(s)]"}, {}},
    {"/ct 0.39", {kRefused}, {}},
    {"/ct -1", {kRefused}, {}},
    {"/ct five", {}},
    {"/ct", {}},
    {"/ct off", {}},
    {"/ctoff", {kText + "[Clear Timer Off]"}, {}},
    {"/c toff", {kText + "[Clear Timer Off]"}, {}},
    {"/cson", {kText + "[Chatsends On]"}},
    {"/csoff", {kText + "[Chatsends Off]"}},
    {"/cs off", {kText + "[Chatsends Off]"}},
    {"", {}},
    {"[Chat Cleared]", {}},
};

INSTANTIATE_TEST_SUITE_P(Table, CommandTest,
                         ::testing::Combine(::testing::ValuesIn(kCommands), ::testing::Bool()));

class SomeNameTest : public InterpreterTest {
 protected:
  SomeNameTest() : InterpreterTest("Some Name") {}
};

TEST_F(SomeNameTest, TheFirstLineNamesTheUserAndIsNoCommand) {
  state.SetSendsOff(true);  // the announcement is never withheld
  Say("/help");
  chat.chat_tymer_Timer();  // the announcement comes back from the user
  EXPECT_EQ(Events(), Lines{"SendChatLine [Found User 'Some Name']"});
  EXPECT_EQ(state.userName(), L"somename");
}

TEST_F(SomeNameTest, OnlyTheUsersNameIsObeyedInAnyCaseOrSpacing) {
  Identify();
  for (const char* speaker : {"SomeName", "Some Name", "someone", "SOME NAME"}) {
    SayInRed(speaker, "/help");
  }
  EXPECT_EQ(room.Sent(), (Lines{kHelp, kHelp, kHelp}));
}

TEST_F(InterpreterTest, ANameTypedIntoTheWindowIsUsedExactlyAsTyped) {
  // Speakers are compared lower-cased and blank-free, so only a name typed that way matches.
  state.SetUserName(L"Some Name");
  SayInRed("Some Name", "/help");
  SayInRed("somename", "/help");
  EXPECT_TRUE(room.Sent().empty());
  state.SetUserName(L"somename");
  SayInRed("Some Name", "/help");
  EXPECT_EQ(room.Sent(), Lines{kHelp});
}

TEST_F(InterpreterTest, AnEmptySpeakerIsAnnouncedAndTheSearchGoesOn) {
  room.Say("Someone", "/help");  // not in the user's colour: no speaker
  chat.chat_tymer_Timer();
  EXPECT_EQ(state.userName(), L"");
  chat.chat_tymer_Timer();  // the announcement comes back as the user's own line
  chat.chat_tymer_Timer();
  EXPECT_EQ(Events(),
            (Lines{"SendChatLine [Found User '']", "SendChatLine [Found User 'Tester']"}));
  EXPECT_EQ(state.userName(), L"tester");
}

TEST_F(InterpreterTest, SpeakerLosesItsFirstCharacterAndMarkupOnlyCountsForTheWholeMessage) {
  state.SetUserName(L"tester");
  // Called directly: the scanner has already stripped every tag from what it reports.
  interpreter.chat_aimchatscan({L" Tester", L"<b>/clear</b>", L""});
  interpreter.chat_aimchatscan({L" Tester", L"<b>/ct 5</b>", L""});
  interpreter.chat_aimchatscan({L"Tester", L"/clear", L""});  // the speaker is "ester"
  EXPECT_EQ(Events(), (Lines{"SetTranscriptText ''", kText + "[Chat Cleared]"}));
  EXPECT_EQ(state.clearStatusText(), L"Off");
}

TEST_F(InterpreterTest, ClearTimerTakesAcceptedMinutesAndKeepsAPeriodTooLong) {
  Identify();
  const struct {
    std::string typed;
    std::wstring minutes, status;
    std::int32_t ms;
    bool on, running;
    int starts;  // so far: each accepted "/ct" with a period restarts the timer
  } steps[] = {
      {"/ct 0.39", L"0", L"Off", 0, false, false, 0},
      // No period yet, and none that fits: on, but it never fires.
      {"/ct 35791.394125", L"35791.394125", L"On", 0, true, false, 0},
      {"/ct 0.4", L"0.4", L"On", 24000, true, true, 1},
      {"/ct 0.400025", L"0.400025", L"On", 24002, true, true, 2},
      {"/ct 05 now", L"05", L"On", 300000, true, true, 3},
      {"/ct 35791.394125", L"35791.394125", L"On", 300000, true, true, 4},
      {"/ct off", L"35791.394125", L"On", 300000, true, true, 4},
      {"/ctoff", L"0", L"Off", 300000, false, false, 4},
      {"/ct 35791.39412499999", L"35791.39412499999", L"On", 2147483647, true, true, 5},
  };
  for (const auto& s : steps) {
    Say(s.typed);
    EXPECT_EQ(state.clearMinutesText(), s.minutes) << s.typed;
    EXPECT_EQ(state.clearStatusText(), s.status) << s.typed;
    EXPECT_EQ(state.clearIntervalMs(), s.ms) << s.typed;
    EXPECT_EQ(state.clearTimerOn(), s.on) << s.typed;
    EXPECT_EQ(clearTimer.running(), s.running) << s.typed;
    EXPECT_EQ(clearTimer.starts(), s.starts) << s.typed;
    if (s.running) {
      EXPECT_EQ(clearTimer.period().count(), s.ms) << s.typed;
    }
  }
}

TEST_F(InterpreterTest, SendsSwitchFollowsCommandsButTheLabelIgnoresTheBox) {
  Identify();
  Say("/csoff");
  EXPECT_TRUE(state.sendsOff());
  EXPECT_EQ(state.sendsText(), L"Off");
  Say("/cson");
  EXPECT_FALSE(state.sendsOff());
  EXPECT_EQ(state.sendsText(), L"On");
  state.SetSendsOff(true);
  Say("/clear");
  EXPECT_EQ(state.sendsText(), L"On");
  EXPECT_EQ(room.Sent(), (Lines{"[Chatsends Off]", "[Chatsends On]"}));
}

}  // namespace
}  // namespace tv::interp
