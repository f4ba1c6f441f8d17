#pragma once
// Form1, the tool's only window, without Win32: what its controls' events do, and how the tool
// state and the status labels reach the controls that show them. It draws nothing itself; every
// read and write of the screen goes through a FormView. The handlers keep the names of the events
// they handle (Check1_Click, cleartmr_Timer, ...).

#include <string>

#include "chatctl/chat.h"
#include "form/form_view.h"
#include "form/quick_join.h"
#include "form/status_labels.h"
#include "model/tool_state.h"
#include "model/window_commands.h"
#include "platform/chat_client.h"
#include "platform/timer.h"

namespace tv::form {

// What Form1 is given (form::Tool gives it); all of it must outlive the form.
struct FormParts {
  platform::ChatClientOs chatOs;
  chatctl::Chat& chat;
  model::ToolState& state;
  StatusLabels& labels;
  // The status timer Timer1, which this form arms for each next change of the uptime label.
  platform::Timer& timer1;
};

class Form1 final : public model::WindowCommands {
 public:
  // Shows every later change of `state` and `labels` in `view` until destroyed.
  Form1(const FormParts& parts, FormView& view);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The window's routing: a click on a button or check box (after a check box has changed its
  // value), and a change of a text box's text. IDs without a handler do nothing.
  void Click(int control);
  void Change(int control);

  // Runs once the controls exist, before the window is first shown.
  void Form_Load();
  // The key typed in the room box, Enter being L'\r'.
  void txtChat_KeyPress(wchar_t key);
  // The window's three timers: the scanner's poll, the clear timer and the status timer.
  void chat_tymer_Timer() { chat_.chat_tymer_Timer(); }
  void cleartmr_Timer();
  void Timer1_Timer();
  // The system has resumed from sleep or hibernation.
  void Form_Resume();
  // The menu commands "Send To Tray", "Hide" and "Show"; the tray icon's double click is "Show".
  void mnuTray_Click();
  void mnuHide_Click();
  void mnuShow_Click();

  // WindowCommands
  void SendToTray() override { mnuTray_Click(); }
  void RestoreFromTray() override { mnuShow_Click(); }
  void RemoveTrayIcon() override { view_.RemoveTrayIcon(); }
  void StopScan() override;
  void SendSystemInfo() override;
  void EndProcess() override { view_.EndProcess(); }

 private:
  void Check1_Click();
  void Text1_Change();
  void Check2_Click();
  void cmdMore_Click();
  void cmdJoin_Click();
  // Command1_Click to Command25_Click.
  void CommandN_Click(const QuickJoinButton& button);

  void ShowToolState(model::ToolState::Field field);
  void ShowText(int control, const std::wstring& text);

  platform::ChatClientOs chatOs_;
  chatctl::Chat& chat_;
  model::ToolState& state_;
  StatusLabels& labels_;
  platform::Timer& timer1_;
  FormView& view_;
};

}  // namespace tv::form
