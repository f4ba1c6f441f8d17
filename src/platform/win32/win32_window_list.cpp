#include "platform/win32/win32_window_list.h"

#include <windows.h>

#include <dwmapi.h>

#include "platform/win32/system_library.h"

namespace tv::platform {
namespace {

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// Looked up once and kept: dwmapi.dll exists from Vista on, so it is not linked.
DwmGetWindowAttributeFn DwmAttributeReader() {
  static const auto reader =
      FindExport<DwmGetWindowAttributeFn>(LoadSystemLibrary("dwmapi.dll"), "DwmGetWindowAttribute");
  return reader;
}

// DWM may be off or missing (XP, Wine): then nothing is cloaked.
bool IsCloaked(HWND window) {
  const DwmGetWindowAttributeFn read = DwmAttributeReader();
  if (read == nullptr) return false;
  DWORD cloaked = 0;
  const HRESULT result = read(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked));
  return SUCCEEDED(result) && cloaked != 0;
}

TopLevelWindow Describe(HWND window) {
  TopLevelWindow info;
  info.handle = reinterpret_cast<WindowHandle>(window);
  info.visible = ::IsWindowVisible(window) != FALSE;
  info.owner = reinterpret_cast<WindowHandle>(::GetWindow(window, GW_OWNER));
  info.exStyle = static_cast<std::uint32_t>(::GetWindowLongPtrA(window, GWL_EXSTYLE));
  info.titleLength = ::GetWindowTextLengthA(window);
  info.cloaked = info.visible && IsCloaked(window);
  return info;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  // EnumWindows hands the list back through its integer parameter.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  reinterpret_cast<std::vector<TopLevelWindow>*>(list)->push_back(Describe(window));
  return TRUE;
}

}  // namespace

std::optional<std::vector<TopLevelWindow>> Win32WindowList::EnumWindows() {
  std::vector<TopLevelWindow> windows;
  if (::EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows)) == FALSE) return std::nullopt;
  return windows;
}

WindowHandle Win32WindowList::GetShellWindow() {
  return reinterpret_cast<WindowHandle>(::GetShellWindow());
}

}  // namespace tv::platform
