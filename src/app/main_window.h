#pragma once
// The Win32 side of Form1, the tool's only window: it creates the window and the controls of the
// controls table, sizes them for the DPI, draws them red on black, routes messages and timers to
// the form, and holds the tray icon's record. Everything the window means lives in form::Form1,
// which sees this window as its FormView. Fixed numbers: control_ids.h.

#include <windows.h>

#include <memory>
#include <string>

#include "app/control_ids.h"
#include "app/handles.h"
#include "app/tray_icon.h"
#include "app/window_timer.h"
#include "form/form1.h"
#include "form/form_view.h"

namespace tv::app {

// The three timers that the core switches; the window routes their ticks to Form1. All of them
// must outlive the window.
struct MainWindowParts {
  WindowTimer& chatTymer;
  WindowTimer& cleartmr;
  WindowTimer& timer1;
};

class MainWindow final : public form::FormView {
 public:
  explicit MainWindow(const MainWindowParts& parts);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the window class and creates the window with its controls; `form`'s Form_Load runs
  // before this returns, and the window is not shown yet. `form` must outlive the window. False,
  // with no window, when any part of it cannot be made: failure() then says which, and why.
  bool Create(HINSTANCE instance, form::Form1& form);
  const std::wstring& failure() const { return failure_; }
  void Show(int showCommand);
  // Null before Create and after the window is destroyed.
  HWND hwnd() const { return hwnd_; }

  // form::FormView
  std::wstring Text(int control) const override;
  void SetText(int control, const std::wstring& text) override;
  bool IsChecked(int control) const override;
  void SetCheck(int control, bool checked) override;
  void SetClientHeight(int twips) override;
  void AddTrayIcon() override;
  void RemoveTrayIcon() override { trayIcon_.Remove(); }
  bool IsMinimised() const override { return IsIconic(hwnd_) != FALSE; }
  void MinimiseAndHide() override;
  void RestoreAndShow() override;
  [[noreturn]] void EndProcess() override { ExitProcess(0); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Building and sizing.
  bool RegisterWindowClass(HINSTANCE instance);
  UniqueMenu CreateMenus();
  bool OnCreate();
  // Records the step that failed, with the system's reason, for failure(); returns false.
  bool Failed(const wchar_t* step);
  void LoadIcons(HINSTANCE instance);
  void ApplyClientSize();
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  // Message handlers.
  void OnCommand(int id, int code);
  void OnTimer(UINT_PTR id);
  LRESULT OnCtlColor(HDC dc, HWND control);
  void OnActivate(WPARAM wParam);
  // The control that has the focus, if any, is the one OnActivate gives it back to.
  void RememberFocus();
  void OnPowerBroadcast(WPARAM event);
  void OnEndSession(bool ending);
  // A later copy of the tool, started by the user, hands over to this one.
  void OnActivateRunningCopy();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnDestroy();
  void Form_Unload();
  void mnuABout_Click();
  // The tray icon's mouse events, `mouseMessage` being WM_LBUTTONDBLCLK and the like.
  void trayIcon_MouseEvent(UINT mouseMessage);
  void ShowActionsMenu();

  WindowTimer& chatTymer_;
  WindowTimer& cleartmr_;
  WindowTimer& timer1_;
  form::Form1* form_ = nullptr;

  UniqueFont controlFont_;
  UniqueBrush redBrush_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueMenu actionsMenu_;
  UniqueModule uxtheme_;
  TrayIcon trayIcon_;
  std::unique_ptr<WindowClass> windowClass_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  int clientHeightTwips_ = 0;
  std::wstring failure_;
  UINT taskbarCreatedMessage_ = 0;
  UINT activateMessage_ = 0;
};

}  // namespace tv::app
