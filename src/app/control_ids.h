#pragma once
// Fixed numbers of the main window, for the program and for tests that drive it from another
// process: find the window by class or caption, then each control with GetDlgItem(form, id) (the
// IDs are those of form/controls.h, named here too). Menu commands can be run with WM_COMMAND and
// the tray icon's mouse events simulated with the callback message (lParam = the mouse message,
// e.g. WM_LBUTTONDBLCLK). Never renumber.

#include "form/controls.h"

namespace tv::app {

using namespace form::ids;

inline constexpr wchar_t kFormClassName[] = L"TavikVarrowForm1";
inline constexpr wchar_t kFormCaption[] = L"Tavik Varrow V.2";

// Menu commands (WM_COMMAND wParam).
inline constexpr int kMnuABout = 401;  // "About"
inline constexpr int kMnuTray = 402;   // "Send To Tray"
inline constexpr int kMnuShow = 403;   // "Actions" > "Show"
inline constexpr int kMnuHide = 404;   // "Hide": a command only, never shown in a menu

// The tray icon: its uID, and the message the shell sends to the main window for its mouse
// events (WM_APP + 1).
inline constexpr unsigned kTrayIconId = 1;
inline constexpr unsigned kTrayCallbackMessage = 0x8000 + 1;

// Timer IDs on the main window.
inline constexpr unsigned kChatTymerId = 1;  // the scanner's 500 ms tick
inline constexpr unsigned kTimer1Id = 2;     // the uptime label, at its next change
inline constexpr unsigned kCleartmrId = 3;   // the clear timer

}  // namespace tv::app
