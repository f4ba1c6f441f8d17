#pragma once
// Drives a real tavik-varrow.exe from an end-to-end test: start it, find its window and controls,
// click, type and run menu commands through window messages, measure it, and make sure it is gone
// afterwards.

#include <windows.h>

// After <windows.h>, whose types it uses.
#include <shellapi.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace e2e {

// The shell's notification area as another program sees it, for the tool's icon (window `owner`,
// its icon ID). Shell_NotifyIconA with NIM_ADD (the tool's tip), NIM_DELETE, or NIM_MODIFY that
// changes nothing and so tells whether the shell holds the icon; true when the shell did it.
bool TrayIconCall(DWORD message, HWND owner);
// Wine shows its tray window only while it holds an icon.
bool TrayShowsIcons();
// The tips of the icons the shell was given, read from Wine's tooltip windows of the tray (one
// per icon added, kept after the icon is gone).
std::vector<std::wstring> TrayTips();

class ToolProcess {
 public:
  // Ends any running tool, starts tavik-varrow.exe from BinDir() and waits until its main window
  // is visible. started() tells whether that happened.
  ToolProcess();
  // Ends the process if it still runs, and every other tool process as well.
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  bool started() const { return form_ != nullptr; }
  HWND form() const { return form_; }
  // The control with that ID (control_ids.h); null when there is none.
  HWND Control(int id) const;
  // From CreateProcess to the main window being visible.
  std::chrono::milliseconds startupTime() const { return startupTime_; }

  // BM_CLICK on a button or check box, sent and waited for (with a time-out): true when the
  // tool handled it.
  bool Click(int id) const;
  bool IsChecked(int id) const;
  // WM_GETTEXT and WM_SETTEXT on a control, ANSI.
  std::string Text(int id) const;
  bool SetText(int id, const std::string& text) const;
  // A menu command (WM_COMMAND with the command's ID): posted, for those that open a modal box,
  // or sent and waited for (true once the tool has handled it).
  bool PostCommand(int commandId) const;
  bool SendCommand(int commandId) const;
  // The tray icon's callback message for the mouse message given (WM_LBUTTONDBLCLK, ...), as the
  // shell delivers it: posted, or sent and waited for (true once the tool has handled it).
  bool PostTrayEvent(UINT mouseMessage) const;
  bool SendTrayEvent(UINT mouseMessage) const;
  // A key pressed and released in a control (WM_KEYDOWN, WM_KEYUP), posted so that it goes
  // through the tool's own message loop.
  bool PostKey(int id, UINT virtualKey) const;
  // The shell's "TaskbarCreated", sent to the main window and waited for.
  bool TaskbarCreated() const;

  // The main window's client size in physical pixels and the DPI it is drawn at.
  SIZE ClientSize() const;
  UINT Dpi() const;

  // A top-level window of the tool's process with that class and caption, or null.
  HWND FindOwnWindow(const wchar_t* className, const wchar_t* caption) const;

  // True once the process has ended within `deadline`; its exit code goes to `exitCode`.
  bool WaitForExit(std::chrono::milliseconds deadline, DWORD* exitCode = nullptr) const;
  // The process's working set and its peak, in bytes, and its handles; zeros when they cannot be
  // read (Wine counts no handles of another process).
  struct MemoryUse {
    std::size_t workingSet = 0;
    std::size_t peakWorkingSet = 0;
    DWORD handles = 0;
  };
  MemoryUse Memory() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
  std::chrono::milliseconds startupTime_{0};
};

}  // namespace e2e
