#include "support/tool_process.h"

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include "app/control_ids.h"
#include "support/roomsim_driver.h"

namespace e2e {
namespace {

constexpr wchar_t kToolExe[] = L"tavik-varrow.exe";
constexpr UINT kSendTimeoutMs = 30000;

template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

// While it lives, this thread sees other windows in physical pixels, whatever DPI awareness the
// test program has; where the call is missing, everything is at the system DPI anyway.
class PhysicalPixels {
 public:
  PhysicalPixels() {
    if (set_) previous_ = set_(kPerMonitorAwareV2);
  }
  ~PhysicalPixels() {
    if (set_ && previous_) set_(previous_);
  }
  PhysicalPixels(const PhysicalPixels&) = delete;
  PhysicalPixels& operator=(const PhysicalPixels&) = delete;

 private:
  using Context = HANDLE;
  using SetFn = Context(WINAPI*)(Context);
  static inline const Context kPerMonitorAwareV2 = reinterpret_cast<Context>(-4);
  SetFn set_ = User32Function<SetFn>("SetThreadDpiAwarenessContext");
  Context previous_ = nullptr;
};

HWND FindWindowOf(DWORD pid, const wchar_t* className, const wchar_t* caption) {
  for (HWND window = FindWindowExW(nullptr, nullptr, className, caption); window != nullptr;
       window = FindWindowExW(nullptr, window, className, caption)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid) return window;
  }
  return nullptr;
}

bool Sent(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  return window != nullptr && SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                                                  kSendTimeoutMs, result) != 0;
}

}  // namespace

bool TrayIconCall(DWORD message, HWND owner) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = owner;
  icon.uID = tv::app::kTrayIconId;
  if (message == NIM_ADD) {
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, "Tavik Varrow V.2", 64);
  }
  return Shell_NotifyIconA(message, &icon) != FALSE;
}

bool TrayShowsIcons() { return IsWindowVisible(FindWindowW(L"Shell_TrayWnd", nullptr)) != FALSE; }

std::vector<std::wstring> TrayTips() {
  std::vector<std::wstring> tips;
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  DWORD pid = 0;
  if (tray == nullptr || GetWindowThreadProcessId(tray, &pid) == 0) return tips;
  HANDLE shell = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (shell == nullptr) return tips;
  // The tooltip fills a record and its text in its own process, so both are made there.
  constexpr std::size_t kTextAt = 1024;
  auto* remote =
      static_cast<char*>(VirtualAllocEx(shell, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
       remote != nullptr && tip != nullptr;
       tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tip, GW_OWNER) != tray) continue;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.lpszText = reinterpret_cast<LPWSTR>(remote + kTextAt);
    wchar_t text[128] = {};
    DWORD_PTR found = 0;
    if (WriteProcessMemory(shell, remote, &info, sizeof info, nullptr) &&
        Sent(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote), &found) && found &&
        ReadProcessMemory(shell, remote + kTextAt, text, sizeof text - sizeof *text, nullptr)) {
      tips.emplace_back(text);
    }
  }
  if (remote != nullptr) VirtualFreeEx(shell, remote, 0, MEM_RELEASE);
  CloseHandle(shell);
  return tips;
}

ToolProcess::ToolProcess() {
  KillAll(kToolExe);
  const auto start = std::chrono::steady_clock::now();
  process_ = Launch(L"\"" + (BinDir() / kToolExe).wstring() + L"\"");
  if (process_.hProcess == nullptr) return;
  HWND found = nullptr;
  WaitFor(
      [&] {
        found = FindWindowOf(process_.dwProcessId, tv::app::kFormClassName, nullptr);
        return found != nullptr && IsWindowVisible(found);
      },
      60s);
  startupTime_ = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  if (found != nullptr && IsWindowVisible(found)) form_ = found;
}

ToolProcess::~ToolProcess() {
  End(process_);
  KillAll(kToolExe);
}

HWND ToolProcess::Control(int id) const { return form_ ? GetDlgItem(form_, id) : nullptr; }

bool ToolProcess::Click(int id) const {
  DWORD_PTR ignored = 0;
  return Sent(Control(id), BM_CLICK, 0, 0, &ignored);
}

bool ToolProcess::IsChecked(int id) const {
  DWORD_PTR state = 0;
  return Sent(Control(id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

std::string ToolProcess::Text(int id) const { return WindowText(Control(id)); }

bool ToolProcess::SetText(int id, const std::string& text) const {
  DWORD_PTR result = 0;
  HWND control = Control(id);
  return control != nullptr &&
         SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_NORMAL, kSendTimeoutMs, &result) != 0 &&
         result == TRUE;
}

bool ToolProcess::PostCommand(int commandId) const {
  return form_ != nullptr && PostMessageW(form_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0) != 0;
}

bool ToolProcess::SendCommand(int commandId) const {
  DWORD_PTR ignored = 0;
  return Sent(form_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0, &ignored);
}

bool ToolProcess::PostTrayEvent(UINT mouseMessage) const {
  return form_ != nullptr && PostMessageW(form_, tv::app::kTrayCallbackMessage,
                                          tv::app::kTrayIconId, mouseMessage) != 0;
}

bool ToolProcess::SendTrayEvent(UINT mouseMessage) const {
  DWORD_PTR ignored = 0;
  return Sent(form_, tv::app::kTrayCallbackMessage, tv::app::kTrayIconId, mouseMessage, &ignored);
}

bool ToolProcess::PostKey(int id, UINT virtualKey) const {
  HWND control = Control(id);
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  return control != nullptr && PostMessageW(control, WM_KEYDOWN, virtualKey, scan | 1) != 0 &&
         PostMessageW(control, WM_KEYUP, virtualKey, scan | 0xC0000001) != 0;
}

bool ToolProcess::TaskbarCreated() const {
  DWORD_PTR ignored = 0;
  return Sent(form_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, &ignored);
}

SIZE ToolProcess::ClientSize() const {
  const PhysicalPixels physical;
  RECT client{};
  if (form_ == nullptr || !GetClientRect(form_, &client)) return {-1, -1};
  return {client.right - client.left, client.bottom - client.top};
}

UINT ToolProcess::Dpi() const {
  const PhysicalPixels physical;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && form_ ? getDpiForWindow(form_) : 0;
  if (dpi != 0) return dpi;
  HDC screen = GetDC(nullptr);
  const int system = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return static_cast<UINT>(system);
}

HWND ToolProcess::FindOwnWindow(const wchar_t* className, const wchar_t* caption) const {
  return FindWindowOf(process_.dwProcessId, className, caption);
}

bool ToolProcess::WaitForExit(std::chrono::milliseconds deadline, DWORD* exitCode) const {
  if (!process_.hProcess) return false;
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(deadline.count())) !=
      WAIT_OBJECT_0) {
    return false;
  }
  if (exitCode != nullptr) GetExitCodeProcess(process_.hProcess, exitCode);
  return true;
}

ToolProcess::MemoryUse ToolProcess::Memory() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!process_.hProcess || !GetProcessMemoryInfo(process_.hProcess, &counters, sizeof counters)) {
    return {};
  }
  MemoryUse use{counters.WorkingSetSize, counters.PeakWorkingSetSize};
  GetProcessHandleCount(process_.hProcess, &use.handles);
  return use;
}

}  // namespace e2e
