#include "win32/window.h"

#include "win32/handles.h"

namespace roomsim::win32 {

WindowClass::WindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, HBRUSH background,
                         UINT style)
    : instance_(instance), name_(name) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = name;
  atom_ = ::RegisterClassExA(&windowClass);
}

WindowClass::~WindowClass() {
  if (atom_ != 0) ::UnregisterClassA(name_, instance_);
}

Window::~Window() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle,
                    const RECT& bounds, HWND parent, int childId) {
  // A child's id goes where a top-level window's menu would.
  const auto menuOrId = FromInteger<HMENU>(childId);
  ::CreateWindowExA(exStyle, className, title, style, bounds.left, bounds.top,
                    bounds.right - bounds.left, bounds.bottom - bounds.top, parent, menuOrId,
                    ::GetModuleHandleA(nullptr), this);
  return window_ != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = FromInteger<const CREATESTRUCTA*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = FromInteger<Window*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (self == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->OnDestroyed();
  }
  return result;
}

}  // namespace roomsim::win32
