#include "aim/chat_window.h"

#include <gtest/gtest.h>

#include "fake_chat_room.h"

namespace tv::aim {
namespace {

using platform::FakeDesktop;
using platform::kWmClose;
using platform::kWmGetText;
using platform::kWmGetTextLength;
using platform::kWmKeyUp;
using platform::kWmLButtonDown;
using platform::kWmLButtonUp;
using platform::kWmSetText;
using testing::FakeChatRoom;

struct Sent {
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const Sent&) const = default;
};

std::vector<Sent> Messages(const std::vector<FakeDesktop::Message>& log) {
  std::vector<Sent> out;
  for (const auto& m : log) {
    out.push_back({m.message, m.wParam, m.message == kWmSetText ? 0 : m.lParam});
  }
  return out;
}

class ChatWindowTest : public ::testing::Test {
 protected:
  FakeChatRoom room;
  platform::ChatClientOs os = room.Os();
};

TEST_F(ChatWindowTest, TranscriptReadsLengthThenTextWithRoomForTheNul) {
  room.desktop.SetText(room.transcript, "<BR>hello");
  EXPECT_EQ(GetTranscriptText(os), L"<BR>hello");
  const auto log = room.desktop.LogOf(room.transcript);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].message, kWmGetTextLength);
  EXPECT_EQ(log[1].message, kWmGetText);
  EXPECT_EQ(log[1].wParam, 10u);
}

TEST_F(ChatWindowTest, TailIsTheLast500Characters) {
  const std::string text = std::string(300, 'a') + std::string(500, 'b');
  for (const auto& [transcript, tail] : std::vector<std::pair<std::string, std::wstring>>{
           {"", L""},
           {"short", L"short"},
           {std::string(500, 'c'), std::wstring(500, L'c')},
           {text, std::wstring(500, L'b')}}) {
    room.desktop.SetText(room.transcript, transcript);
    EXPECT_EQ(GetTranscriptTail(os), tail);
  }
}

// A double-byte code page: a byte from 0x80 on leads and takes the next byte with it.
class TwoByteCodePage final : public platform::CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override {
    std::string out;
    for (wchar_t c : text) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        out += static_cast<char>(0x80 | ((c >> 8) & 0x7F));
        out += static_cast<char>(c & 0xFF);
      }
    }
    return out;
  }
  std::wstring FromAnsi(std::string_view text) const override {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto lead = static_cast<unsigned char>(text[i]);
      if (lead < 0x80 || i + 1 == text.size()) {
        out += static_cast<wchar_t>(lead);
      } else {
        out += static_cast<wchar_t>(((lead & 0x7F) << 8) | static_cast<unsigned char>(text[++i]));
      }
    }
    return out;
  }
};

TEST_F(ChatWindowTest, TailOfADoubleByteTranscriptIsWholeCharacters) {
  const TwoByteCodePage twoByte;
  const platform::ChatClientOs wide{room.desktop, room.shell, twoByte};
  for (const std::wstring text :
       {std::wstring(700, L'\u4E2D'), L"x" + std::wstring(700, L'\u4E2D'),
        std::wstring(300, L'\u4E2D') + std::wstring(300, L'a'), std::wstring(10, L'\u4E2D')}) {
    room.desktop.SetText(room.transcript, twoByte.ToAnsi(text));
    const std::wstring expected = text.substr(text.size() > 500 ? text.size() - 500 : 0);
    EXPECT_EQ(GetTranscriptTail(wide), expected);
    EXPECT_EQ(GetTranscriptText(wide), text);
  }
}

TEST_F(ChatWindowTest, TranscriptThatGrowsBetweenTheTwoMessagesIsReadWithinTheBuffer) {
  room.desktop.SetText(room.transcript, "<BR>one");
  room.desktop.SetHook(room.transcript,
                       [&](const FakeDesktop::Message& m) -> std::optional<std::intptr_t> {
                         if (m.message == kWmGetTextLength) {
                           room.desktop.SetText(room.transcript, "<BR>one<BR>two and much more");
                           return 7;
                         }
                         return std::nullopt;
                       });
  EXPECT_EQ(GetTranscriptText(os), L"<BR>one");
}

TEST_F(ChatWindowTest, TranscriptThatShrinksBetweenTheTwoMessagesGivesOnlyWhatWasCopied) {
  room.desktop.SetText(room.transcript, "<BR>one<BR>two");
  room.desktop.SetHook(room.transcript,
                       [&](const FakeDesktop::Message& m) -> std::optional<std::intptr_t> {
                         if (m.message == kWmGetTextLength) {
                           room.desktop.SetText(room.transcript, "");
                           return 14;
                         }
                         return std::nullopt;
                       });
  EXPECT_EQ(GetTranscriptText(os), L"");
}

TEST_F(ChatWindowTest, SetTranscriptTextReplacesIt) {
  room.SayAsUser("hi");
  SetTranscriptText(os, L"");
  EXPECT_EQ(room.Transcript(), "");
  EXPECT_EQ(Messages(room.desktop.Log()), (std::vector<Sent>{{kWmSetText, 0, 0}}));
}

TEST_F(ChatWindowTest, SendChatTextSetsTheInputThenClicksTheFifthButton) {
  SendChatText(os, L"[Chat Cleared]");
  EXPECT_EQ(room.desktop.LogOf(room.input).at(0).text, "[Chat Cleared]");
  EXPECT_EQ(
      Messages(room.desktop.Log()),
      (std::vector<Sent>{{kWmSetText, 0, 0}, {kWmLButtonDown, 13, 0}, {kWmLButtonUp, 13, 0}}));
  EXPECT_EQ(room.desktop.Log()[1].window, room.sendButton());
  EXPECT_EQ(room.Sent(), std::vector<std::string>{"[Chat Cleared]"});
}

TEST_F(ChatWindowTest, SendChatLinePressesTheButtonWithTheSpaceKey) {
  SendChatLine(os, L"[Tavik Varrow V.2][Searching User]");
  EXPECT_EQ(
      Messages(room.desktop.Log()),
      (std::vector<Sent>{
          {kWmSetText, 0, 0}, {kWmLButtonDown, 0, 0}, {kWmKeyUp, 0x20, 0}, {kWmLButtonUp, 0, 0}}));
  for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(room.desktop.Log()[i].window, room.sendButton());
  EXPECT_EQ(room.Sent(), std::vector<std::string>{"[Tavik Varrow V.2][Searching User]"});
}

TEST_F(ChatWindowTest, EmptyTextIsStillSent) {
  SendChatText(os, L"");
  SendChatLine(os, L"");
  EXPECT_EQ(room.Sent(), (std::vector<std::string>{"", ""}));
}

TEST_F(ChatWindowTest, TextCrossesInTheAnsiCodePage) {
  SendChatText(os, L"caf\u00E9 \u4E2D");
  EXPECT_EQ(room.Sent().at(0), "caf\xE9 ?");
  room.desktop.SetText(room.transcript, "na\xEFve");
  EXPECT_EQ(GetTranscriptText(os), L"na\u00EFve");
}

TEST_F(ChatWindowTest, RoomNameDropsTheFirstWordAndRoomLabel) {
  const struct {
    std::string caption;
    std::wstring name;
  } cases[] = {
      {"Chat Room: Lobby", L" Lobby"},
      {"Chat Room: Chatters", L" ters"},  // the first word goes wherever it stands
      {"Lobby", L""},
      {"", L""},
      {"Chat Room: my room 2", L" my room 2"},
      {"Room: Room: x", L"  x"},
  };
  for (const auto& c : cases) {
    room.desktop.SetText(room.chat, c.caption);
    EXPECT_EQ(GetRoomName(os), c.name) << c.caption;
  }
}

TEST_F(ChatWindowTest, CloseChatWindowClosesIt) {
  CloseChatWindow(os);
  EXPECT_FALSE(room.IsOpen());
  EXPECT_EQ(Messages(room.desktop.Log()), (std::vector<Sent>{{kWmClose, 0, 0}}));
}

TEST_F(ChatWindowTest, ClickWindowSendsDownAndUpWithShiftAndControl) {
  ClickWindow(os, room.buttons[0]);
  EXPECT_EQ(Messages(room.desktop.LogOf(room.buttons[0])),
            (std::vector<Sent>{{kWmLButtonDown, 13, 0}, {kWmLButtonUp, 13, 0}}));
}

TEST(ChatWindowMissingTest, NoChatWindowMeansEmptyReadsAndNoMessages) {
  FakeChatRoom room;
  room.Close();
  const auto os = room.Os();
  EXPECT_EQ(GetTranscriptText(os), L"");
  EXPECT_EQ(GetTranscriptTail(os), L"");
  EXPECT_EQ(GetRoomName(os), L"");
  SetTranscriptText(os, L"");
  SendChatText(os, L"x");
  SendChatLine(os, L"x");
  PressSendButton(os);
  CloseChatWindow(os);
  ClickWindow(os, platform::kNoWindow);
  EXPECT_TRUE(room.desktop.Log().empty());
}

TEST(ChatWindowMissingTest, TooFewIconButtonsSendNothingRatherThanTheWrongButton) {
  for (int buttons = 0; buttons <= 4; ++buttons) {
    platform::FakeDesktop desktop;
    platform::FakeShell shell;
    platform::Latin1CodePage codePage;
    const auto chat = desktop.AddWindow(platform::kNoWindow, "aim_chatwnd");
    desktop.AddWindow(chat, "wndate32class");
    const auto inputPane = desktop.AddWindow(chat, "wndate32class");
    desktop.AddWindow(inputPane, "ate32class");
    for (int i = 0; i < buttons; ++i) desktop.AddWindow(chat, "_OSCAR_ICONBTN");
    SendChatText({desktop, shell, codePage}, L"x");
    SendChatLine({desktop, shell, codePage}, L"x");
    for (const auto& m : desktop.Log()) EXPECT_EQ(m.message, kWmSetText) << buttons;
  }
}

TEST(ChatWindowMissingTest, MissingInputPaneSendsNothing) {
  platform::FakeDesktop desktop;
  platform::FakeShell shell;
  platform::Latin1CodePage codePage;
  const auto chat = desktop.AddWindow(platform::kNoWindow, "AIM_ChatWnd");
  const auto pane = desktop.AddWindow(chat, "WndAte32Class");
  desktop.AddWindow(pane, "Ate32Class");
  for (int i = 0; i < 6; ++i) desktop.AddWindow(chat, "_oscar_iconbtn");
  SendChatText({desktop, shell, codePage}, L"x");
  EXPECT_TRUE(desktop.Log().empty());
}

TEST_F(ChatWindowTest, HungClientCountsAsMissing) {
  room.desktop.SetText(room.transcript, "<BR>hi");
  const struct {
    platform::WindowHandle hung;
    bool transcriptRead, roomNameRead, sent;
  } cases[] = {
      {room.transcript, false, true, true},
      {room.chat, true, false, true},
      {room.input, true, true, false},
      {room.sendButton(), true, true, false},
  };
  for (const auto& c : cases) {
    room.desktop.SetHung(c.hung, true);
    room.ClearSent();
    room.desktop.ClearLog();
    EXPECT_EQ(GetTranscriptText(os).empty(), !c.transcriptRead);
    EXPECT_EQ(GetRoomName(os).empty(), !c.roomNameRead);
    SendChatText(os, L"x");
    SendChatLine(os, L"x");
    EXPECT_EQ(room.Sent().size(), c.sent ? 2u : 0u);
    // Once the input does not answer, the button is not pressed either.
    if (c.hung == room.input) EXPECT_TRUE(room.desktop.LogOf(room.sendButton()).empty());
    room.desktop.SetHung(c.hung, false);
  }
  SendChatText(os, L"again");
  EXPECT_EQ(room.Sent().back(), "again");
}

TEST_F(ChatWindowTest, ButtonThatStopsAnsweringAfterTheDownGetsNoMore) {
  room.desktop.SetHook(room.sendButton(),
                       [&](const FakeDesktop::Message& m) -> std::optional<std::intptr_t> {
                         if (m.message == kWmLButtonDown)
                           room.desktop.SetHung(room.sendButton(), true);
                         return 0;
                       });
  PressSendButton(os);
  EXPECT_EQ(room.desktop.LogOf(room.sendButton()).size(), 1u);
}

}  // namespace
}  // namespace tv::aim
