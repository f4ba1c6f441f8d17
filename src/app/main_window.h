#pragma once
// Form1, the tool's only window: it hosts the scan switch, the chat-sends switch, the status rows,
// the quick-join panel, the hidden status labels, the menus and the tray icon, shows ToolState
// and StatusLabels in its controls, and routes the three timers. Its handlers keep the names the
// controls' events have (Check1_Click, cleartmr_Timer, ...). Control IDs: control_ids.h.

#include <windows.h>

#include <memory>
#include <string>

#include "app/control_ids.h"
#include "app/handles.h"
#include "app/tray_icon.h"
#include "app/window_timer.h"
#include "chatctl/chat.h"
#include "interp/quick_join.h"
#include "interp/tool_state.h"
#include "interp/window_commands.h"
#include "platform/chat_client.h"
#include "platform/system_os.h"
#include "sysinfo/status_labels.h"

namespace tv::app {

// What the window is given by the composition root; all of it must outlive the window.
struct MainWindowParts {
  platform::ChatClientOs chatOs;
  platform::SystemOs systemOs;
  chatctl::Chat& chat;
  interp::ToolState& state;
  sysinfo::StatusLabels& labels;
  // The timers the scanner and the tool state switch; the window owns their ticks.
  WindowTimer& chatTymer;
  WindowTimer& cleartmr;
};

class MainWindow final : public interp::WindowCommands {
 public:
  explicit MainWindow(const MainWindowParts& parts);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the window class and creates the window with its controls; Form_Load runs before
  // this returns, and the window is not shown yet. False when the window cannot be made.
  bool Create(HINSTANCE instance);
  void Show(int showCommand);
  // Null before Create and after the window is destroyed.
  HWND hwnd() const { return hwnd_; }

  // interp::WindowCommands
  void mnuTray_Click() override;
  void mnuShow_Click() override;
  void RemoveTrayIcon() override;
  void StopScan() override;
  void SendSystemInfo() override;
  [[noreturn]] void EndProcess() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TxtChatProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Building and sizing.
  bool OnCreate();
  void CreateControls();
  void LayoutControls();
  void ApplyFont();
  void UseClassicLook(HWND control);
  void LoadIcons(HINSTANCE instance);
  void SetClientHeight(int twips);
  void ApplyClientSize();
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  // Message handlers.
  void OnCommand(int id, int code);
  void OnTimer(UINT_PTR id);
  LRESULT OnCtlColor(HDC dc, HWND control);
  void OnActivate(WPARAM wParam);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnDestroy();

  // The controls' events.
  void Form_Load();
  void Form_Unload();
  void Check1_Click();
  void Text1_Change();
  void Check2_Click();
  void cmdMore_Click();
  void mnuABout_Click();
  void mnuHide_Click();
  void cmdJoin_Click();
  void txtChat_KeyPress(wchar_t key);
  // Command1_Click to Command25_Click.
  void CommandN_Click(const interp::QuickJoinButton& button);
  void cleartmr_Timer();
  void Timer1_Timer();
  // The tray icon's mouse events, `mouseMessage` being WM_LBUTTONDBLCLK and the like.
  void trayIcon_MouseEvent(UINT mouseMessage);
  void ShowActionsMenu();

  // Keeping the controls in step with the state they show.
  void ShowToolState(interp::ToolState::Field field);
  void ShowScanOn();
  void ShowStatusLabel(sysinfo::StatusLabels::Label label);
  void SyncText(int id, const std::wstring& text);
  void SyncCheck(int id, bool checked);

  platform::ChatClientOs chatOs_;
  platform::SystemOs systemOs_;
  chatctl::Chat& chat_;
  interp::ToolState& state_;
  sysinfo::StatusLabels& labels_;
  WindowTimer& chatTymer_;
  WindowTimer& cleartmr_;
  WindowTimer timer1_{kTimer1Id};

  UniqueFont font_;
  UniqueBrush redBrush_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueMenu actionsMenu_;
  UniqueModule uxtheme_;
  TrayIcon tray_;
  std::unique_ptr<WindowClass> windowClass_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  int clientHeightTwips_ = 0;
  UINT taskbarCreatedMessage_ = 0;
};

}  // namespace tv::app
