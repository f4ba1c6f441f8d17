#pragma once
// An in-memory desktop for native tests: a tree of windows with class names and texts that
// answers WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH and WM_CLOSE as Windows does, and logs every
// message it receives, in order.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tv::platform {

class FakeDesktop final : public Desktop {
 public:
  struct Message {
    WindowHandle window = kNoWindow;
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;  // for WM_SETTEXT the pointer is not kept; see `text`
    std::string text;          // the text of a WM_SETTEXT
  };

  // Runs before the default handling of a message to a window; a result replaces the default.
  using Hook = std::function<std::optional<std::intptr_t>(const Message&)>;

  // Adds a window as the last child of `parent` (a top-level window when kNoWindow).
  WindowHandle AddWindow(WindowHandle parent, std::string className, std::string text = {});
  // Makes the window its parent's first child: for a top-level window, first in Z order.
  void BringToTop(WindowHandle window) { windows_.at(window).order = --top_; }
  // A hung window is found but answers no message.
  void SetHung(WindowHandle window, bool hung) { windows_.at(window).hung = hung; }
  // Destroys the window and its descendants.
  void DestroyWindow(WindowHandle window);
  bool Exists(WindowHandle window) const { return windows_.contains(window); }
  bool IsWindow(WindowHandle window) override { return Exists(window); }

  // Direct access, logging nothing.
  const std::string& Text(WindowHandle window) const { return windows_.at(window).text; }
  void SetText(WindowHandle window, std::string text) {
    windows_.at(window).text = std::move(text);
  }

  void SetHook(WindowHandle window, Hook hook);

  const std::vector<Message>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

  WindowHandle FindWindowA(const std::string& className) override;
  WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after,
                             const std::string& className) override;
  SendResult SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

 private:
  struct Window {
    WindowHandle parent = kNoWindow;
    std::string className;
    std::string text;
    Hook hook;
    long order = 0;  // place among its siblings, lowest first
    bool hung = false;
  };

  std::intptr_t DefaultAnswer(WindowHandle window, const Message& message);
  std::vector<WindowHandle> ChildrenOf(WindowHandle parent) const;

  std::map<WindowHandle, Window> windows_;
  std::vector<Message> log_;
  WindowHandle next_ = 0x100;
  long top_ = 0;  // the order of the last window brought to the top
};

}  // namespace tv::platform
