#pragma once
// The one notification-area icon of the main window, around one NOTIFYICONDATAA record (the
// version 1 layout: message, icon and tip). The destructor deletes the icon if it is there.

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace tv::app {

class TrayIcon {
 public:
  TrayIcon();
  ~TrayIcon() {
    if (shown_) Remove();
  }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Fills the record and adds the icon; the shell reports its mouse events to `window` with
  // `callbackMessage` (lParam = the mouse message). A tip longer than 63 bytes is cut. Adding an
  // icon that is there already changes nothing.
  void Add(HWND window, HICON icon, std::string_view ansiTip, UINT callbackMessage);
  // Deletes the icon the record names; nothing happens when there is none.
  void Remove();
  // Adds the icon again after the shell has restarted, when it was there before.
  void Restore();

 private:
  NOTIFYICONDATAA record_;
  bool shown_ = false;
};

}  // namespace tv::app
