#include "aim/chat_window.h"

#include <gtest/gtest.h>

#include "aim/room_link.h"
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
using Lines = std::vector<std::string>;

// The messages of the log as "window:message:wParam", the windows named by the room.
Lines Messages(const FakeChatRoom& room) {
  Lines out;
  for (const auto& m : room.desktop.Log()) {
    const char* who = m.window == room.transcript     ? "transcript"
                      : m.window == room.input        ? "input"
                      : m.window == room.chat         ? "chat"
                      : m.window == room.sendButton() ? "send"
                                                      : "other";
    out.push_back(std::string(who) + ":" + std::to_string(m.message) + ":" +
                  std::to_string(m.wParam));
  }
  return out;
}
std::string M(const char* who, unsigned message, std::uintptr_t wParam = 0) {
  return std::string(who) + ":" + std::to_string(message) + ":" + std::to_string(wParam);
}

class ChatWindowTest : public ::testing::Test {
 protected:
  FakeChatRoom room;
  platform::ChatClientOs os = room.Os();
};

TEST_F(ChatWindowTest, TranscriptReadsLengthThenTextWithRoomForTheNulAndTheTailIsTheLast500) {
  room.desktop.SetText(room.transcript, "<BR>na\xEFve");
  EXPECT_EQ(GetTranscriptText(os), L"<BR>na\u00EFve");
  EXPECT_EQ(Messages(room),
            (Lines{M("transcript", kWmGetTextLength), M("transcript", kWmGetText, 10)}));
  for (const auto& [transcript, tail] : std::vector<std::pair<std::string, std::wstring>>{
           {"", L""},
           {std::string(500, 'c'), std::wstring(500, L'c')},
           {std::string(300, 'a') + std::string(500, 'b'), std::wstring(500, L'b')}}) {
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

TEST_F(ChatWindowTest, ACopyThatDisagreesWithTheLengthStaysWithinTheBuffer) {
  const struct {
    std::string before, during;  // the text when asked its length, and when copied
    std::intptr_t copied;        // what the control claims it copied; -1: the truth
    std::wstring read;
  } cases[] = {
      {"<BR>hi", "<BR>hi", 1 << 20, L"      "},  // the blank-filled buffer, never more
      {"<BR>one", "<BR>one<BR>two and much more", -1, L"<BR>one"},
      {"<BR>one<BR>two", "", -1, L""},
  };
  for (const auto& c : cases) {
    room.desktop.SetText(room.transcript, c.before);
    room.desktop.SetHook(room.transcript, [&](const FakeDesktop::Message& m) {
      if (m.message == kWmGetTextLength) room.desktop.SetText(room.transcript, c.during);
      const bool lie = m.message == kWmGetText && c.copied >= 0;
      return lie ? std::optional(c.copied)
             : m.message == kWmGetTextLength
                 ? std::optional<std::intptr_t>(static_cast<std::intptr_t>(c.before.size()))
                 : std::nullopt;
    });
    EXPECT_EQ(GetTranscriptText(os), c.read) << c.before;
  }
}

TEST_F(ChatWindowTest, SendsSetTheInputThenClickOrPressTheFifthButtonAndOtherCallsAreOneMessage) {
  room.SayAsUser("hi");
  SetTranscriptText(os, L"");
  EXPECT_EQ(room.Transcript(), "");
  SendChatText(os, L"caf\u00E9 \u4E2D");
  SendChatLine(os, L"");  // empty text is still sent
  ClickWindow(os, room.buttons[0]);
  room.desktop.SetText(room.chat, "Chat Room: my Chatters 2");
  EXPECT_EQ(GetRoomName(os), L" my ters 2");  // the first word goes wherever it stands
  CloseChatWindow(os);
  EXPECT_FALSE(room.IsOpen());
  EXPECT_EQ(room.Sent(), (Lines{"caf\xE9 ?", ""}));
  EXPECT_EQ(
      Messages(room),
      (Lines{M("transcript", kWmSetText), M("input", kWmSetText), M("send", kWmLButtonDown, 13),
             M("send", kWmLButtonUp, 13), M("input", kWmSetText), M("send", kWmLButtonDown),
             M("send", kWmKeyUp, 0x20), M("send", kWmLButtonUp), M("other", kWmLButtonDown, 13),
             M("other", kWmLButtonUp, 13), M("chat", platform::kWmGetTextLength),
             M("chat", kWmGetText, 25), M("chat", kWmClose)}));
  for (const auto& [caption, name] : std::vector<std::pair<std::string, std::wstring>>{
           {"Lobby", L""}, {"", L""}, {"Room: Room: x", L"  x"}}) {
    room.Open();
    room.desktop.SetText(room.chat, caption);
    EXPECT_EQ(GetRoomName(os), name) << caption;
    room.Close();
  }
}

TEST(ChatWindowMissingTest, NoWindowTooFewButtonsOrNoInputPaneSendNothing) {
  for (const int buttons : {-1, 0, 1, 2, 3, 4, 6}) {
    platform::FakeDesktop desktop;
    platform::FakeShell shell;
    platform::Latin1CodePage codePage;
    const platform::ChatClientOs os{desktop, shell, codePage};
    if (buttons >= 0) {
      const auto chat = desktop.AddWindow(platform::kNoWindow, "aim_chatwnd");
      desktop.AddWindow(desktop.AddWindow(chat, "wndate32class"), "ate32class");
      // Six buttons but one pane: the input pane is missing.
      if (buttons < 6) desktop.AddWindow(desktop.AddWindow(chat, "WndAte32Class"), "Ate32Class");
      for (int i = 0; i < buttons; ++i) desktop.AddWindow(chat, "_OSCAR_ICONBTN");
    }
    SendChatText(os, L"x");
    SendChatLine(os, L"x");
    if (buttons < 6) PressSendButton(os);
    if (buttons < 0) {
      EXPECT_EQ(GetTranscriptText(os), L"");
      EXPECT_EQ(GetTranscriptTail(os), L"");
      EXPECT_EQ(GetRoomName(os), L"");
      SetTranscriptText(os, L"");
      CloseChatWindow(os);
      ClickWindow(os, platform::kNoWindow);
    }
    for (const auto& m : desktop.Log()) EXPECT_EQ(m.message, kWmSetText) << buttons;
    if (buttons == 6 || buttons < 0) EXPECT_TRUE(desktop.Log().empty()) << buttons;
  }
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
  // A button that stops answering after the down gets no more.
  room.desktop.SetHook(room.sendButton(), [&](const FakeDesktop::Message& m) {
    if (m.message == kWmLButtonDown) room.desktop.SetHung(room.sendButton(), true);
    return std::optional<std::intptr_t>(0);
  });
  room.desktop.ClearLog();
  PressSendButton(os);
  EXPECT_EQ(room.desktop.LogOf(room.sendButton()).size(), 1u);
}

// The link opens hidden, with no owner, parameters or folder; quotes and control characters
// would break out of the handler's command line.
TEST(JoinRoomTest, OpensTheLinkHidden) {
  const struct {
    std::wstring room, exchange;
    std::string link;
  } cases[] = {
      {L"Main Lobby", L" 4 ", "aim:gochat?roomname=mainlobby&exchange= 4 "},
      {L"a&b?c=d", L"5", "aim:gochat?roomname=a&b?c=d&exchange=5"},
      {L"R\u00C9SUM\u00C9", L"4", "aim:gochat?roomname=r\xE9sum\xE9&exchange=4"},
      {L"x\" --evil \"y", L"4\t", "aim:gochat?roomname=x%22--evil%22y&exchange=4%09"},
      {L"a\r\nb", L"\"", "aim:gochat?roomname=a%0D%0Ab&exchange=%22"},
  };
  testing::FakeChatRoom room;
  for (const auto& c : cases) JoinRoom(room.Os(), c.room, c.exchange);
  ASSERT_EQ(room.shell.Calls().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& call = room.shell.Calls()[i];
    EXPECT_EQ(call.file, cases[i].link);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.owner, platform::kNoWindow);
    EXPECT_FALSE(call.parameters || call.directory);
    EXPECT_EQ(call.showCommand, 0);
  }
  EXPECT_TRUE(room.desktop.Log().empty());
}

}  // namespace
}  // namespace tv::aim
