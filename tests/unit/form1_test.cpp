#include "form/form1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_chat_room.h"
#include "fake_form_view.h"
#include "form/controls.h"
#include "interp/interpreter.h"
#include "platform/fake/fake_system_os.h"
#include "platform/fake/fake_timer.h"

namespace tv::form {
namespace {

using Lines = std::vector<std::string>;
const std::string kAnnouncement = "[Tavik Varrow V.2][Searching User]";

// The window's model wired as the program wires it, on a fake screen and a fake chat room.
class Form1Test : public ::testing::Test {
 public:
  Form1Test() {
    view.Attach(form);
    chat.SetScanHandler(
        [this](const chatctl::ChatLine& line) { interpreter.chat_aimchatscan(line); });
    form.Form_Load();
  }

  void Say(const std::string& message) {
    room.SayAsUser(message);
    chat.chat_tymer_Timer();
  }
  // Ticks "Chat Scan"; the announcement comes back on the next tick and names the user.
  void StartScanning() {
    view.Click(kCheck1);
    chat.chat_tymer_Timer();
  }
  Lines Links() const {
    Lines links;
    for (const auto& call : room.shell.Calls()) links.push_back(call.file);
    return links;
  }

  testing::FakeChatRoom room;
  platform::FakeSystemOs systemOs;
  platform::FakeTimer scanTimer;
  platform::FakeTimer clearTimer;
  chatctl::Chat chat{room.Os(), scanTimer};
  ToolState state{clearTimer};
  StatusLabels labels{systemOs.Os()};
  testing::FakeFormView view;
  Form1 form{{room.Os(), chat, state, labels}, view};
  interp::Interpreter interpreter{room.Os(), chat, state, form};
};

TEST_F(Form1Test, LoadsCollapsedWithTheControlsShowingTheToolStateAndTheFigures) {
  EXPECT_EQ(view.clientHeightTwips, kCollapsedClientTwips);
  EXPECT_EQ(view.Text(kText1), state.userName());
  EXPECT_EQ(view.IsChecked(kCheck1), state.scanOn());
  EXPECT_EQ(view.IsChecked(kCheck2), state.sendsOff());
  EXPECT_EQ(view.Text(kChatsendlbl), state.sendsText());
  EXPECT_EQ(view.Text(kLblClear), state.clearMinutesText());
  EXPECT_EQ(view.Text(kClearStat), state.clearStatusText());
  EXPECT_EQ(view.Text(kRunningprogramslbl), L"0");
  EXPECT_EQ(view.Text(kCPU), L"Intel Pentium");
  EXPECT_EQ(view.Text(kLabel1), L"Uptime");
  systemOs.ticks.now = 93'784'005;
  form.Timer1_Timer();
  EXPECT_EQ(view.Text(kLabel1), L"1 days, 2 hours, 3 minutes");
}

TEST_F(Form1Test, ChatScanAnnouncesAndUntickingItForgetsTheUserUntilTheNextStart) {
  StartScanning();
  EXPECT_TRUE(scanTimer.running());
  EXPECT_EQ(view.Text(kText1), L"tester");
  view.Click(kCheck1);
  EXPECT_FALSE(scanTimer.running());
  EXPECT_FALSE(state.scanOn());
  EXPECT_EQ(view.Text(kText1), L"");
  StartScanning();
  EXPECT_EQ(room.Sent(), (Lines{kAnnouncement, "[Found User 'Tester']", kAnnouncement,
                                "[Found User 'Tester']"}));
  EXPECT_EQ(state.userName(), L"tester");
}

class DisableTest : public Form1Test, public ::testing::WithParamInterface<bool> {};

// StopScan runs twice, the second time inside the first; the second run must change nothing.
TEST_P(DisableTest, UnticksChatScanForgetsTheUserAndStopsTheScanner) {
  const bool sendsOff = GetParam();
  StartScanning();
  if (sendsOff) view.Click(kCheck2);
  room.ClearSent();
  Say("/disable");
  EXPECT_FALSE(view.IsChecked(kCheck1));
  EXPECT_FALSE(state.scanOn());
  EXPECT_EQ(view.Text(kText1), L"");
  EXPECT_FALSE(chat.scanning());
  EXPECT_FALSE(scanTimer.running());
  EXPECT_EQ(room.Sent(), sendsOff ? Lines{} : Lines{"[Chatscan Disabled]"});
}

INSTANTIATE_TEST_SUITE_P(SendsSwitch, DisableTest, ::testing::Bool());

TEST_F(Form1Test, TheBoxesEditedByHandAreTheStateButTheSendsLabelKeepsTheLastCommand) {
  view.written.clear();
  view.Type(kText1, L"Some Name");
  EXPECT_EQ(state.userName(), L"Some Name");
  EXPECT_TRUE(view.written.empty()) << "the typed name is not written back under the caret";
  view.Type(kText1, L"tester");
  StartScanning();
  Say("/csoff");
  EXPECT_TRUE(view.IsChecked(kCheck2));
  view.Click(kCheck2);
  Say("/clear");
  EXPECT_EQ(room.Sent(), (Lines{kAnnouncement, "[Chatsends Off]", "[Chat Cleared]"}));
  EXPECT_EQ(view.Text(kChatsendlbl), L"Off");
}

TEST_F(Form1Test, MoreOptionsSwitchesTheHeightAndItsCaptionIsTheOnlyRecord) {
  view.Click(kCmdMore);
  EXPECT_EQ(view.clientHeightTwips, kExpandedClientTwips);
  EXPECT_EQ(view.Text(kCmdMore), L"Less Options");
  view.Click(kCmdMore);
  EXPECT_EQ(view.clientHeightTwips, kCollapsedClientTwips);
  EXPECT_EQ(view.Text(kCmdMore), L"More Options");
  view.SetText(kCmdMore, L"Options");
  view.Click(kCmdMore);
  EXPECT_EQ(view.clientHeightTwips, kCollapsedClientTwips);
}

TEST_F(Form1Test, JoinRoomAndEnterInTheRoomBoxJoinAndEmptyItOnlyWhenTheRulesAllow) {
  const struct {
    std::wstring room, exchange;
    wchar_t key;  // 0: a click on "Join Room"
    std::wstring roomBoxAfter;
  } steps[] = {
      {L"My Room", L"abc", 0, L"My Room"},
      {L"My Room", L" 5 ", L'x', L"My Room"},
      {L"My Room", L" 5 ", L'\r', L""},
      {L"Lobby", L"4", 0, L""},
  };
  for (const auto& step : steps) {
    view.Type(kTxtChat, step.room);
    view.Type(kTxtEX, step.exchange);
    step.key == 0 ? view.Click(kCmdJoin) : form.txtChat_KeyPress(step.key);
    EXPECT_EQ(view.Text(kTxtChat), step.roomBoxAfter) << step.room << " " << step.exchange;
  }
  EXPECT_EQ(Links(), (Lines{"aim:gochat?roomname=myroom&exchange= 5 ",
                            "aim:gochat?roomname=lobby&exchange=4"}));
}

TEST_F(Form1Test, QuickJoinButtonsJoinTheCaptionShownAtTheClickButCommand19ItsRoom) {
  view.SetText(CommandId(1), L"Renamed Room");
  view.SetText(CommandId(19), L"Renamed Room");
  view.Click(CommandId(1));
  view.Click(CommandId(19));
  EXPECT_EQ(Links(), (Lines{"aim:gochat?roomname=renamedroom&exchange=4",
                            "aim:gochat?roomname=romanceconnection&exchange=5"}));
}

TEST_F(Form1Test, TrayCommandsFromTheMenuAndFromTheRoom) {
  StartScanning();
  const struct {
    void (*act)(Form1Test&);
    bool icon, minimised, visible;
  } steps[] = {
      {[](Form1Test& t) { t.Say("/show"); }, false, false, true},  // shown already: no change
      {[](Form1Test& t) { t.Say("/hide"); }, true, true, false},
      {[](Form1Test& t) { t.form.mnuTray_Click(); }, true, true, false},  // still one icon
      {[](Form1Test& t) { t.Say("/show"); }, false, false, true},
      {[](Form1Test& t) { t.view.minimised = true; }, false, true, true},
      {[](Form1Test& t) { t.form.mnuTray_Click(); }, true, true, true},  // minimised: not hidden
      {[](Form1Test& t) { t.form.mnuShow_Click(); }, false, false, true},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].act(*this);
    EXPECT_EQ(view.trayIcon, steps[i].icon) << "step " << i;
    EXPECT_EQ(view.minimised, steps[i].minimised) << "step " << i;
    EXPECT_EQ(view.visible, steps[i].visible) << "step " << i;
  }
  EXPECT_EQ(room.Sent().back(), "[Retrieved From Tray]");
}

TEST_F(Form1Test, EndRemovesTheTrayIconThenEnds) {
  StartScanning();
  form.mnuTray_Click();
  Say("/end");
  ASSERT_GE(view.log.size(), 2u);
  EXPECT_EQ(Lines(view.log.end() - 2, view.log.end()), (Lines{"RemoveTrayIcon", "EndProcess"}));
  EXPECT_EQ(room.Sent().back(), "[Ending...]");
}

TEST_F(Form1Test, SysinfoShowsTheFiguresItRefreshes) {
  systemOs.figures.memory.totalPhys = 1'073'741'824;
  StartScanning();
  Say("/sysinfo");
  EXPECT_EQ(view.Text(kRamlbl), L"1.05 GB");
  EXPECT_EQ(room.Sent().back().rfind("[System Info] [OS - ] [CPU - ", 0), 0u) << room.Sent().back();
}

class ClearTickTest : public Form1Test, public ::testing::WithParamInterface<bool> {};

TEST_P(ClearTickTest, EmptiesTheTranscriptAndAnnouncesItUnlessSendsAreOff) {
  const bool sendsOff = GetParam();
  state.SetSendsOff(sendsOff);
  room.Say("Alice", "hello");
  form.cleartmr_Timer();
  EXPECT_EQ(room.Sent(), sendsOff ? Lines{} : Lines{"[Chat Cleared]"});
  EXPECT_EQ(room.Transcript(), sendsOff ? "" : room.UserLine("[Chat Cleared]"));
  room.Close();
  const std::size_t logged = room.desktop.Log().size();
  form.cleartmr_Timer();
  EXPECT_EQ(room.desktop.Log().size(), logged) << "without a chat room window nothing is sent";
}

INSTANTIATE_TEST_SUITE_P(SendsSwitch, ClearTickTest, ::testing::Bool());

}  // namespace
}  // namespace tv::form
