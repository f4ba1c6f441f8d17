// The real tool's window from another process, as the user's mouse and keyboard reach it: the two
// heights, the join panel with roomsim taking the room links, the tray, the About box and closing.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
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
  bool IsHigh(int twips) const {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client{};
    return GetClientRect(tool.form(), &client) && client.bottom == MulDiv(twips, dpi, 1440);
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

  ToolWindowE2E() { SetProcessDPIAware(); }
};

TEST_F(ToolWindowE2E, FromStartToClose) {
  HWND form = tool.form();
  EXPECT_EQ(WindowText(form), "Tavik Varrow V.2");
  EXPECT_TRUE(IsHigh(kCollapsedTwips));

  ASSERT_TRUE(tool.Click(app::kCmdMore));
  EXPECT_EQ(tool.Text(app::kCmdMore), "Less Options");
  EXPECT_TRUE(WaitFor([&] { return IsHigh(kExpandedTwips); }));
  // Two of the quick-join buttons, then the room box: an exchange that is no number joins nothing
  // and keeps the room; a join empties it; Enter acts as "Join Room" in the room box only. Each
  // link reaches roomsim through the shell and a roomsim of its own, so each is awaited in turn.
  ASSERT_TRUE(tool.Click(app::CommandId(13)));
  ASSERT_EQ(Links(1).size(), 1u);
  ASSERT_TRUE(tool.Click(app::CommandId(19)));
  ASSERT_EQ(Links(2).size(), 2u);
  ASSERT_TRUE(tool.SetText(app::kTxtChat, "My Room") && tool.SetText(app::kTxtEX, "abc"));
  ASSERT_TRUE(tool.Click(app::kCmdJoin));
  EXPECT_EQ(tool.Text(app::kTxtChat), "My Room");
  ASSERT_TRUE(tool.SetText(app::kTxtEX, "4") && tool.Click(app::kCmdJoin));
  EXPECT_EQ(tool.Text(app::kTxtChat), "");
  ASSERT_EQ(Links(3).size(), 3u);
  EXPECT_EQ(tool.Text(app::kTxtEX), "4");
  ASSERT_TRUE(tool.SetText(app::kTxtChat, "Den") && PostKey(app::kTxtEX, VK_RETURN));
  EXPECT_FALSE(WaitFor([&] { return tool.Text(app::kTxtChat).empty(); }, 2s));
  ASSERT_TRUE(PostKey(app::kTxtChat, VK_RETURN));
  EXPECT_TRUE(WaitFor([&] { return tool.Text(app::kTxtChat).empty(); }));
  EXPECT_EQ(Links(4), (std::vector<std::string>{"aim:gochat?roomname=cloud9&exchange=4",
                                                "aim:gochat?roomname=romanceconnection&exchange=5",
                                                "aim:gochat?roomname=myroom&exchange=4",
                                                "aim:gochat?roomname=den&exchange=4"}));
  ASSERT_TRUE(tool.Click(app::kCmdMore));
  EXPECT_EQ(tool.Text(app::kCmdMore), "More Options");
  EXPECT_TRUE(WaitFor([&] { return IsHigh(kCollapsedTwips); }));

  // "Send To Tray" hides the window behind an icon; a double click brings the window back and
  // takes the icon away.
  ASSERT_TRUE(SendToTray());
  EXPECT_TRUE(IsIconic(form));
  EXPECT_TRUE(TrayIconCall(NIM_MODIFY, form));
  ASSERT_TRUE(TrayEvent(WM_LBUTTONDBLCLK));
  EXPECT_TRUE(WaitFor([&] { return ShownAtNormalSize(); }));
  EXPECT_TRUE(WaitFor([&] { return !TrayIconCall(NIM_MODIFY, form); }));

  // The icon's menu opens when the right button is released; its first item is "Show" (another
  // process cannot read the items under Wine).
  ASSERT_TRUE(SendToTray());
  const auto menu = [&] { return tool.FindOwnWindow(L"#32768", nullptr); };  // a pop-up menu
  ASSERT_TRUE(TrayEvent(WM_RBUTTONUP));  // posted: the menu runs its own loop
  ASSERT_TRUE(WaitFor([&] { return menu() != nullptr; }));
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
