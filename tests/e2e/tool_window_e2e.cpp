// The real tool's window from another process, as the user's mouse and keyboard reach it and the
// screen shows it: the focus, the two heights, the colours, the join panel with roomsim taking the
// room links, the tray, the About box and closing.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/room_and_tool.h"

namespace e2e {
namespace {

constexpr int kCollapsedTwips = 855;
constexpr int kExpandedTwips = 6855;

class ToolWindowE2E : public RoomAndTool {
 protected:
  // The window's client height against a design height, in this screen's pixels: the test sees
  // other windows unscaled once it is DPI aware itself.
  static int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }
  bool IsHigh(int twips) const {
    RECT client{};
    return GetClientRect(tool.form(), &client) && client.bottom == MulDiv(twips, ScreenDpi(), 1440);
  }
  // The colours on the screen across the client area, from one design height down to another.
  std::set<COLORREF> Colours(int topTwips, int bottomTwips) const {
    RECT client{};
    GetClientRect(tool.form(), &client);
    MapWindowPoints(tool.form(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    HDC screen = GetDC(nullptr);
    const int dpi = ScreenDpi();
    std::set<COLORREF> colours;
    for (int y = MulDiv(topTwips, dpi, 1440); y <= MulDiv(bottomTwips, dpi, 1440); ++y)
      for (int x = client.left; x < client.right; ++x)
        colours.insert(GetPixel(screen, x, client.top + y));
    ReleaseDC(nullptr, screen);
    return colours;
  }
  // The tool's control with the keyboard focus; whether the focus comes to the control.
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(tool.form(), nullptr), &info);
    return info.hwndFocus;
  }
  bool FocusOn(int id) const {
    return WaitFor([&] { return Focus() == tool.Control(id); });
  }
  // Visible, not minimised, and as high as at the start. The tool restores the window step by
  // step, so another process may see it visible before it has its size back.
  bool ShownAtNormalSize() const {
    return IsWindowVisible(tool.form()) && !IsIconic(tool.form()) && IsHigh(kCollapsedTwips);
  }
  // The tray icon's mouse events as the shell delivers them.
  bool TrayEvent(UINT mouseMessage) const {
    return PostMessageW(tool.form(), app::kTrayCallbackMessage, app::kTrayIconId, mouseMessage);
  }
  bool SendToTray() const {
    return PostMessageW(tool.form(), WM_COMMAND, app::kMnuTray, 0) &&
           WaitFor([&] { return !IsWindowVisible(tool.form()); });
  }
  // A key pressed and released in a control, posted so that it goes through the tool's own
  // message loop.
  bool PostKey(int id, UINT key) const {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    return PostMessageW(tool.Control(id), WM_KEYDOWN, key, scan | 1) &&
           PostMessageW(tool.Control(id), WM_KEYUP, key, scan | 0xC0000001);
  }

  // WM_DPICHANGED carries its rectangle as a pointer, which Wine may or may not copy across
  // processes: the rectangle stands at one address in this process and in the tool's alike.
  bool SendDpiChanged(UINT dpi, const RECT& suggested) const {
    DWORD pid = 0;
    GetWindowThreadProcessId(tool.form(), &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    // An address far from what either program has taken, tried until both can have it.
    void* at = nullptr;
    for (std::uintptr_t i = 0; i < 16 && at == nullptr; ++i) {
      auto* wanted = reinterpret_cast<void*>((sizeof(void*) == 8 ? 0x5E0000000000 : 0x5E000000) +
                                             i * 0x100000);
      at = VirtualAlloc(wanted, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
      if (at != nullptr && VirtualAllocEx(process, at, sizeof suggested, MEM_COMMIT | MEM_RESERVE,
                                          PAGE_READWRITE) != at) {
        at = nullptr;
      }
    }
    const bool sent =
        at != nullptr && std::memcpy(at, &suggested, sizeof suggested) &&
        WriteProcessMemory(process, at, &suggested, sizeof suggested, nullptr) &&
        Send(tool.form(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(at));
    CloseHandle(process);
    return sent;
  }

  ToolWindowE2E() { SetProcessDPIAware(); }
};

TEST_F(ToolWindowE2E, FromStartToClose) {
  HWND form = tool.form();
  EXPECT_EQ(WindowText(form), "Tavik Varrow V.2");
  EXPECT_TRUE(IsHigh(kCollapsedTwips));

  // The keyboard: the focus starts on "Chat Scan", and Tab walks the controls in this order, round
  // to the start.
  ASSERT_TRUE(FocusOn(app::kCheck1));
  // clang-format off
  const int order[] = {app::kText1, app::kCmdMore, app::kTxtChat, app::kTxtEX, app::kCmdJoin,
      201, 202, 203, 204, 205, 206, 213, 214, 215, 216, 208, 209, 210, 211, 207, 212,  // Command<n>
      217, 218, 219, 220, 221, 222, 223, 224, 225, app::kCheck2, app::kCheck1, app::kText1};
  // clang-format on
  for (const int id : order)
    ASSERT_TRUE(PostKey(GetDlgCtrlID(Focus()), VK_TAB) && FocusOn(id)) << id;
  // The focused control outlasts a switch to another window and back, and a minimised spell, in
  // which "More Options" pressed from the keyboard sizes the window for when it is restored.
  ASSERT_TRUE(SetForegroundWindow(roomsim->chatWindow()) && WaitFor([&] { return !Focus(); }));
  ASSERT_TRUE(SetForegroundWindow(form) && FocusOn(app::kText1));
  ASSERT_TRUE(PostKey(app::kText1, VK_TAB) && FocusOn(app::kCmdMore));
  ASSERT_TRUE(PostMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0) &&
              WaitFor([&] { return IsIconic(form); }));
  // Posted one after the other, they come to the window in that order.
  ASSERT_TRUE(PostKey(app::kCmdMore, VK_SPACE) && PostMessageW(form, WM_SYSCOMMAND, SC_RESTORE, 0));
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(form) && IsHigh(kExpandedTwips); }));
  // Once the restore has run its course, which a message sent after it waits for.
  EXPECT_TRUE(Send(form, WM_NULL, 0, 0) && Focus() == tool.Control(app::kCmdMore));

  // Red text on black, and red rules: the first rule, and the status rows under it down to the
  // last.
  const std::set<COLORREF> red{RGB(255, 0, 0)}, redOnBlack{RGB(0, 0, 0), RGB(255, 0, 0)};
  EXPECT_TRUE(
      WaitFor([&] { return Colours(2280, 2280) == red && Colours(2295, 2745) == redOnBlack; }));

  // A quick-join button of each grid: one named by its caption, one by a room of its own. Each link
  // reaches roomsim through the shell and a roomsim of its own, so each is awaited in turn.
  ASSERT_TRUE(tool.Click(app::CommandId(13)));
  EXPECT_EQ(Links(1).back(), "aim:gochat?roomname=cloud9&exchange=4");
  ASSERT_TRUE(tool.Click(app::CommandId(19)));
  EXPECT_EQ(Links(2).back(), "aim:gochat?roomname=romanceconnection&exchange=5");
  // The room box: "Join Room", and Enter in the room box only, which empties it.
  ASSERT_TRUE(tool.SetText(app::kTxtChat, "My Room") && tool.Click(app::kCmdJoin));
  EXPECT_EQ(Links(3).back(), "aim:gochat?roomname=myroom&exchange=4");
  ASSERT_TRUE(tool.SetText(app::kTxtChat, "Den") && PostKey(app::kTxtEX, VK_RETURN));
  EXPECT_FALSE(WaitFor([&] { return tool.Text(app::kTxtChat).empty(); }, 2s));
  ASSERT_TRUE(PostKey(app::kTxtChat, VK_RETURN));
  EXPECT_TRUE(WaitFor([&] { return tool.Text(app::kTxtChat).empty(); }));
  EXPECT_EQ(Links(4).back(), "aim:gochat?roomname=den&exchange=4");
  ASSERT_TRUE(tool.Click(app::kCmdMore));
  EXPECT_EQ(tool.Text(app::kCmdMore), "More Options");
  EXPECT_TRUE(WaitFor([&] { return IsHigh(kCollapsedTwips); }));

  // Moved to a screen of twice the DPI, and back: the window takes the place suggested, its client
  // area the size and its labels a font made for the new DPI, whose letters are as many rows high
  // as the DPI says. scripts/e2e.sh runs the 64-bit suite at 144 DPI, where the tool must start
  // at the screen's DPI.
  const auto inkRows = [&] {
    RECT label{};
    GetWindowRect(tool.Control(app::kUser), &label);
    HDC screen = GetDC(nullptr);
    int rows = 0;
    for (int y = label.top; y < label.bottom; ++y) {
      int x = label.left;
      while (x < label.right && GetPixel(screen, x, y) != RGB(255, 0, 0)) ++x;
      rows += x < label.right;
    }
    ReleaseDC(nullptr, screen);
    return rows;
  };
  const int start = ScreenDpi(), rowsAtStart = inkRows();
  for (const int dpi : {2 * start, start}) {
    ASSERT_TRUE(SendDpiChanged(dpi, {40, 60, 440, 360})) << dpi;
    RECT client{}, frame{};
    ASSERT_TRUE(GetClientRect(form, &client) && GetWindowRect(form, &frame));
    EXPECT_EQ(client.right, MulDiv(3135, dpi, 1440)) << dpi;
    EXPECT_EQ(client.bottom, MulDiv(kCollapsedTwips, dpi, 1440)) << dpi;
    EXPECT_TRUE(frame.left == 40 && frame.top == 60) << dpi;
    RECT more{};
    ASSERT_TRUE(GetClientRect(tool.Control(app::kCmdMore), &more));
    EXPECT_EQ(more.right, client.right) << dpi;
    EXPECT_TRUE(WaitFor([&] {
      return std::abs(inkRows() * start - rowsAtStart * dpi) <= rowsAtStart * dpi / 4;
    })) << dpi
        << ": " << inkRows() << " rows of ink, " << rowsAtStart << " at " << start;
  }

  // "Send To Tray" hides the window behind an icon; a double click brings the window back and
  // takes the icon away.
  ASSERT_TRUE(SendToTray());
  EXPECT_TRUE(IsIconic(form));
  EXPECT_TRUE(TrayIconCall(NIM_MODIFY, form));
  // The tip as the shell shows it, the text up to the NUL that ends it in the record, once the
  // pointer rests on the rightmost icon of Wine's taskbar.
  RECT bar{};
  GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &bar);
  SetCursorPos(bar.right - 8, (bar.top + bar.bottom) / 2);
  HWND tip = nullptr;
  EXPECT_TRUE(
      WaitFor([&] { return IsWindowVisible(tip = FindWindowW(L"tooltips_class32", nullptr)); }));
  EXPECT_EQ(WindowText(tip), "Tavik Varrow V.2");
  ASSERT_TRUE(TrayEvent(WM_LBUTTONDBLCLK));
  EXPECT_TRUE(WaitFor([&] { return ShownAtNormalSize(); }));
  EXPECT_TRUE(WaitFor([&] { return !TrayIconCall(NIM_MODIFY, form); }));

  // The icon's menu opens when the right button is released; its first item is "Show" (another
  // process cannot read the items under Wine).
  ASSERT_TRUE(SendToTray());
  const auto menu = [&] { return tool.FindOwnWindow(L"#32768", nullptr); };  // a pop-up menu
  ASSERT_TRUE(SetCursorPos(300, 200) && TrayEvent(WM_RBUTTONUP));  // posted: the menu runs a loop
  ASSERT_TRUE(WaitFor([&] { return menu() != nullptr; }));
  RECT at{};
  EXPECT_TRUE(GetWindowRect(menu(), &at) && at.left == 300 && at.top == 200) << "at the pointer";
  PostMessageW(menu(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitFor([&] { return ShownAtNormalSize() && menu() == nullptr; }));

  // "About": a modal box of two lines, closed with OK.
  ASSERT_TRUE(PostMessageW(form, WM_COMMAND, app::kMnuABout, 0));
  HWND about = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (about = tool.FindOwnWindow(L"#32770", L"About")) != nullptr; }));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(form); })) << "the box is not modal";
  const std::string text = WindowText(GetDlgItem(about, 0xFFFF));  // a message box's text
  EXPECT_TRUE(std::regex_match(text, std::regex("[^\r\n]+\r\n[^\r\n]+"))) << text;
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(form); }));

  // Closing the window ends the program.
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(tool.Ends());
}

// A second start hands over to the running copy, which comes back from the tray; the end of the
// session ends the tool as closing it does, without leaving its icon behind.
TEST_F(ToolWindowE2E, OneCopyPerSessionAndTheSessionsEnd) {
  const HWND form = tool.form();
  ASSERT_TRUE(SendToTray() && TrayIconCall(NIM_MODIFY, form));
  EXPECT_EQ(ToolProcess::RunAnotherCopy(), 0u);
  EXPECT_TRUE(WaitFor([&] { return ShownAtNormalSize(); }));
  EXPECT_FALSE(TrayIconCall(NIM_MODIFY, form)) << "the icon stayed in the tray";
  EXPECT_EQ(FindWindowExW(nullptr, form, app::kFormClassName, nullptr), nullptr);
  EXPECT_EQ(FindWindowW(app::kFormClassName, nullptr), form);

  ASSERT_TRUE(SendToTray() && TrayIconCall(NIM_MODIFY, form));
  DWORD_PTR mayEnd = FALSE;
  EXPECT_TRUE(Send(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &mayEnd) && mayEnd);
  EXPECT_TRUE(Send(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
  EXPECT_FALSE(TrayIconCall(NIM_MODIFY, form)) << "the icon outlived the session";
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_TRUE(tool.Ends(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace e2e
