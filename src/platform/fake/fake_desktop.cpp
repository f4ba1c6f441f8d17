#include "platform/fake/fake_desktop.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tv::platform {
WindowHandle FakeDesktop::AddWindow(WindowHandle parent, std::string className, std::string text) {
  if (parent != kNoWindow && !Exists(parent)) throw std::logic_error("AddWindow: no parent");
  const WindowHandle handle = next_;
  next_ += 4;
  windows_[handle] =
      Window{parent, std::move(className), std::move(text), nullptr, static_cast<long>(handle)};
  return handle;
}

void FakeDesktop::DestroyWindow(WindowHandle window) {
  for (WindowHandle child : ChildrenOf(window)) DestroyWindow(child);
  windows_.erase(window);
}

void FakeDesktop::SetHook(WindowHandle window, Hook hook) {
  windows_.at(window).hook = std::move(hook);
}

std::vector<WindowHandle> FakeDesktop::ChildrenOf(WindowHandle parent) const {
  std::vector<WindowHandle> out;
  for (const auto& [handle, window] : windows_) {
    if (window.parent == parent) out.push_back(handle);
  }
  std::ranges::stable_sort(out, {}, [this](WindowHandle w) { return windows_.at(w).order; });
  return out;
}

WindowHandle FakeDesktop::FindWindowA(const std::string& className) {
  return FindWindowExA(kNoWindow, kNoWindow, className);
}

WindowHandle FakeDesktop::FindWindowExA(WindowHandle parent, WindowHandle after,
                                        const std::string& className) {
  if (parent != kNoWindow && !Exists(parent)) return kNoWindow;
  const std::vector<WindowHandle> children = ChildrenOf(parent);
  auto it = children.begin();
  if (after != kNoWindow) {
    it = std::find(children.begin(), children.end(), after);
    if (it == children.end()) return kNoWindow;  // Windows fails for a non-child `after`
    ++it;
  }
  for (; it != children.end(); ++it) {
    if (strcasecmp(windows_.at(*it).className.c_str(), className.c_str()) == 0) return *it;
  }
  return kNoWindow;
}

SendResult FakeDesktop::SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  auto it = windows_.find(window);
  if (it == windows_.end() || it->second.hung) return {};
  Message logged{window, message, wParam, lParam, {}};
  // Window messages carry their pointers in integers.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  if (message == kWmSetText && lParam != 0) logged.text = reinterpret_cast<const char*>(lParam);
  log_.push_back(logged);
  if (it->second.hook) {
    // Copy: the hook may destroy the window, and with it the stored hook.
    const Hook hook = it->second.hook;
    if (std::optional<std::intptr_t> answer = hook(logged)) return {true, *answer};
    if (!Exists(window)) return {true, 0};
  }
  return {true, DefaultAnswer(window, logged)};
}

std::intptr_t FakeDesktop::DefaultAnswer(WindowHandle window, const Message& message) {
  Window& target = windows_.at(window);
  switch (message.message) {
    case kWmSetText:
      target.text = message.text;
      return 1;
    case kWmGetTextLength:
      return static_cast<std::intptr_t>(target.text.size());
    case kWmGetText: {
      if (message.wParam == 0 || message.lParam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(message.wParam - 1, target.text.size());
      char* buffer = reinterpret_cast<char*>(message.lParam);  // NOLINT(performance-no-int-to-ptr)
      std::memcpy(buffer, target.text.data(), count);
      buffer[count] = '\0';
      return static_cast<std::intptr_t>(count);
    }
    case kWmClose:
      DestroyWindow(window);
      return 0;
    default:
      return 0;
  }
}

}  // namespace tv::platform
