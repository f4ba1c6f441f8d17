#include "app/tray_icon.h"

#include <algorithm>

#include "app/control_ids.h"

namespace tv::app {

TrayIcon::TrayIcon() : record_{} {}

void TrayIcon::Add(HWND window, HICON icon, std::string_view ansiTip, UINT callbackMessage) {
  record_ = NOTIFYICONDATAA{};
  record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record_.hWnd = window;
  record_.uID = kTrayIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = callbackMessage;
  record_.hIcon = icon;
  const std::size_t length = std::min(ansiTip.size(), sizeof(record_.szTip) - 1);
  std::copy_n(ansiTip.data(), length, record_.szTip);
  // The shell refuses a second NIM_ADD for the same icon, so there is still one.
  if (Shell_NotifyIconA(NIM_ADD, &record_)) shown_ = true;
}

void TrayIcon::Remove() {
  if (record_.hWnd == nullptr) return;
  Shell_NotifyIconA(NIM_DELETE, &record_);
  shown_ = false;
}

void TrayIcon::Restore() {
  if (shown_) Shell_NotifyIconA(NIM_ADD, &record_);
}

}  // namespace tv::app
