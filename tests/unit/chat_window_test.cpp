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

// A double-byte code page in the manner of 932: a byte from 0x80 on leads and takes the next
// byte with it, so trail bytes may look like lead bytes (U+4E8C) or like ASCII (U+4E41).
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
  std::size_t MaxCharSize() const override { return 2; }
  bool IsLeadByte(unsigned char byte) const override { return byte >= 0x80; }
};

// UTF-8 as the ANSI code page, decoded into UTF-16 units as Windows does; a byte that starts no
// valid sequence becomes U+FFFD.
class Utf8CodePage final : public platform::CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override {
    std::string out;
    for (const auto c : text) {  // one code point per wchar_t here; tests write no surrogates
      const auto u = static_cast<std::uint32_t>(c);
      const int extra = u < 0x80 ? 0 : u < 0x800 ? 1 : u < 0x10000 ? 2 : 3;
      constexpr unsigned kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
      out += static_cast<char>(kLead[extra] | (u >> (6 * extra)));
      for (int k = extra - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((u >> (6 * k)) & 0x3F));
    }
    return out;
  }
  std::wstring FromAnsi(std::string_view text) const override {
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
      const auto b = static_cast<unsigned char>(text[i]);
      const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
      std::uint32_t u = extra <= 0 ? b : b & (0x3Fu >> extra);
      int k = 1;
      for (; extra > 0 && k <= extra && i + k < text.size() &&
             (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
           ++k) {
        u = (u << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
      }
      if (extra < 0 || k <= extra) {
        out += L'\uFFFD';
        ++i;
        continue;
      }
      if (u >= 0x10000) {
        out += static_cast<wchar_t>(0xD800 + ((u - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((u - 0x10000) & 0x3FF));
      } else {
        out += static_cast<wchar_t>(u);
      }
      i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
  }
  std::size_t MaxCharSize() const override { return 4; }
  bool IsLeadByte(unsigned char /*byte*/) const override { return false; }
};

// Whatever the code page, the tail is the end of the whole converted transcript.
TEST_F(ChatWindowTest, TailIsTheEndOfTheWholeTextInEveryCodePage) {
  const TwoByteCodePage twoByte;
  const Utf8CodePage utf8;
  const std::wstring tester = L"<BR> <FONT COLOR=\"#ff0000\">Tester</FONT>: ";
  const struct {
    const platform::CodePage& page;
    std::wstring text;
  } cases[] = {
      {twoByte, std::wstring(700, L'\u4E2D')},
      {twoByte, L"x" + std::wstring(700, L'\u4E2D')},
      {twoByte, std::wstring(300, L'\u4E2D') + std::wstring(300, L'a')},
      {twoByte, std::wstring(10, L'\u4E2D')},
      {twoByte, std::wstring(600, L'\u4E8C') + L"ab<BR>xyz"},     // trail bytes from 0x80 on
      {twoByte, L"a" + std::wstring(600, L'\u4E41') + L"<BR>x"},  // ASCII trail bytes
      {utf8, L"<BR>" + std::wstring(200, L'a') + tester + std::wstring(380, L'\u4E2D') + L"!"},
      {utf8, L"ab" + std::wstring(700, static_cast<wchar_t>(0x1F600)) + L"<BR>x"},
      {utf8, std::wstring(501, L'\u00E9') + std::wstring(499, L'\u4E2D')},
      {platform::Latin1CodePage{}, std::wstring(900, L'\u00E9') + L"<BR>x"},
  };
  for (const auto& c : cases) {
    const platform::ChatClientOs os{room.desktop, room.shell, c.page};
    room.desktop.SetText(room.transcript, c.page.ToAnsi(c.text));
    const std::wstring whole = GetTranscriptText(os);
    EXPECT_EQ(GetTranscriptTail(os), whole.substr(whole.size() > 500 ? whole.size() - 500 : 0))
        << room.desktop.Text(room.transcript).size();
  }
}

// A control may claim any length; only sane ones are read, and reading resumes once it is sane.
TEST_F(ChatWindowTest, LyingLengthCountsAsAMissingTranscript) {
  room.desktop.SetText(room.transcript, "<BR>hi");
  std::intptr_t claimed = 0;
  room.desktop.SetHook(room.transcript, [&](const FakeDesktop::Message& m) {
    return m.message == kWmGetTextLength ? std::optional(claimed) : std::nullopt;
  });
  for (const std::intptr_t lie : {std::intptr_t{1} << 45, kMaxForeignTextLength + 1,
                                  std::intptr_t{0x7FFFFFFF}, std::intptr_t{-1}}) {
    claimed = lie;
    room.desktop.ClearLog();
    EXPECT_EQ(GetTranscriptTail(os), L"") << lie;
    EXPECT_EQ(GetTranscriptText(os), L"") << lie;
    for (const auto& m : room.desktop.Log()) EXPECT_NE(m.message, kWmGetText) << lie;
  }
  claimed = 6;
  EXPECT_EQ(GetTranscriptTail(os), L"<BR>hi");
}

TEST_F(ChatWindowTest, CopiedCountBeyondTheBufferIsCutToTheBuffer) {
  room.desktop.SetText(room.transcript, "<BR>hi");
  room.desktop.SetHook(room.transcript, [&](const FakeDesktop::Message& m) {
    return m.message == kWmGetText ? std::optional<std::intptr_t>(1 << 20) : std::nullopt;
  });
  EXPECT_EQ(GetTranscriptText(os), L"      ");  // the blank-filled buffer, never more
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
    if (c.hung == room.input) {
      EXPECT_TRUE(room.desktop.LogOf(room.sendButton()).empty());
    }
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
