#pragma once
// Drives the real programs from an end-to-end test or a benchmark under Wine: roomsim and
// tavik-varrow.exe, started from the test program's folder, found by their windows and reached
// through window messages from this process, as the shell and the user reach them; and the room
// as the user sees it, with the tool at work in it, so that tests and benchmarks drive the
// programs the same way.

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/control_ids.h"
#include "platform/win32/win32_codepage.h"
#include "roomsim_client.h"
#include "transcript_markup.h"

namespace e2e {

using namespace std::chrono_literals;

// Polls `condition`, pumping this thread's messages, until it holds or `deadline` passes.
inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds deadline = 20s) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (MSG msg; !condition(); std::this_thread::sleep_for(20ms)) {
    if (std::chrono::steady_clock::now() > end) return false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

// The folder of the running test program; the tool and roomsim sit beside it.
inline std::filesystem::path BinDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}
inline std::wstring Quoted(const std::filesystem::path& path) {
  return L"\"" + path.wstring() + L"\"";
}

// Starts a command line: the process, or zeros when it did not start. End() ends it if it still
// runs and closes its handles; KillAll() ends every process of that exe name.
inline PROCESS_INFORMATION Launch(std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                 &process);
  return process;
}
inline void End(PROCESS_INFORMATION& process) {
  if (process.hProcess == nullptr) return;
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = {};
}
inline void KillAll(const std::wstring& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    PROCESS_INFORMATION process{};
    if (_wcsicmp(entry.szExeFile, exeName.c_str()) != 0) continue;
    process.hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    End(process);
  }
  CloseHandle(snapshot);
}
// Runs a command line to its end, this thread's messages pumped meanwhile, since the program may
// send to this thread's windows: its exit code, or STILL_ACTIVE when it did not end in time.
inline DWORD RunToEnd(std::wstring command, std::chrono::milliseconds deadline = 60s) {
  PROCESS_INFORMATION process = Launch(std::move(command));
  DWORD exitCode = STILL_ACTIVE;
  if (process.hProcess != nullptr &&
      WaitFor([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; },
              deadline)) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  }
  End(process);
  return exitCode;
}

// A message sent to another process's window and waited for, with a time-out; true when handled.
inline bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return window != nullptr && SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                                                  30000, result ? result : &ignored) != 0;
}
// WM_GETTEXT, ANSI, as the tool reads other windows.
inline std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1, 0);
  text.resize(static_cast<std::size_t>(
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}
// Between wide text and this process's ANSI code page, the encoding of every std::string here.
inline std::wstring Wide(const std::string& ansi) {
  return tv::platform::Win32CodePage().FromAnsi(ansi);
}
inline std::string Ansi(const std::wstring& wide) {
  return tv::platform::Win32CodePage().ToAnsi(wide);
}
// A visible top-level window of that process with that class and caption (null: any), or null.
inline HWND FindWindowOf(DWORD pid, const wchar_t* className, const wchar_t* caption) {
  for (HWND window = FindWindowExW(nullptr, nullptr, className, caption); window != nullptr;
       window = FindWindowExW(nullptr, window, className, caption)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid && IsWindowVisible(window)) return window;
  }
  return nullptr;
}
// The text control of a chat window's first pane (the transcript) or second (the input).
inline HWND TextControl(HWND chat, int pane) {
  HWND found = nullptr;
  for (int i = 0; i <= pane && chat != nullptr; ++i) {
    found = FindWindowExA(chat, found, "WndAte32Class", nullptr);
  }
  return found ? FindWindowExA(found, nullptr, "Ate32Class", nullptr) : nullptr;
}

// roomsim, started from the folder that TV_ROOMSIM_DIR names (one of the other bitness), else
// from the test program's folder. Its test commands go through roomsim_client.h.
class Roomsim {
 public:
  // The room, the local user, and the file that logs the links it is given (none when empty).
  // Ends every roomsim first, unless `takeOver`, where the new one replaces the running one
  // itself; then waits for the new one's chat window.
  Roomsim(const std::string& room, const std::string& user, const std::string& linkLog = "",
          bool takeOver = false) {
    if (!takeOver) KillAll(L"roomsim.exe");
    std::string arguments = " --room \"" + room + "\" --user \"" + user + "\"";
    if (!linkLog.empty()) arguments += " --link-log \"" + linkLog + "\"";
    process_ = Launch(Quoted(Exe()) + Wide(arguments));
    WaitFor([this] {
      HWND chat = FindWindowOf(process_.dwProcessId, L"AIM_ChatWnd", nullptr);
      return (chat_ = TextControl(chat, 0) ? chat : nullptr) != nullptr;
    });
  }
  ~Roomsim() { End(process_); }
  Roomsim(const Roomsim&) = delete;
  Roomsim& operator=(const Roomsim&) = delete;

  bool started() const { return chat_ != nullptr; }
  HWND chatWindow() const { return chat_; }
  // The chat window first in z-order, the one the tool finds; null while no room is open.
  static HWND ChatInFront() { return FindWindowA("AIM_ChatWnd", nullptr); }
  // Its transcript control once the window is complete; else null.
  static HWND TranscriptControl() { return TextControl(ChatInFront(), 0); }
  // The markup of the transcript of the chat window first in z-order, which the tool reads. Read
  // with WM_GETTEXT alone: roomsim counts the WM_GETTEXTLENGTH before each of the tool's reads as
  // its polls, and the test's own reads must not count. A buffer the text fills to its last place
  // may have cut it short.
  static std::string Transcript() {
    for (std::string text(std::size_t{1} << 16, '\0');; text.resize(text.size() * 2)) {
      const auto copied = static_cast<std::size_t>(SendMessageA(
          TranscriptControl(), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
      if (copied + 1 < text.size()) return text.substr(0, copied);
    }
  }
  // The text of the input box of that chat window, where the user types; and that text set, as
  // the user's typing would set it.
  static std::string Draft() { return WindowText(TextControl(ChatInFront(), 1)); }
  static bool SetDraft(const std::string& text) {
    return SendMessageA(TextControl(ChatInFront(), 1), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str())) != 0;
  }
  // Starts another roomsim with `arguments` after its quoted path, as the shell does for a link,
  // leaving this one running: its exit code once it has ended within 30 s, else STILL_ACTIVE.
  static DWORD RunAnother(const std::string& arguments) {
    return RunToEnd(Quoted(Exe()) + Wide(arguments), 30s);
  }

 private:
  static std::filesystem::path Exe() {
    const char* dir = std::getenv("TV_ROOMSIM_DIR");
    return (dir ? std::filesystem::path(dir) : BinDir()) / "roomsim.exe";
  }

  PROCESS_INFORMATION process_{};
  HWND chat_ = nullptr;
};

// tavik-varrow.exe from the test program's folder, after any running one has been ended; started()
// once its main window shows. Ended with the object.
class ToolProcess {
 public:
  ToolProcess() {
    KillAll(L"tavik-varrow.exe");
    process_ = Launch(Quoted(BinDir() / L"tavik-varrow.exe"));
    WaitFor([this] { return (form_ = FindOwnWindow(tv::app::kFormClassName, nullptr)) != nullptr; },
            60s);
  }
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
  bool IsChecked(int id) const {
    DWORD_PTR state = 0;
    return Send(Control(id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
  }
  std::string Text(int id) const { return WindowText(Control(id)); }
  bool SetText(int id, const std::wstring& text) const {
    DWORD_PTR done = FALSE;
    return Send(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &done) && done;
  }
  bool SetText(int id, const std::string& text) const { return SetText(id, Wide(text)); }
  // A visible top-level window of the tool's process with that class and caption, or null.
  HWND FindOwnWindow(const wchar_t* className, const wchar_t* caption) const {
    return FindWindowOf(process_.dwProcessId, className, caption);
  }
  // True once the process has ended, within 30 s; its exit code goes to `exitCode`.
  bool Ends(DWORD* exitCode = nullptr) const {
    return WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0 &&
           (exitCode == nullptr || GetExitCodeProcess(process_.hProcess, exitCode));
  }
  // Starts another copy from the same folder, leaving this one running: its exit code once it has
  // ended within 30 s, else STILL_ACTIVE.
  static DWORD RunAnotherCopy() { return RunToEnd(Quoted(BinDir() / L"tavik-varrow.exe"), 30s); }

 private:
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
};

// The shell's notification area as another program sees it, for the tool's icon (window `owner`).
// Shell_NotifyIcon with NIM_ADD (the tool's tip), NIM_DELETE, or NIM_MODIFY that changes nothing
// and so tells whether the shell holds the icon; true when the shell did it.
inline bool TrayIconCall(DWORD message, HWND owner) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = owner;
  icon.uID = tv::app::kTrayIconId;
  icon.uFlags = message == NIM_ADD ? NIF_TIP : 0;
  lstrcpynA(icon.szTip, "Tavik Varrow V.2", 64);
  return Shell_NotifyIconA(message, &icon) != FALSE;
}

// ---- The room as the user sees it, and the tool at work in it ----

using RoomLines = std::vector<roomsim::RenderedLine>;

// The lines of the room in front.
inline RoomLines Lines() { return roomsim::ParseTranscript(Roomsim::Transcript()); }
// The user's last line in `lines` with exactly this message, searched from the end; rend() when
// there is none, so that base() is where the lines after it begin, or the first line.
inline RoomLines::const_reverse_iterator LastOwn(const RoomLines& lines,
                                                 const std::string& message) {
  return std::find_if(lines.rbegin(), lines.rend(),
                      [&](const auto& line) { return line.ownLine && line.message == message; });
}
// The user's own lines in `lines` with exactly this message.
inline int CountOwn(const RoomLines& lines, const std::string& message) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
    return line.ownLine && line.message == message;
  }));
}

// Ticks "Chat Scan" and waits until the tool has announced itself and named the user once more,
// in the room and in its box. `user` is the screen name in this process's ANSI code page,
// `userKey` the tool's name of it.
inline bool StartScan(const ToolProcess& tool, const std::string& user,
                      const std::string& userKey) {
  const std::string found = "[Found User '" + user + "']";
  const int before = CountOwn(Lines(), found);
  return tool.Click(tv::app::kCheck1) && WaitFor([&] {
           const RoomLines lines = Lines();
           return CountOwn(lines, "[Tavik Varrow V.2][Searching User]") > 0 &&
                  CountOwn(lines, found) > before && tool.Text(tv::app::kText1) == userKey;
         });
}

// Call it after a room came to the front and before the user says something there, so that the
// tool has seen the room as it was. Waits until the tool's polls of the room in front have grown
// by two: the second begins only after the tool has read and taken in the first, which began
// after this call.
inline bool ToolHasLooked() {
  const std::optional<std::size_t> before = roomsim::client::TranscriptPolls();
  return before && WaitFor([&] {
           const std::optional<std::size_t> now = roomsim::client::TranscriptPolls();
           return now && *now >= *before + 2;
         });
}

// Types `command` as the user and waits for the tool's reply: the user's next line after it.
inline std::string Reply(const std::string& command, std::chrono::milliseconds deadline = 20s) {
  if (!roomsim::client::TypeAsUser(command)) return "<roomsim refused the line>";
  std::string reply = "<no reply>";
  WaitFor(
      [&] {
        const RoomLines lines = Lines();
        const auto typed = LastOwn(lines, command);
        const auto next =
            std::find_if(typed.base(), lines.end(), [](const auto& line) { return line.ownLine; });
        if (typed == lines.rend() || next == lines.end()) return false;
        reply = next->message;
        return true;
      },
      deadline);
  return reply;
}

// The links that roomsim logged to `log`, one a line.
inline std::vector<std::string> LinksIn(const std::filesystem::path& log) {
  std::ifstream file(log);
  std::vector<std::string> links;
  for (std::string link; std::getline(file, link);) links.push_back(link);
  return links;
}

}  // namespace e2e
