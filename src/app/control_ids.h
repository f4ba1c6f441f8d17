#pragma once
// Fixed numbers of the main window, for the program and for tests that drive it from another
// process: find the window by class or caption, then each control with GetDlgItem(form, id).
// Menu commands can be run with WM_COMMAND and the tray icon's mouse events simulated with the
// callback message (lParam = the mouse message, e.g. WM_LBUTTONDBLCLK). Never renumber.

namespace tv::app {

inline constexpr wchar_t kFormClassName[] = L"TavikVarrowForm1";
inline constexpr wchar_t kFormCaption[] = L"Tavik Varrow V.2";

// Visible controls.
inline constexpr int kUser = 100;         // label "User"
inline constexpr int kText1 = 101;        // the user's screen name
inline constexpr int kCheck1 = 102;       // "Chat Scan"
inline constexpr int kCmdMore = 103;      // "More Options" / "Less Options"
inline constexpr int kLabel2 = 104;       // "Quick Chatroom Join"
inline constexpr int kTxtChat = 105;      // room name to join
inline constexpr int kTxtEX = 106;        // exchange to join on
inline constexpr int kCmdJoin = 107;      // "Join Room"
inline constexpr int kCheck2 = 108;       // "Chatsends Off Except For Help and Sysinfo"
inline constexpr int kLabel5 = 109;       // "Clear Timer -"
inline constexpr int kClearStat = 110;    // clear timer "On" / "Off"
inline constexpr int kLblClear = 111;     // clear timer minutes
inline constexpr int kLabel6 = 112;       // "Minutes"
inline constexpr int kLabel7 = 113;       // "Chat Sends - "
inline constexpr int kChatsendlbl = 114;  // chat sends "On" / "Off"
inline constexpr int kLabel3 = 115;       // "Exchange 4 Chatrooms"
inline constexpr int kLabel4 = 116;       // "Exchange 5 Chatrooms"
inline constexpr int kLine1 = 117;        // the three red rules
inline constexpr int kLine2 = 118;
inline constexpr int kLine3 = 119;

// The quick-join button Command<n>, n from 1 to 25, is kCommand0 + n.
inline constexpr int kCommand0 = 200;
constexpr int CommandId(int number) { return kCommand0 + number; }

// Hidden status labels, right of the client area.
inline constexpr int kLabel1 = 301;              // uptime
inline constexpr int kRamlbl = 302;              // total memory
inline constexpr int kRamfreelbl = 303;          // free memory
inline constexpr int kRunningprogramslbl = 304;  // running programs
inline constexpr int kCPU = 305;                 // processor name

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
inline constexpr unsigned kTimer1Id = 2;     // the uptime label, at the finest rate
inline constexpr unsigned kCleartmrId = 3;   // the clear timer

}  // namespace tv::app
