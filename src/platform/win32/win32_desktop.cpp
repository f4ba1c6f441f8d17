#include "platform/win32/win32_desktop.h"

#include <windows.h>

namespace tv::platform {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace

WindowHandle Win32Desktop::FindWindowA(const std::string& className) {
  return FromHwnd(::FindWindowA(className.c_str(), nullptr));
}

WindowHandle Win32Desktop::FindWindowExA(WindowHandle parent, WindowHandle after,
                                         const std::string& className) {
  // A null parent would search the top-level windows instead of nobody's children.
  if (parent == kNoWindow) return kNoWindow;
  return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(after), className.c_str(), nullptr));
}

bool Win32Desktop::IsWindow(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

namespace {

template <typename SendTimeout>
SendResult Send(SendTimeout send, WindowHandle window, unsigned message, std::uintptr_t wParam,
                std::intptr_t lParam) {
  if (window == kNoWindow) return {};  // a null window would not be refused everywhere
  DWORD_PTR result = 0;
  const LRESULT ok = send(ToHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                          static_cast<UINT>(Win32Desktop::kAnswerTimeout.count()), &result);
  if (ok == 0) return {};
  return {true, static_cast<std::intptr_t>(result)};
}

}  // namespace

SendResult Win32Desktop::SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  return Send(::SendMessageTimeoutA, window, message, wParam, lParam);
}

SendResult Win32Desktop::SendMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  return Send(::SendMessageTimeoutW, window, message, wParam, lParam);
}

}  // namespace tv::platform
