// The real tool's window from another process: its start-up state, the two heights, the tray, the
// About box and the join panel, with roomsim taking the room links.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/room_and_tool.h"

namespace {

using namespace std::chrono_literals;
namespace app = tv::app;

constexpr int kCollapsedTwips = 855;
constexpr int kExpandedTwips = 6855;
constexpr UINT kMsgBoxTextId = 0xFFFF;  // the text of a message box, as Windows numbers it
constexpr wchar_t kPopupMenuClass[] = L"#32768";

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// A message box keeps its icon control when it has no icon, with no picture in it. A CALLBACK
// function rather than a lambda: on 32-bit Windows the enumeration calls it as stdcall.
BOOL CALLBACK MarkShownIcon(HWND child, LPARAM shows) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof name);
  const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
  if (_stricmp(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
      SendMessageA(child, STM_GETICON, 0, 0) != 0) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    *reinterpret_cast<bool*>(shows) = true;
  }
  return TRUE;
}

bool ShowsAnIcon(HWND dialog) {
  bool shows = false;
  EnumChildWindows(dialog, MarkShownIcon, reinterpret_cast<LPARAM>(&shows));
  return shows;
}

class ToolWindowE2E : public e2e::RoomAndTool {
 protected:
  // Visible, not minimised, and as high as at the start. The tool restores the window step by
  // step, so another process may see it visible before it has its size back.
  bool ShownAtNormalSize() const {
    return IsWindowVisible(tool.form()) && !IsIconic(tool.form()) &&
           tool.ClientSize().cy == TwipsToPixels(kCollapsedTwips, tool.Dpi());
  }
};

TEST_F(ToolWindowE2E, StartsCollapsedWithScanningOffAndTheDesignedTexts) {
  char caption[64] = {};
  GetWindowTextA(tool.form(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Tavik Varrow V.2");
  EXPECT_FALSE(tool.IsChecked(app::kCheck1));
  EXPECT_FALSE(tool.IsChecked(app::kCheck2));
  const std::pair<int, const char*> texts[] = {
      {app::kText1, ""},        {app::kCheck1, "Chat Scan"}, {app::kCmdMore, "More Options"},
      {app::kClearStat, "Off"}, {app::kLblClear, "0"},       {app::kChatsendlbl, "On"},
      {app::kTxtChat, ""},      {app::kTxtEX, "4"},
  };
  for (const auto& [id, text] : texts) EXPECT_EQ(tool.Text(id), text) << id;
  EXPECT_EQ(tool.ClientSize().cy, TwipsToPixels(kCollapsedTwips, tool.Dpi()));
}

TEST_F(ToolWindowE2E, MoreOptionsSwitchesBetweenTheTwoHeights) {
  const UINT dpi = tool.Dpi();
  RecordProperty("dpi", static_cast<int>(dpi));
  const int collapsed = TwipsToPixels(kCollapsedTwips, dpi);
  const int expanded = TwipsToPixels(kExpandedTwips, dpi);
  const int width = tool.ClientSize().cx;
  ASSERT_EQ(tool.ClientSize().cy, collapsed);

  ASSERT_TRUE(tool.Click(app::kCmdMore));
  EXPECT_EQ(tool.Text(app::kCmdMore), "Less Options");
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.ClientSize().cy == expanded; }))
      << tool.ClientSize().cy;

  ASSERT_TRUE(tool.Click(app::kCmdMore));
  EXPECT_EQ(tool.Text(app::kCmdMore), "More Options");
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.ClientSize().cy == collapsed; }))
      << tool.ClientSize().cy;
  EXPECT_EQ(tool.ClientSize().cx, width);
}

TEST_F(ToolWindowE2E, SendToTrayHidesAndADoubleClickOnTheIconRestores) {
  HWND form = tool.form();
  ASSERT_TRUE(tool.PostCommand(app::kMnuTray));
  ASSERT_TRUE(e2e::WaitFor([&] { return !IsWindowVisible(form); }));
  EXPECT_TRUE(IsIconic(form));
  EXPECT_TRUE(e2e::TrayIconCall(NIM_MODIFY, form));

  // A single click does nothing.
  ASSERT_TRUE(tool.SendTrayEvent(WM_LBUTTONDOWN));
  ASSERT_TRUE(tool.SendTrayEvent(WM_LBUTTONUP));
  EXPECT_FALSE(IsWindowVisible(form));

  ASSERT_TRUE(tool.PostTrayEvent(WM_LBUTTONDBLCLK));
  EXPECT_TRUE(e2e::WaitFor([&] { return ShownAtNormalSize(); })) << tool.ClientSize().cy;
  EXPECT_TRUE(e2e::WaitFor([&] { return !e2e::TrayIconCall(NIM_MODIFY, form); }));
}

TEST_F(ToolWindowE2E, TheIconsMenuOpensOnTheRightButtonsReleaseAndShows) {
  HWND form = tool.form();
  ASSERT_TRUE(tool.PostCommand(app::kMnuTray));
  ASSERT_TRUE(e2e::WaitFor([&] { return !IsWindowVisible(form); }));
  const auto menu = [&] {
    HWND popup = tool.FindOwnWindow(kPopupMenuClass, nullptr);
    return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
  };
  ASSERT_TRUE(tool.SendTrayEvent(WM_RBUTTONDOWN));
  EXPECT_EQ(menu(), nullptr);

  // Posted: the menu runs its own loop until an item is chosen.
  ASSERT_TRUE(tool.PostTrayEvent(WM_RBUTTONUP));
  HWND popup = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] { return (popup = menu()) != nullptr; }));
  // Another process cannot read the menu's items under Wine; its first item must be "Show".
  PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(e2e::WaitFor([&] { return ShownAtNormalSize(); })) << tool.ClientSize().cy;
  EXPECT_TRUE(e2e::WaitFor([&] { return menu() == nullptr; }));
}

TEST_F(ToolWindowE2E, SendToTrayWhileMinimisedKeepsTheWindowUntilADoubleClick) {
  HWND form = tool.form();
  ShowWindow(form, SW_MINIMIZE);
  ASSERT_TRUE(e2e::WaitFor([&] { return IsIconic(form); }));
  ASSERT_TRUE(tool.SendCommand(app::kMnuTray));
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_TRUE(IsIconic(form));

  ASSERT_TRUE(tool.PostTrayEvent(WM_LBUTTONDBLCLK));
  EXPECT_TRUE(e2e::WaitFor([&] { return ShownAtNormalSize(); })) << tool.ClientSize().cy;
}

TEST_F(ToolWindowE2E, AboutShowsTwoLinesInAModalBox) {
  ASSERT_TRUE(tool.PostCommand(app::kMnuABout));
  HWND about = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] {
    about = tool.FindOwnWindow(L"#32770", L"About");
    return about != nullptr && IsWindowVisible(about);
  }));
  EXPECT_TRUE(e2e::WaitFor([&] { return !IsWindowEnabled(tool.form()); }, 5s))
      << "the box is not modal";
  const std::string text = e2e::WindowText(GetDlgItem(about, kMsgBoxTextId));
  RecordProperty("about_text", text);
  const std::size_t lineBreak = text.find("\r\n");
  ASSERT_NE(lineBreak, std::string::npos) << text;
  EXPECT_GT(lineBreak, 0u) << text;
  EXPECT_LT(lineBreak + 2, text.size()) << text;
  EXPECT_EQ(text.find_first_of("\r\n", lineBreak + 2), std::string::npos) << text;
  EXPECT_FALSE(ShowsAnIcon(about));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(about, IDOK)));
  const HWND cancel = GetDlgItem(about, IDCANCEL);
  EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel)) << "more than an OK button";

  PostMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(e2e::WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(tool.form()); }));
  EXPECT_TRUE(IsWindowVisible(tool.form()));
}

TEST_F(ToolWindowE2E, ClosingTheWindowEndsTheProgram) {
  PostMessageW(tool.form(), WM_CLOSE, 0, 0);
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_TRUE(tool.WaitForExit(30s, &exitCode));
  RecordProperty("exit_code", static_cast<int>(exitCode));
}

TEST_F(ToolWindowE2E, QuickJoinButtonsOpenTheirRoomLinks) {
  ASSERT_TRUE(tool.Click(app::kCmdMore));
  EXPECT_EQ(tool.Text(app::CommandId(13)), "Cloud 9");
  ASSERT_TRUE(tool.Click(app::CommandId(13)));
  ASSERT_TRUE(WaitForLinks(1));
  EXPECT_EQ(tool.Text(app::CommandId(19)), "Rmnce Conct.");
  ASSERT_TRUE(tool.Click(app::CommandId(19)));
  ASSERT_TRUE(WaitForLinks(2));
  EXPECT_EQ(linkLog.Lines(),
            (std::vector<std::string>{"aim:gochat?roomname=cloud9&exchange=4",
                                      "aim:gochat?roomname=romanceconnection&exchange=5"}));
}

TEST_F(ToolWindowE2E, JoinRoomOpensTheTypedRoomAndEmptiesTheBox) {
  ASSERT_TRUE(tool.Click(app::kCmdMore));
  ASSERT_TRUE(tool.SetText(app::kTxtChat, "My Room"));
  // An exchange that is no number joins nothing and keeps the room box.
  ASSERT_TRUE(tool.SetText(app::kTxtEX, "abc"));
  ASSERT_TRUE(tool.Click(app::kCmdJoin));
  EXPECT_EQ(tool.Text(app::kTxtChat), "My Room");

  ASSERT_TRUE(tool.SetText(app::kTxtEX, "4"));
  ASSERT_TRUE(tool.Click(app::kCmdJoin));
  EXPECT_EQ(tool.Text(app::kTxtChat), "");
  EXPECT_EQ(tool.Text(app::kTxtEX), "4");

  // Enter in the exchange box does nothing; Enter in the room box acts as "Join Room".
  ASSERT_TRUE(tool.SetText(app::kTxtChat, "Den"));
  ASSERT_TRUE(tool.PostKey(app::kTxtEX, VK_RETURN));
  EXPECT_FALSE(e2e::WaitFor([&] { return tool.Text(app::kTxtChat).empty(); }, 2s));
  ASSERT_TRUE(tool.PostKey(app::kTxtChat, VK_RETURN));
  EXPECT_TRUE(e2e::WaitFor([&] { return tool.Text(app::kTxtChat).empty(); }));
  ASSERT_TRUE(WaitForLinks(2));
  EXPECT_EQ(linkLog.Lines(), (std::vector<std::string>{"aim:gochat?roomname=myroom&exchange=4",
                                                       "aim:gochat?roomname=den&exchange=4"}));
}

}  // namespace
