#pragma once
// A window backed by a C++ object. The object pointer travels through WM_NCCREATE and
// GWLP_USERDATA; every class of roomsim uses Window::Procedure as its window procedure.

#include <windows.h>

namespace roomsim::win32 {

// Window messages and window data carry pointers and handles as integers; this turns one back.
template <class T>
T FromInteger(LONG_PTR value) {
  return reinterpret_cast<T>(value);  // NOLINT(performance-no-int-to-ptr): the Win32 contract
}

class Window {
 public:
  Window() = default;
  // Destroys the window if it still exists, without routing its last messages to this object.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return window_; }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // False when the window could not be created.
  bool Create(const char* className, const char* title, DWORD style, DWORD exStyle,
              const RECT& bounds, HWND parent, int childId = 0);

  // Messages this window handles; the default hands them to DefWindowProcA.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the window is gone (after WM_NCDESTROY), with Handle() already null.
  virtual void OnDestroyed() {}

 private:
  HWND window_ = nullptr;
};

}  // namespace roomsim::win32
