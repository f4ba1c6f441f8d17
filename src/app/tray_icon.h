#pragma once
// The one notification-area icon of the main window, around one NOTIFYICONDATAA record (the
// version 1 layout: message, icon and tip). The icon is wanted from Add to Remove, whether or not
// the shell took it, so that a shell that starts later still gets it. The destructor deletes it.

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace tv::app {

class TrayIcon {
 public:
  TrayIcon();
  ~TrayIcon() {
    if (wanted_) Remove();
  }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Fills the record and adds the icon; the shell reports its mouse events to `window` with
  // `callbackMessage` (lParam = the mouse message). The tip is followed by one NUL and blanks to
  // the end of its 64 bytes; a longer tip is cut on a character boundary to leave room for the
  // NUL. Adding an icon that is there already changes nothing.
  void Add(HWND window, HICON icon, std::string_view ansiTip, UINT callbackMessage);
  // Deletes the icon the record names; nothing happens when there is none.
  void Remove();
  // Adds the icon again after the shell has (re)started, while it is wanted.
  void Restore();

 private:
  NOTIFYICONDATAA record_;
  bool wanted_ = false;
};

}  // namespace tv::app
