#pragma once
// Drives the real programs from an end-to-end test: roomsim and tavik-varrow.exe, started from the
// test program's folder, found by their windows and reached through window messages from this
// process, as the shell and the user reach them.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// Polls `condition`, pumping this thread's messages, until it holds or `deadline` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 20s);

// The folder of the running test program; the tool and roomsim sit beside it.
std::filesystem::path BinDir();

// Starts a command line: the process, or zeros when it did not start. End() ends it if it still
// runs and closes its handles; KillAll() ends every process of that exe name.
PROCESS_INFORMATION Launch(std::wstring command);
void End(PROCESS_INFORMATION& process);
void KillAll(const std::wstring& exeName);
// Runs a command line to its end, this thread's messages pumped meanwhile, since the program may
// send to this thread's windows: its exit code, or STILL_ACTIVE when it did not end in time.
DWORD RunToEnd(std::wstring command, std::chrono::milliseconds deadline = 60s);

// A message sent to another process's window and waited for, with a time-out; true when handled.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr);
// WM_GETTEXT, ANSI, as the tool reads other windows.
std::string WindowText(HWND window);
// Between wide text and this process's ANSI code page, the encoding of every std::string here.
std::wstring Wide(const std::string& ansi);
std::string Ansi(const std::wstring& wide);

// roomsim, started from the folder that TV_ROOMSIM_DIR names (one of the other bitness), else
// from the test program's folder. Its test commands go through roomsim_client.h.
class Roomsim {
 public:
  // The room, the local user, and the file that logs the links it is given (none when empty).
  // Ends every roomsim first, unless `takeOver`, where the new one replaces the running one
  // itself; then waits for the new one's chat window.
  Roomsim(const std::string& room, const std::string& user, const std::string& linkLog = "",
          bool takeOver = false);
  ~Roomsim() { End(process_); }
  Roomsim(const Roomsim&) = delete;
  Roomsim& operator=(const Roomsim&) = delete;

  bool started() const { return chat_ != nullptr; }
  HWND chatWindow() const { return chat_; }
  // The chat window first in z-order, the one the tool finds; null while no room is open.
  static HWND ChatInFront();
  // Its transcript control once the window is complete; else null.
  static HWND TranscriptControl();
  // The markup of the transcript of the chat window first in z-order, which the tool reads. Read
  // with WM_GETTEXT alone: roomsim counts the WM_GETTEXTLENGTH before each of the tool's reads as
  // its polls, and the test's own reads must not count.
  static std::string Transcript();
  // The text of the input box of that chat window, where the user types; and that text set, as
  // the user's typing would set it.
  static std::string Draft();
  static bool SetDraft(const std::string& text);
  // Starts another roomsim with `arguments` after its quoted path, as the shell does for a link,
  // leaving this one running: its exit code once it has ended within 30 s, else STILL_ACTIVE.
  static DWORD RunAnother(const std::string& arguments);

 private:
  PROCESS_INFORMATION process_{};
  HWND chat_ = nullptr;
};

// tavik-varrow.exe from the test program's folder, after any running one has been ended; started()
// once its main window shows. Ended with the object.
class ToolProcess {
 public:
  ToolProcess();
  ~ToolProcess() { End(process_); }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  bool started() const { return form_ != nullptr; }
  HWND form() const { return form_; }
  // The process, with every access, for the figures another process can read of it.
  HANDLE process() const { return process_.hProcess; }
  DWORD pid() const { return process_.dwProcessId; }
  // Its controls, by their IDs in app/control_ids.h.
  HWND Control(int id) const { return GetDlgItem(form_, id); }
  bool Click(int id) const { return Send(Control(id), BM_CLICK, 0, 0); }
  bool IsChecked(int id) const;
  std::string Text(int id) const { return WindowText(Control(id)); }
  bool SetText(int id, const std::wstring& text) const;
  bool SetText(int id, const std::string& text) const { return SetText(id, Wide(text)); }
  // A visible top-level window of the tool's process with that class and caption, or null.
  HWND FindOwnWindow(const wchar_t* className, const wchar_t* caption) const;
  // True once the process has ended, within 30 s; its exit code goes to `exitCode`.
  bool Ends(DWORD* exitCode = nullptr) const;
  // Starts another copy from the same folder, leaving this one running: its exit code once it has
  // ended within 30 s, else STILL_ACTIVE.
  static DWORD RunAnotherCopy();

 private:
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
};

// The shell's notification area as another program sees it, for the tool's icon (window `owner`).
// Shell_NotifyIcon with NIM_ADD (the tool's tip), NIM_DELETE, or NIM_MODIFY that changes nothing
// and so tells whether the shell holds the icon; true when the shell did it.
bool TrayIconCall(DWORD message, HWND owner);

}  // namespace e2e
