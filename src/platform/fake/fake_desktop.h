#pragma once
// An in-memory desktop for native tests: a tree of windows with class names and texts that
// answers WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH and WM_CLOSE as Windows does, and logs every
// message it receives, in order.

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
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
    bool wide = false;         // sent with SendMessageW
  };

  // Runs before the default handling of a message to a window; a result replaces the default.
  using Hook = std::function<std::optional<std::intptr_t>(const Message&)>;

  // Adds a window as the last child of `parent` (a top-level window when kNoWindow).
  WindowHandle AddWindow(WindowHandle parent, std::string className, std::string text = {}) {
    if (parent != kNoWindow && !Exists(parent)) throw std::logic_error("AddWindow: no parent");
    next_ += 4;
    windows_[next_] = {parent, std::move(className), std::move(text), {}, ++last_, false};
    return next_;
  }
  // Destroys the window and its descendants.
  void DestroyWindow(WindowHandle window) {
    for (WindowHandle child : ChildrenOf(window)) DestroyWindow(child);
    windows_.erase(window);
  }
  bool Exists(WindowHandle window) const { return windows_.contains(window); }
  // Makes the window its parent's first child: for a top-level window, first in Z order.
  void BringToTop(WindowHandle window) { windows_.at(window).order = --first_; }
  // A hung window is found but answers no message.
  void SetHung(WindowHandle window, bool hung) { windows_.at(window).hung = hung; }

  // Direct access, logging nothing.
  const std::string& Text(WindowHandle window) const { return windows_.at(window).text; }
  void SetText(WindowHandle window, std::string text) {
    windows_.at(window).text = std::move(text);
  }
  void SetHook(WindowHandle window, Hook hook) { windows_.at(window).hook = std::move(hook); }

  const std::vector<Message>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

  WindowHandle FindWindowA(const std::string& className) override {
    return FindWindowExA(kNoWindow, kNoWindow, className);
  }
  WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after,
                             const std::string& className) override {
    if (parent != kNoWindow && !Exists(parent)) return kNoWindow;
    const std::vector<WindowHandle> children = ChildrenOf(parent);
    auto it = std::ranges::find(children, after);
    if (after != kNoWindow && it == children.end()) return kNoWindow;  // as Windows fails it
    for (it = after == kNoWindow ? children.begin() : it + 1; it != children.end(); ++it) {
      if (strcasecmp(windows_.at(*it).className.c_str(), className.c_str()) == 0) return *it;
    }
    return kNoWindow;
  }
  bool IsWindow(WindowHandle window) override { return Exists(window); }
  SendResult SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) override {
    return Send(window, message, wParam, lParam, false);
  }
  // Every window here is an ANSI one: asked in Unicode, it answers as asked in ANSI.
  SendResult SendMessageW(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) override {
    if (message == kWmSetText || message == kWmGetText) throw std::logic_error("text in Unicode");
    return Send(window, message, wParam, lParam, true);
  }

 private:
  struct Window {
    WindowHandle parent = kNoWindow;
    std::string className;
    std::string text;
    Hook hook;
    long order = 0;  // place among its siblings, lowest first
    bool hung = false;
  };

  SendResult Send(WindowHandle window, unsigned message, std::uintptr_t wParam,
                  std::intptr_t lParam, bool wide) {
    const auto it = windows_.find(window);
    if (it == windows_.end() || it->second.hung) return {};
    Message logged{window, message, wParam, lParam, {}, wide};
    // NOLINTNEXTLINE(performance-no-int-to-ptr): window messages carry pointers in integers
    if (message == kWmSetText && lParam != 0) logged.text = reinterpret_cast<const char*>(lParam);
    log_.push_back(logged);
    // A copy: the hook may destroy the window, and with it the stored hook.
    if (const Hook hook = it->second.hook) {
      if (std::optional<std::intptr_t> answer = hook(logged)) return {true, *answer};
      if (!Exists(window)) return {true, 0};
    }
    return {true, DefaultAnswer(windows_.at(window), logged)};
  }

  std::intptr_t DefaultAnswer(Window& target, const Message& message) {
    switch (message.message) {
      case kWmSetText:
        target.text = message.text;
        return 1;
      case kWmGetTextLength:
        return static_cast<std::intptr_t>(target.text.size());
      case kWmGetText: {
        if (message.wParam == 0 || message.lParam == 0) return 0;
        const std::size_t count = std::min<std::size_t>(message.wParam - 1, target.text.size());
        char* buffer =
            reinterpret_cast<char*>(message.lParam);  // NOLINT(performance-no-int-to-ptr)
        std::memcpy(buffer, target.text.data(), count);
        buffer[count] = '\0';
        return static_cast<std::intptr_t>(count);
      }
      case kWmClose:
        DestroyWindow(message.window);
        return 0;
      default:
        return 0;
    }
  }
  std::vector<WindowHandle> ChildrenOf(WindowHandle parent) const {
    std::vector<WindowHandle> out;
    for (const auto& [handle, window] : windows_) {
      if (window.parent == parent) out.push_back(handle);
    }
    std::ranges::stable_sort(out, {}, [this](WindowHandle w) { return windows_.at(w).order; });
    return out;
  }

  std::map<WindowHandle, Window> windows_;
  std::vector<Message> log_;
  WindowHandle next_ = 0xFC;
  long last_ = 0, first_ = 0;  // the orders of the last window added and of the last brought up
};

}  // namespace tv::platform
