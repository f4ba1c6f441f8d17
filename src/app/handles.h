#pragma once
// Owning wrappers for the Win32 handles the window creates: each is released when its owner
// goes, and never twice.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tv::app {

// A handle or pointer that travels in an integer: a message parameter, window data, a control ID
// in the menu argument.
template <typename T, typename Integer>
T FromInteger(Integer value) {
  return reinterpret_cast<T>(value);  // NOLINT(performance-no-int-to-ptr): the Win32 contract
}

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct ModuleDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// A registered window class, unregistered again by the destructor.
class WindowClass {
 public:
  WindowClass(const WNDCLASSEXW& description)
      : instance_(description.hInstance),
        name_(description.lpszClassName),
        registered_(RegisterClassExW(&description) != 0) {}
  ~WindowClass() {
    if (registered_) UnregisterClassW(name_, instance_);
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

  bool registered() const { return registered_; }

 private:
  HINSTANCE instance_;
  const wchar_t* name_;
  bool registered_;
};

}  // namespace tv::app
