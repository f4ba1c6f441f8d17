#pragma once
// The real top-level windows: EnumWindows and the per-window queries, and GetShellWindow.

#include "platform/window_list.h"

namespace tv::platform {

class Win32WindowList final : public WindowList {
 public:
  std::optional<std::vector<TopLevelWindow>> EnumWindows() override;
  WindowHandle GetShellWindow() override;
};

}  // namespace tv::platform
