#include "app/tray_icon.h"

#include <algorithm>
#include <span>

#include "app/control_ids.h"

namespace tv::app {
namespace {

// The tip field of the version 1 layout: the first 64 bytes of szTip.
constexpr std::size_t kTipBytes = 64;

// The shell reads the tip up to its NUL, so the field must hold one: a tip that fills it is cut
// before the last byte, and never between the two bytes of a double-byte character.
void FillTip(std::span<char, kTipBytes> field, std::string_view tip) {
  std::size_t length = 0;
  while (length < tip.size()) {
    const bool pair =
        IsDBCSLeadByte(static_cast<BYTE>(tip[length])) != FALSE && length + 1 < tip.size();
    const std::size_t next = length + (pair ? 2 : 1);
    if (next >= field.size()) break;
    length = next;
  }
  std::fill(field.begin(), field.end(), ' ');
  std::copy_n(tip.data(), length, field.begin());
  field[length] = '\0';
}

}  // namespace

TrayIcon::TrayIcon() : record_{} {}

void TrayIcon::Add(HWND window, HICON icon, std::string_view ansiTip, UINT callbackMessage) {
  record_ = NOTIFYICONDATAA{};
  record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record_.hWnd = window;
  record_.uID = kTrayIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = callbackMessage;
  record_.hIcon = icon;
  FillTip(std::span<char, kTipBytes>(record_.szTip, kTipBytes), ansiTip);
  // A shell that is down refuses the icon; it gets it on TaskbarCreated. One that has it already
  // refuses a second one, so there is still one.
  wanted_ = true;
  Shell_NotifyIconA(NIM_ADD, &record_);
}

void TrayIcon::Remove() {
  wanted_ = false;
  if (record_.hWnd == nullptr) return;
  Shell_NotifyIconA(NIM_DELETE, &record_);
}

void TrayIcon::Restore() {
  if (wanted_) Shell_NotifyIconA(NIM_ADD, &record_);
}

}  // namespace tv::app
