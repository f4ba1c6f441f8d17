#include "support/e2e.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <thread>
#include <utility>

#include "app/control_ids.h"
#include "platform/win32/win32_codepage.h"

namespace e2e {
namespace {

HWND FindWindowOf(DWORD pid, const wchar_t* className, const wchar_t* caption) {
  for (HWND window = FindWindowExW(nullptr, nullptr, className, caption); window != nullptr;
       window = FindWindowExW(nullptr, window, className, caption)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND FindTranscript(HWND chat) {
  HWND pane = chat ? FindWindowExA(chat, nullptr, "WndAte32Class", nullptr) : nullptr;
  return pane ? FindWindowExA(pane, nullptr, "Ate32Class", nullptr) : nullptr;
}

HWND FindInput() {
  HWND chat = Roomsim::ChatInFront();
  HWND pane = FindWindowExA(chat, FindWindowExA(chat, nullptr, "WndAte32Class", nullptr),
                            "WndAte32Class", nullptr);
  return pane ? FindWindowExA(pane, nullptr, "Ate32Class", nullptr) : nullptr;
}

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

}  // namespace

std::filesystem::path BinDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

namespace {

std::filesystem::path RoomsimExe() {
  const char* dir = std::getenv("TV_ROOMSIM_DIR");
  return (dir ? std::filesystem::path(dir) : BinDir()) / "roomsim.exe";
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (MSG msg; !condition(); std::this_thread::sleep_for(20ms)) {
    if (std::chrono::steady_clock::now() > end) return false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

PROCESS_INFORMATION Launch(std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                 &process);
  return process;
}

DWORD RunToEnd(std::wstring command, std::chrono::milliseconds deadline) {
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

void End(PROCESS_INFORMATION& process) {
  if (process.hProcess == nullptr) return;
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = {};
}

void KillAll(const std::wstring& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    PROCESS_INFORMATION process{};
    if (_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) {
      process.hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
      End(process);
    }
  }
  CloseHandle(snapshot);
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  DWORD_PTR ignored = 0;
  return window != nullptr && SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                                                  30000, result ? result : &ignored) != 0;
}

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1, 0);
  text.resize(static_cast<std::size_t>(
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::wstring Wide(const std::string& ansi) { return tv::platform::Win32CodePage().FromAnsi(ansi); }

std::string Ansi(const std::wstring& wide) { return tv::platform::Win32CodePage().ToAnsi(wide); }

Roomsim::Roomsim(const std::string& room, const std::string& user, const std::string& linkLog,
                 bool takeOver) {
  if (!takeOver) KillAll(L"roomsim.exe");
  std::string arguments = " --room \"" + room + "\" --user \"" + user + "\"";
  if (!linkLog.empty()) arguments += " --link-log \"" + linkLog + "\"";
  process_ = Launch(Quoted(RoomsimExe()) + Wide(arguments));
  WaitFor([this] {
    HWND chat = FindWindowOf(process_.dwProcessId, L"AIM_ChatWnd", nullptr);
    return (chat_ = FindTranscript(chat) ? chat : nullptr) != nullptr;
  });
}

HWND Roomsim::ChatInFront() { return FindWindowA("AIM_ChatWnd", nullptr); }

HWND Roomsim::TranscriptControl() { return FindTranscript(ChatInFront()); }

std::string Roomsim::Transcript() {
  const HWND transcript = TranscriptControl();
  // A buffer that the text fills only up to its last place may have cut it short.
  for (std::string text(std::size_t{1} << 16, '\0');; text.resize(text.size() * 2)) {
    const auto copied = static_cast<std::size_t>(
        SendMessageA(transcript, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    if (copied + 1 < text.size()) return text.substr(0, copied);
  }
}

std::string Roomsim::Draft() { return WindowText(FindInput()); }

bool Roomsim::SetDraft(const std::string& text) {
  return SendMessageA(FindInput(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

DWORD Roomsim::RunAnother(const std::string& arguments) {
  return RunToEnd(Quoted(RoomsimExe()) + Wide(arguments), 30s);
}

ToolProcess::ToolProcess() {
  KillAll(L"tavik-varrow.exe");
  process_ = Launch(Quoted(BinDir() / L"tavik-varrow.exe"));
  WaitFor([this] { return (form_ = FindOwnWindow(tv::app::kFormClassName, nullptr)) != nullptr; },
          60s);
}

bool ToolProcess::IsChecked(int id) const {
  DWORD_PTR state = 0;
  return Send(Control(id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool ToolProcess::SetText(int id, const std::wstring& text) const {
  DWORD_PTR done = FALSE;
  return Send(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &done) && done;
}

HWND ToolProcess::FindOwnWindow(const wchar_t* className, const wchar_t* caption) const {
  return FindWindowOf(process_.dwProcessId, className, caption);
}

bool ToolProcess::Ends(DWORD* exitCode) const {
  return WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0 &&
         (exitCode == nullptr || GetExitCodeProcess(process_.hProcess, exitCode));
}

DWORD ToolProcess::RunAnotherCopy() {
  return RunToEnd(Quoted(BinDir() / L"tavik-varrow.exe"), 30s);
}

bool TrayIconCall(DWORD message, HWND owner) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = owner;
  icon.uID = tv::app::kTrayIconId;
  icon.uFlags = message == NIM_ADD ? NIF_TIP : 0;
  lstrcpynA(icon.szTip, "Tavik Varrow V.2", 64);
  return Shell_NotifyIconA(message, &icon) != FALSE;
}

}  // namespace e2e
