#pragma once
// Top-level windows set by the test.

#include "platform/window_list.h"

namespace tv::platform {

class FakeWindowList final : public WindowList {
 public:
  std::vector<TopLevelWindow> windows;
  WindowHandle shellWindow = kNoWindow;
  bool enumerationFails = false;

  std::optional<std::vector<TopLevelWindow>> EnumWindows() override {
    if (enumerationFails) return std::nullopt;
    return windows;
  }
  WindowHandle GetShellWindow() override { return shellWindow; }
};

}  // namespace tv::platform
