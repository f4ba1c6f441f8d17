#pragma once
// The real desktop. Messages go out with SendMessageTimeoutA (or W) and SMTO_ABORTIFHUNG, so that
// a hung chat client cannot freeze the tool: a message it does not answer within kAnswerTimeout
// counts as sent to a missing window.

#include <chrono>

#include "platform/desktop.h"

namespace tv::platform {

class Win32Desktop final : public Desktop {
 public:
  static constexpr std::chrono::milliseconds kAnswerTimeout{2000};

  WindowHandle FindWindowA(const std::string& className) override;
  WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after,
                             const std::string& className) override;
  bool IsWindow(WindowHandle window) override;
  SendResult SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
  SendResult SendMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;
};

}  // namespace tv::platform
