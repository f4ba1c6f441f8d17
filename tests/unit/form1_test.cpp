#include "form/form1.h"

#include <gtest/gtest.h>

#include "interp/markup.h"
#include "interp/words.h"
#include "wired_tool.h"

namespace tv::form {
namespace {

using Lines = std::vector<std::string>;
const std::string kHelp =
    "[Tavik Varrow V.2][Join Chat Room = '/join chatroom ex', Close Window = '/x', Rejoin = '/rj "
    "ex', Chat Scan Off = '/disable', Clear = '/clear', Show = '/show', Hide = '/hide', End = "
    "'/end', More Options = '/more']";
const std::string kMore =
    "[More Options... Clear Timer(m) = '/ct #', Clear Timer Off = '/ctoff', Chat Send On = "
    "'/cson', Chat Send Off = '/csoff'  System Info = /sysinfo]";

class Form1Test : public ::testing::Test, public testing::WiredTool {
 public:
  void Tick() { chat.chat_tymer_Timer(); }
  void Say(const std::string& message) {
    room.SayAsUser(message);
    Tick();
  }
  void SayInRed(const std::string& speaker, const std::string& message) {
    room.Say(speaker, message, true);
    Tick();
  }
  // Ticks "Chat Scan"; the announcement comes back on the next tick and names the user.
  void StartScanning() {
    view.Click(kCheck1);
    Tick();
  }
  void Forget() {
    room.ClearSent();
    room.desktop.ClearLog();
    view.log.clear();
    linksSeen = room.shell.Calls().size();
  }
  // What the room, the shell and the window were asked since Forget, grouped in that order.
  std::string Events() const {
    Lines out;
    for (const auto& m : room.desktop.Log()) {
      if (m.window == room.transcript && m.message == platform::kWmSetText)
        out.emplace_back("clear");
      if (m.window == room.chat && m.message == platform::kWmClose) out.emplace_back("close");
    }
    for (std::size_t i = linksSeen; i < room.shell.Calls().size(); ++i) {
      out.push_back("join " + room.shell.Calls()[i].file.substr(sizeof "aim:gochat?roomname=" - 1));
    }
    for (const std::string& s : room.Sent()) {
      const std::size_t cut = s.find("] [");  // the figures of "/sysinfo" are the labels' business
      out.push_back(cut == std::string::npos ? s : s.substr(0, cut + 1));
    }
    out.insert(out.end(), view.log.begin(), view.log.end());
    if (scanTimer.starts > 0 && !chat.scanning()) {
      const bool half = view.IsChecked(kCheck1) || state.scanOn() || !state.userName().empty();
      out.emplace_back(half ? "half" : "stopped");
    }
    std::string joined;
    for (const std::string& e : out) joined += (joined.empty() ? "" : "|") + e;
    return joined;
  }

  std::size_t linksSeen = 0;
};

struct CommandCase {
  const char* typed;
  std::string events;  // with sends on
};
void PrintTo(const CommandCase& c, std::ostream* out) { *out << '"' << c.typed << '"'; }

// With sends off, the events less the reply when the command table gates the reply of the command
// whose word the message starts with.
std::string WithSendsOff(const CommandCase& c) {
  const std::string typed = c.typed;
  const std::wstring m =
      interp::RemoveHTML(interp::Normalise(std::wstring(typed.begin(), typed.end())));
  const interp::CommandWord* acting = nullptr;
  for (const interp::CommandWord& command : interp::Interpreter::Commands()) {
    if (m.starts_with(command.word) && (!acting || command.word.size() > acting->word.size())) {
      acting = &command;
    }
  }
  if (acting == nullptr || acting->answer != interp::Answer::kGated) return c.events;
  std::string kept;
  for (std::size_t at = 0; at <= c.events.size();) {
    const std::size_t end = std::min(c.events.find('|', at), c.events.size());
    const std::string event = c.events.substr(at, end - at);
    if (!event.starts_with('[')) kept += (kept.empty() ? "" : "|") + event;
    at = end + 1;
  }
  return kept;
}

class CommandTest : public Form1Test,
                    public ::testing::WithParamInterface<std::tuple<CommandCase, bool>> {};

TEST_P(CommandTest, ActsAndRepliesAndTheReplyMatchesNothing) {
  const auto& [command, sendsOff] = GetParam();
  StartScanning();
  if (sendsOff) view.Click(kCheck2);
  Forget();
  Say(command.typed);
  EXPECT_EQ(Events(), sendsOff ? WithSendsOff(command) : command.events);
  Forget();
  Tick();  // the reply comes back as the user's own line
  EXPECT_EQ(Events(), command.events.ends_with("stopped") ? "stopped" : "");
}

const std::string kRefused = "[Select Larger Clear Speed Or You Will Rate]";
const std::string kJoin4 = "join lobby&exchange=4";
// clang-format off
const CommandCase kCommands[] = {
    {"/help", kHelp}, {"/HELP", kHelp}, {"/hel p", kHelp}, {"/help me", ""}, {"/more", kMore},
    {"/x", "close"}, {"/rj 4", "close|" + kJoin4}, {"/rj  4", "close|" + kJoin4}, {"/rj", ""},
    {"/rj x", ""}, {"/rj 4 x", ""}, {"/join Lobby 4", kJoin4 + "|[Joining Chat 'lobby' Ex.4]"},
    {"/join lobby 4x", kJoin4 + "|[Joining Chat 'lobby' Ex.4x]"},
    {"/join my room 4", "join my&exchange=0|[Joining Chat 'my' Ex.room4]"},
    {"/join  lobby 4", "join &exchange=0|[Joining Chat '' Ex.lobby4]"},
    {"/join lobby 4.50", "join lobby&exchange=4.5|[Joining Chat 'lobby' Ex.4.50]"},
    {"/join lobby", ""}, {"/end", "[Ending...]|RemoveTrayIcon|EndProcess"},
    {"/disable", "[Chatscan Disabled]|stopped"}, {"/clear", "clear|[Chat Cleared]"},
    // The scanner strips typed tags before the interpreter sees the line.
    {"<b>/clear</b>", "clear|[Chat Cleared]"}, {"<b>/ct 5</b>", "[Clear Timer Set To 5 Minute(s)]"},
    {"/hide", "[Sent To Tray]|AddTrayIcon|MinimiseAndHide"},
    {"/show", "[Retrieved From Tray]|RemoveTrayIcon"}, {"/sysinfo", "[System Info]"},
    {"/Sys Info", "[System Info]"}, {"/sysinfo now", ""}, {"/ct 5", "[Clear Timer Set To 5 Minute(s)]"},
    {"/ct 0.39", kRefused}, {"/ct -1", kRefused}, {"/ct five", ""}, {"/ct", ""},
    {"/ctoff", "[Clear Timer Off]"}, {"/c toff", "[Clear Timer Off]"}, {"/cson", "[Chatsends On]"},
    {"/csoff", "[Chatsends Off]"}, {"/cs off", "[Chatsends Off]"}, {"", ""}, {"[Chat Cleared]", ""},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Table, CommandTest,
                         ::testing::Combine(::testing::ValuesIn(kCommands), ::testing::Bool()));

// The replies of "/help" and "/more", as the user reads them, name every other command of the
// table.
TEST(CommandTableTest, TheHelpTextsNameEveryOtherCommand) {
  for (const interp::CommandWord& command : interp::Interpreter::Commands().subspan(1)) {
    const std::string word(command.word.begin(), command.word.end());
    EXPECT_NE((kHelp + kMore).find(word), std::string::npos) << word;
  }
}

TEST_F(Form1Test, LoadsCollapsedWithTheFiguresAndMoreOptionsSwitchesTheHeight) {
  EXPECT_EQ(view.Text(kRunningprogramslbl), L"0");
  EXPECT_EQ(view.Text(kCPU), L"Intel Pentium");
  for (const int height : {kCollapsedClientTwips, kExpandedClientTwips, kCollapsedClientTwips}) {
    EXPECT_EQ(view.clientHeightTwips, height);
    view.Click(kCmdMore);
  }
}

// The status timer is armed for the moment the uptime text next changes: the next whole minute of
// the tick count, or its wrap to 0. The count is unsigned until the wrap; the label is written only
// when its text changes. An early tick only re-arms; a late one, as after a resume from sleep,
// catches up from the count.
TEST_F(Form1Test, StatusTickArmsForTheNextChangeOfTheUptimeText) {
  EXPECT_EQ(view.Text(kLabel1), L"Uptime");
  EXPECT_TRUE(timer1.running);
  EXPECT_EQ(timer1.period, std::chrono::milliseconds(1)) << "the first tick comes at once";
  // clang-format off
  const std::tuple<std::uint32_t, std::int64_t, std::wstring> ticks[] = {
      {59'999, 1, L"0 days, 0 hours, 0 minutes"}, {60'000, 60'000, L"0 days, 0 hours, 1 minutes"},
      {60'001, 59'999, L"0 days, 0 hours, 1 minutes"}, {119'993, 7, L"0 days, 0 hours, 1 minutes"},
      {305'000, 55'000, L"0 days, 0 hours, 5 minutes"},  // late: from Form_Resume
      {86'399'999, 1, L"0 days, 23 hours, 59 minutes"}, {86'400'000, 60'000, L"1 days, 0 hours, 0 minutes"},
      {0x7FFF'FFFFu, 36'353, L"24 days, 20 hours, 31 minutes"},
      {0x8000'0000u, 36'352, L"24 days, 20 hours, 31 minutes"},
      {0xFFFF'FFFFu - 47'296, 1, L"49 days, 17 hours, 1 minutes"},
      {0xFFFF'FFFFu - 47'295, 47'296, L"49 days, 17 hours, 2 minutes"},
      {0xFFFF'FFFFu, 1, L"49 days, 17 hours, 2 minutes"}, {0, 60'000, L"0 days, 0 hours, 0 minutes"},
  };
  // clang-format on
  for (const auto& [now, period, text] : ticks) {
    const bool changes = view.Text(kLabel1) != text;
    view.written.clear();
    systemOs.ticks.now = now;
    now == 305'000 ? form.Form_Resume() : form.Timer1_Timer();
    EXPECT_EQ(view.Text(kLabel1), text) << now;
    EXPECT_EQ(timer1.period.count(), period) << now;
    EXPECT_EQ(view.written, changes ? std::vector{kLabel1} : std::vector<int>{}) << now;
  }
}

// "/sysinfo" reads the figures as they are at that moment: the uptime, whenever the status timer
// last ticked, the memory, total before free, and the running programs.
TEST_F(Form1Test, SystemInfoRefreshesTheFiguresFirst) {
  systemOs.ticks.now = 60'000;
  form.Timer1_Timer();
  // clang-format off
  const std::tuple<std::uint32_t, platform::MemoryStatus, std::size_t, std::string> steps[] = {
      {3'600'000, {1'073'741'824, 536'870'912}, 2, "[Uptime - 0 days, 1 hours, 0 minutes] [RAM - Total = 1.05 GB, Free = .52 GB] [Programs Running = 2]"},
      {3'660'000, {2'048'000'000, 51'200'000}, 1, "[Uptime - 0 days, 1 hours, 1 minutes] [RAM - Total = 2. GB, Free = .05 GB] [Programs Running = 1]"},
  };
  // clang-format on
  for (const auto& [now, memory, windows, figures] : steps) {
    systemOs.ticks.now = now;
    systemOs.figures.memory = memory;
    systemOs.windows.windows.assign(windows, {0x10, true, platform::kNoWindow, 0, 5});
    form.SendSystemInfo();
    ASSERT_FALSE(room.Sent().empty());
    EXPECT_TRUE(room.Sent().back().ends_with(figures)) << room.Sent().back();
  }
}

// "Join Room" needs a number for the exchange, blanks around it allowed and passed on, and a room
// that the code page holds: one of blanks joins the room with no name. Only a join empties the
// room box.
TEST_F(Form1Test, JoinRoomByName) {
  // clang-format off
  const std::tuple<std::wstring, std::wstring, std::string> cases[] = {
      {L"My Room", L"abc", ""}, {L"", L"4", ""}, {L"   ", L"4", "join &exchange=4"},
      {L"My Room", L" 5 ", "join myroom&exchange=%205%20"}, {L"ab\uFF02cd", L"4", ""}};
  // clang-format on
  for (const auto& [typed, exchange, joined] : cases) {
    view.Type(kTxtChat, typed);
    view.Type(kTxtEX, exchange);
    Forget();
    view.Click(kCmdJoin);
    EXPECT_EQ(Events(), joined);
    EXPECT_EQ(view.Text(kTxtChat), joined.empty() ? typed : L"") << joined;
  }
}

// The first line names the user, even an empty speaker's, and is no command; a name typed into
// the box is used as typed; speakers are compared lower-cased and blank-free after losing their
// first character.
TEST_F(Form1Test, IdentificationTakesTheFirstSpeakerAndTheBoxAsTyped) {
  view.Click(kCheck2);  // sends off withhold neither the announcement nor help
  chat.scan_on();
  room.Say("Someone", "/help");  // not in the user's colour: no speaker
  Tick();
  Tick();  // "[Found User '']" comes back from the user
  EXPECT_EQ(view.Text(kText1), L"tester");
  for (const char* speaker : {"TESTER", "Tes ter", "tester2"}) SayInRed(speaker, "/help");
  view.written.clear();
  view.Type(kText1, L"Some Name");
  EXPECT_TRUE(view.written.empty()) << "the typed name is not written back under the caret";
  SayInRed("Some Name", "/help");
  view.Type(kText1, L"somename");
  SayInRed("Some Name", "/help");
  interpreter.chat_aimchatscan({L"Some Name", L"/help", L""});  // the speaker is "ome Name"
  EXPECT_EQ(room.Sent(), (Lines{"[Found User '']", "[Found User 'Tester']", kHelp, kHelp, kHelp}));
}

// The clear timer takes accepted minutes and refuses a period too long for it, so the status row
// always shows what the timer does; the sends label follows the commands only, the box both.
TEST_F(Form1Test, ClearTimerAndSendsSwitchOnTheWindow) {
  StartScanning();
  // Typed, or "box" for a click on the sends box; then minutes, clear status, sends label, sends
  // box, the timer's period (0: stopped) and how often it was started.
  const std::pair<std::string, std::string> steps[] = {
      // clang-format off
      {"/ct 0.39", "0 Off On - 0 0"},
      {"/ct 35791.394125", "0 Off On - 0 0"},  // 2^31 ms: longer than the timer holds, refused
      {"/ct 0.4", "0.4 On On - 24000 1"}, {"/ct 05 now", "05 On On - 300000 2"},
      {"/ct 35791.394125", "05 On On - 300000 2"}, {"/ct 1e308", "05 On On - 300000 2"},
      {"/ct off", "05 On On - 300000 2"},
      {"/ctoff", "0 Off On - 0 2"}, {"/ct 35791.39412499999", "35791.39412499999 On On - 2147483647 3"},
      {"/csoff", "35791.39412499999 On Off x 2147483647 3"}, {"/cson", "35791.39412499999 On On - 2147483647 3"},
      {"box", "35791.39412499999 On On x 2147483647 3"},
      // clang-format on
  };
  const auto text = [&](int id) {
    const std::wstring t = view.Text(id);
    return std::string(t.begin(), t.end()) + " ";
  };
  for (const auto& [typed, shows] : steps) {
    typed == "box" ? view.Click(kCheck2) : Say(typed);
    EXPECT_EQ(state.clearTimerOn(), clearTimer.running) << typed;
    EXPECT_EQ(text(kLblClear) + text(kClearStat) + text(kChatsendlbl) +
                  (view.IsChecked(kCheck2) ? "x " : "- ") +
                  std::to_string(clearTimer.running ? clearTimer.period.count() : 0) + " " +
                  std::to_string(clearTimer.starts),
              shows)
        << typed;
  }
  Forget();
  form.cleartmr_Timer();  // the box is ticked: the room is emptied without a word
  EXPECT_EQ(Events(), "clear");
}

// A room whose name the code page cannot hold has no link: "/join" opens nothing and does not say
// it joined; "/rj" leaves the room open, since it could not be joined again.
TEST_F(Form1Test, NoLinkNoJoinAndNoRejoin) {
  room.codePage = platform::IconvCodePage("ASCII");  // "\xE9" reads as U+FFFD, which no link holds
  StartScanning();
  room.desktop.SetText(room.chat, "Chat Room: caf\xE9");
  Forget();
  Say("/join caf\xE9 4");
  Say("/rj 4");
  EXPECT_EQ(Events(), "");
  EXPECT_TRUE(room.IsOpen());
}

// Every line the tool sends goes out through the box the user types in, and leaves the user's
// half-typed line there, unsent.
TEST_F(Form1Test, EveryLineSentLeavesTheUsersHalfTypedLineInTheInput) {
  const std::pair<const char*, std::function<void()>> sends[] = {
      {"[Tavik Varrow V.2][Searching User]", [&] { view.Click(kCheck1); }},
      {"[Found User 'Tester']", [&] { Tick(); }},
      {"[Tavik Varrow V.2][Join", [&] { Say("/help"); }},
      {"[System Info]", [&] { Say("/sysinfo"); }},
      {"[Chat Cleared]", [&] { form.cleartmr_Timer(); }},
  };
  for (const auto& [line, send] : sends) {
    room.desktop.SetText(room.input, "half a li");
    Forget();
    send();
    EXPECT_EQ(room.desktop.Text(room.input), "half a li") << line;
    ASSERT_EQ(room.Sent().size(), 1u) << line;
    EXPECT_TRUE(room.Sent()[0].starts_with(line)) << room.Sent()[0];
  }
}

TEST_F(Form1Test, SendToTrayLeavesAMinimisedWindowOnTheTaskbar) {
  view.minimised = true;
  form.mnuTray_Click();
  EXPECT_EQ(view.log, Lines{"AddTrayIcon"});
}

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// Properties of the layout rather than its numbers: whole pixels at 96 DPI (15 twips), so that
// the window scales it without rounding; rules are lines; everything shown fits the expanded
// window; buttons never overlap; each quick-join button sits under the heading of the exchange it
// joins.
TEST(FormControlsTest, LayoutAndQuickJoinButtonsHoldTogether) {
  std::set<int> ids;
  std::vector<const FormControl*> buttons;
  for (const FormControl& c : FormControls()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    for (const int twips : {c.place.left, c.place.top, c.place.width, c.place.height}) {
      EXPECT_EQ(twips % 15, 0) << c.id;
    }
    EXPECT_EQ(c.kind == ControlKind::kRule, c.place.width == 0 || c.place.height == 0) << c.id;
    if (c.kind == ControlKind::kStatusLabel) continue;  // off the window: the figures' store
    EXPECT_LE(c.place.left + c.place.width, kClientWidthTwips) << c.id;
    EXPECT_LE(c.place.top + c.place.height, kExpandedClientTwips) << c.id;
    if (c.kind != ControlKind::kButton) continue;
    for (const FormControl* other : buttons) EXPECT_FALSE(Overlap(c.place, other->place)) << c.id;
    buttons.push_back(&c);
  }
  const int heading4 = FindControl(kLabel3)->place.top, heading5 = FindControl(kLabel4)->place.top;
  for (const QuickJoinButton& button : QuickJoinButtons()) {
    const FormControl* control = FindControl(CommandId(button.number));
    ASSERT_NE(control, nullptr) << button.number;
    ASSERT_EQ(FindQuickJoinButton(CommandNumber(control->id)), &button);
    const int top = control->place.top;
    EXPECT_TRUE(button.exchange == L"5" ? top > heading5 : top > heading4 && top < heading5)
        << button.number;
  }
}

}  // namespace
}  // namespace tv::form
