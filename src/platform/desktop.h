#pragma once
// The desktop's windows as the chat client exposes them: lookup by class and synchronous
// messages. Mirrors user32's FindWindowA, FindWindowExA, IsWindow, SendMessageA and SendMessageW.

#include <cstdint>
#include <string>

namespace tv::platform {

// An opaque window handle; kNoWindow means none.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

// The window messages the tool sends, with their Win32 numbers.
inline constexpr unsigned kWmSetText = 0x000C;
inline constexpr unsigned kWmGetText = 0x000D;
inline constexpr unsigned kWmGetTextLength = 0x000E;
inline constexpr unsigned kWmClose = 0x0010;
inline constexpr unsigned kWmKeyUp = 0x0101;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmLButtonUp = 0x0202;
inline constexpr std::uintptr_t kVkSpace = 0x20;

// What one message send came back with.
struct SendResult {
  // False when the window does not exist or did not answer in time; callers treat that as a
  // missing window.
  bool answered = false;
  // The window's result (LRESULT) when answered, else 0.
  std::intptr_t value = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The first top-level window of the class (matched without regard to case), or kNoWindow.
  virtual WindowHandle FindWindowA(const std::string& className) = 0;

  // The next direct child of `parent` with the class, after `after` in child order (from the
  // first child when `after` is kNoWindow), or kNoWindow.
  virtual WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after,
                                     const std::string& className) = 0;

  // Whether the window exists (it may be hung).
  virtual bool IsWindow(WindowHandle window) = 0;

  // Sends a message and waits for the answer; kNoWindow never answers. For WM_SETTEXT lParam is a
  // `const char*` to a NUL-terminated ANSI text; for WM_GETTEXT it is a `char*` buffer of wParam
  // characters, and the value is the number of characters copied (without the NUL).
  virtual SendResult SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0;

  // The same as a Unicode sender, for messages that carry no text (WM_GETTEXTLENGTH). Wine answers
  // an ANSI sender's WM_GETTEXTLENGTH to another process by copying the whole text over to count
  // its ANSI length; asked in Unicode it only asks. The answer is then a length in characters, or
  // for an ANSI window an upper bound of them, and no buffer size for WM_GETTEXT.
  virtual SendResult SendMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0;
};

}  // namespace tv::platform
