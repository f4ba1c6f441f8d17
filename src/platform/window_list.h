#pragma once
// The desktop's top-level windows with what decides whether the taskbar shows them. Mirrors
// user32's EnumWindows, IsWindowVisible, GetWindow(GW_OWNER), GetWindowLongPtrA(GWL_EXSTYLE),
// GetWindowTextLengthA and GetShellWindow, and dwmapi's DwmGetWindowAttribute(DWMWA_CLOAKED).

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/desktop.h"

namespace tv::platform {

// Extended window styles, with their Win32 numbers.
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;

struct TopLevelWindow {
  WindowHandle handle = kNoWindow;
  bool visible = false;
  WindowHandle owner = kNoWindow;
  std::uint32_t exStyle = 0;
  int titleLength = 0;
  // Visible to the window manager but not drawn (suspended store apps, other virtual desktops).
  bool cloaked = false;
};

class WindowList {
 public:
  virtual ~WindowList() = default;

  // Every top-level window of the desktop, in Z order; nullopt when the enumeration fails.
  virtual std::optional<std::vector<TopLevelWindow>> EnumWindows() = 0;
  // The shell's desktop window, or kNoWindow when there is no shell.
  virtual WindowHandle GetShellWindow() = 0;
};

}  // namespace tv::platform
