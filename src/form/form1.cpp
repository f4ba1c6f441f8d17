#include "form/form1.h"

#include "aim/chat_window.h"
#include "form/controls.h"
#include "model/room_lines.h"

namespace tv::form {
namespace {

// The uptime label keeps its design caption until the first status tick, which comes at once.
constexpr std::chrono::milliseconds kFirstStatusTick{1};

}  // namespace

Form1::Form1(const FormParts& parts, FormView& view)
    : chatOs_(parts.chatOs),
      chat_(parts.chat),
      state_(parts.state),
      labels_(parts.labels),
      timer1_(parts.timer1),
      view_(view) {
  state_.SetListener([this](model::ToolState::Field field) { ShowToolState(field); });
  labels_.SetListener([this](int label) { ShowText(label, labels_.Caption(label)); });
}

Form1::~Form1() {
  state_.SetListener(nullptr);
  labels_.SetListener(nullptr);
}

void Form1::Click(int control) {
  switch (control) {
    case kCheck1:
      Check1_Click();
      return;
    case kCheck2:
      Check2_Click();
      return;
    case kCmdMore:
      cmdMore_Click();
      return;
    case kCmdJoin:
      cmdJoin_Click();
      return;
    default:
      if (const QuickJoinButton* button = FindQuickJoinButton(CommandNumber(control))) {
        CommandN_Click(*button);
      }
  }
}

void Form1::Change(int control) {
  if (control == kText1) Text1_Change();
}

void Form1::Form_Load() {
  labels_.ShowProgramCount();
  labels_.ShowCPU();
  view_.SetClientHeight(kCollapsedClientTwips);
  timer1_.Start(kFirstStatusTick);
}

void Form1::Check1_Click() {
  state_.SetScanOn(view_.IsChecked(kCheck1));
  if (state_.scanOn()) {
    chat_.scan_on();
    chat_.SendChat(model::kAnnouncement);
  }
  if (!view_.IsChecked(kCheck1)) StopScan();
}

// Unticking Check1 by code runs its click handler, as unticking it by hand does, and that handler
// runs StopScan again inside this run. The inner run finds the box unticked, so it does the last
// two steps only, and the outer run then repeats them without changing anything.
void Form1::StopScan() {
  if (view_.IsChecked(kCheck1)) {
    view_.SetCheck(kCheck1, false);
    Check1_Click();
  }
  state_.SetUserName(L"");
  chat_.scan_off();
}

void Form1::Text1_Change() { state_.SetUserName(view_.Text(kText1)); }

void Form1::Check2_Click() { state_.SetSendsOff(view_.IsChecked(kCheck2)); }

void Form1::cmdMore_Click() {
  const std::wstring caption = view_.Text(kCmdMore);
  if (caption == kMoreOptions) {
    view_.SetClientHeight(kExpandedClientTwips);
    view_.SetText(kCmdMore, std::wstring(kLessOptions));
  } else if (caption == kLessOptions) {
    view_.SetText(kCmdMore, std::wstring(kMoreOptions));
    view_.SetClientHeight(kCollapsedClientTwips);
  }
}

void Form1::cmdJoin_Click() {
  if (JoinByName(chatOs_, view_.Text(kTxtChat), view_.Text(kTxtEX))) {
    view_.SetText(kTxtChat, L"");
  }
}

void Form1::txtChat_KeyPress(wchar_t key) {
  if (key == L'\r') cmdJoin_Click();
}

void Form1::CommandN_Click(const QuickJoinButton& button) {
  JoinQuickRoom(chatOs_, button, view_.Text(CommandId(button.number)));
}

void Form1::cleartmr_Timer() {
  aim::SetTranscriptText(chatOs_, L"");
  if (!state_.sendsOff()) aim::SendChatText(chatOs_, model::kChatCleared);
}

// The text shows minutes, so the tool wakes once a minute rather than at the finest timer rate.
// The period comes from the count at each tick, so an early or late tick only re-arms.
void Form1::Timer1_Timer() { timer1_.Start(labels_.Timer1_Timer()); }

// A timer that fell due during sleep may come late, while the tick count has moved on.
void Form1::Form_Resume() { Timer1_Timer(); }

void Form1::mnuTray_Click() {
  view_.AddTrayIcon();
  mnuHide_Click();
}

void Form1::mnuHide_Click() {
  if (!view_.IsMinimised()) view_.MinimiseAndHide();
}

void Form1::mnuShow_Click() {
  if (view_.IsMinimised()) view_.RestoreAndShow();
  view_.RemoveTrayIcon();
}

void Form1::SendSystemInfo() { aim::SendChatText(chatOs_, labels_.SystemInfoLine()); }

void Form1::ShowToolState(model::ToolState::Field field) {
  using Field = model::ToolState::Field;
  switch (field) {
    case Field::kUserName:
      ShowText(kText1, state_.userName());
      return;
    case Field::kSendsOff:
      view_.SetCheck(kCheck2, state_.sendsOff());
      return;
    case Field::kSendsText:
      ShowText(kChatsendlbl, state_.sendsText());
      return;
    case Field::kClearMinutesText:
      ShowText(kLblClear, state_.clearMinutesText());
      return;
    case Field::kClearStatusText:
      ShowText(kClearStat, state_.clearStatusText());
      return;
    case Field::kScanOn:           // it comes from Check1 (Check1_Click)
    case Field::kClearIntervalMs:  // the clear timer itself holds these two
    case Field::kClearTimerOn:
      return;
  }
}

// Only a different text is written: writing a text box moves its caret to the start, under the
// user's typing, and runs its change handler again.
void Form1::ShowText(int control, const std::wstring& text) {
  if (view_.Text(control) != text) view_.SetText(control, text);
}

}  // namespace tv::form
