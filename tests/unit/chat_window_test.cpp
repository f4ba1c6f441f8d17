#include "aim/chat_window.h"

#include <gtest/gtest.h>

#include "aim/room_link.h"
#include "fake_chat_room.h"

namespace tv::aim {
namespace {

using namespace platform;  // the fake desktop and the message numbers
using testing::FakeChatRoom;
using Lines = std::vector<std::string>;

// The log as "window:message:wParam:lParam", the windows named by the room, without the buffer
// pointers of WM_SETTEXT and WM_GETTEXT.
std::string M(const char* who, unsigned message, std::uintptr_t wParam = 0, std::intptr_t l = 0) {
  return std::string(who) + ":" + std::to_string(message) + ":" + std::to_string(wParam) + ":" +
         std::to_string(l);
}
Lines Messages(const FakeChatRoom& room) {
  Lines out;
  for (const auto& m : room.desktop.Log()) {
    const char* who = m.window == room.transcript     ? "transcript"
                      : m.window == room.input        ? "input"
                      : m.window == room.chat         ? "chat"
                      : m.window == room.sendButton() ? "send"
                                                      : "other";
    const bool pointer = m.message == kWmSetText || m.message == kWmGetText;
    out.push_back(M(who, m.message, m.wParam, pointer ? 0 : m.lParam));
  }
  return out;
}

class ChatWindowTest : public ::testing::Test {
 protected:
  FakeChatRoom room;
  platform::ChatClientOs os = room.Os();
};

// Whatever the code page, the tail is the last 500 characters of the whole converted transcript.
TEST_F(ChatWindowTest, TailIsTheEndOfTheWholeTextInEveryCodePage) {
  const platform::IconvCodePage twoByte("CP932", 2, [](unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  });
  const platform::IconvCodePage utf8("UTF-8", 4);
  const std::wstring tester = L"<BR> <FONT COLOR=\"#ff0000\">Tester</FONT>: ";
  const struct {
    const platform::CodePage& page;
    std::wstring text;
  } cases[] = {
      // clang-format off
      {twoByte, std::wstring(700, L'\u4E2D')}, {twoByte, L"x" + std::wstring(700, L'\u4E2D')},
      {twoByte, std::wstring(300, L'\u4E2D') + std::wstring(300, L'a')}, {twoByte, std::wstring(10, L'\u4E2D')},
      {twoByte, std::wstring(599, L'\u4E9C') + L"ab<BR>xyz"},  // trail bytes that could lead
      {twoByte, L"a" + std::wstring(600, L'\u30BD') + L"<BR>x"},  // ASCII trail bytes
      {utf8, L"<BR>" + std::wstring(200, L'a') + tester + std::wstring(380, L'\u4E2D') + L"!"},
      {utf8, L"ab" + std::wstring(700, static_cast<wchar_t>(0x1F600)) + L"<BR>x"},
      {utf8, std::wstring(501, L'\u00E9') + std::wstring(499, L'\u4E2D')},
      {platform::IconvCodePage{}, std::wstring(900, L'\u00E9') + L"<BR>x"},
      {platform::IconvCodePage("ISO-8859-1", 0), std::wstring(600, L'a') + L"<BR>x"},  // unknown
      // clang-format on
  };
  for (const auto& c : cases) {
    const platform::ChatClientOs os{room.desktop, room.shell, c.page};
    room.desktop.SetText(room.transcript, c.page.ToAnsi(c.text));
    const std::wstring whole = GetTranscriptText(os);
    EXPECT_EQ(GetTranscriptTail(os), whole.substr(whole.size() > 500 ? whole.size() - 500 : 0))
        << room.desktop.Text(room.transcript).size();
  }
}

// A control may claim any length or copy count, and its text may change between the two
// messages: only sane lengths are read, and never more than the buffer.
TEST_F(ChatWindowTest, LyingOrChangingTranscriptIsReadWithinTheBuffer) {
  const struct {
    std::intptr_t length;                 // claimed; the text is "<BR>hi"
    std::string during;                   // the text when copied
    std::optional<std::intptr_t> copied;  // claimed; none: the truth
    std::wstring read;
    int copies;
  } cases[] = {
      // clang-format off
      {std::intptr_t{1} << 45, "<BR>hi", {}, L"", 0}, {kMaxForeignTextLength + 1, "<BR>hi", {}, L"", 0},
      {0x7FFFFFFF, "<BR>hi", {}, L"", 0}, {-1, "<BR>hi", {}, L"", 0}, {6, "<BR>hi", {}, L"<BR>hi", 2},
      {6, "<BR>hi", 1 << 20, L"      ", 2},  // the blank-filled buffer, never more
      {6, "<BR>hi<BR>two and much more", {}, L"<BR>hi", 2}, {6, "", {}, L"", 2},
      // clang-format on
  };
  for (const auto& c : cases) {
    room.desktop.SetHook(room.transcript, [&](const FakeDesktop::Message& m) {
      if (m.message == kWmGetTextLength) room.desktop.SetText(room.transcript, c.during);
      return m.message == kWmGetTextLength ? std::optional(c.length)
             : m.message == kWmGetText     ? c.copied
                                           : std::nullopt;
    });
    room.desktop.ClearLog();
    EXPECT_EQ(GetTranscriptText(os), c.read) << c.length << " " << c.during;
    EXPECT_EQ(GetTranscriptTail(os), c.read) << c.length << " " << c.during;
    EXPECT_EQ(std::ranges::count_if(room.desktop.Log(),
                                    [](const auto& m) { return m.message == kWmGetText; }),
              c.copies);
  }
}

TEST_F(ChatWindowTest, SendsSetTheInputThenClickOrPressTheFifthButtonAndOtherCallsAreOneMessage) {
  room.SayAsUser("hi");
  SetTranscriptText(os, L"");
  EXPECT_EQ(room.Transcript(), "");
  room.desktop.SetText(room.input, "half");  // the user's line, put back after each send
  SendChatText(os, L"caf\u00E9 \u4E2D");
  SendChatLine(os, L"");  // empty text is still sent
  ClickWindow(os, room.buttons[0]);
  room.desktop.SetText(room.chat, "Chat Room: my Chatters Room: 2");
  EXPECT_EQ(GetRoomName(os), L" my ters 2");  // the first word and "Room: " go wherever they stand
  CloseChatWindow(os);
  EXPECT_FALSE(room.IsOpen());
  EXPECT_EQ(room.Sent(), (Lines{"caf\xE9 ?", ""}));
  const Lines keepDraft = {M("input", kWmGetTextLength), M("input", kWmGetText, 5),
                           M("input", kWmSetText)};
  Lines expected = {M("transcript", kWmSetText)};
  for (const Lines& send :
       {Lines{M("send", kWmLButtonDown, 13), M("send", kWmLButtonUp, 13)},
        Lines{M("send", kWmLButtonDown), M("send", kWmKeyUp, 0x20), M("send", kWmLButtonUp)}}) {
    expected.insert(expected.end(), keepDraft.begin(), keepDraft.end());
    expected.insert(expected.end(), send.begin(), send.end());
    expected.push_back(M("input", kWmSetText));
  }
  for (const std::string& m :
       {M("other", kWmLButtonDown, 13), M("other", kWmLButtonUp, 13),
        M("chat", platform::kWmGetTextLength), M("chat", kWmGetText, 31), M("chat", kWmClose)}) {
    expected.push_back(m);
  }
  EXPECT_EQ(Messages(room), expected);
}

// An input that is missing, or does not answer, may be holding the user's line: nothing is sent.
TEST_F(ChatWindowTest, NoReadableInputNoPress) {
  room.desktop.SetHung(room.input, true);
  SendChatText(os, L"x");
  room.desktop.DestroyWindow(room.input);
  SendChatLine(os, L"x");
  EXPECT_TRUE(room.desktop.Log().empty());
  EXPECT_TRUE(room.Sent().empty());
}

// The link's bytes: the room and the exchange in the ANSI code page without best fit, and every
// byte outside the link's safe set percent-encoded, so that nothing pasted can end the link or add
// arguments to the handler. A name the code page cannot hold opens nothing. The link opens hidden,
// with no owner, parameters or folder.
TEST(JoinRoomTest, OpensTheLinkOfTheBytesWithEveryUnsafeOneEncoded) {
  testing::FakeChatRoom room;
  const platform::IconvCodePage cp1252("CP1252");
  const platform::IconvCodePage cp932("CP932", 2, [](unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  });
  const std::wstring lookAlikes = L"ab\uFF02\u3000--opt\u3000\uFF02cd";
  const struct {
    const platform::CodePage& page;
    std::wstring room, exchange;
    const char* link;  // after "aim:gochat?roomname="; none: refused
  } cases[] = {
      // clang-format off
      {room.codePage, L"R\u00C9SUM\u00C9 a&b?c=d", L" 4 ", "r%E9sum%E9a&b?c=d&exchange=%204%20"},
      {room.codePage, L"x\" --evil \"y\r\n", L"\"4\t", "x%22--evil%22y%0D%0A&exchange=%224%09"},
      {room.codePage, L"<a|b>^%\\#`{}[]!$'()*+,;:@/~_.-", L"4",
       "%3Ca%7Cb%3E%5E%25%5C%23%60%7B%7D%5B%5D!$'()*+,;:@/~_.-&exchange=4"},
      {cp1252, lookAlikes, L"4", nullptr}, {cp1252, L"lobby", L"\uFF14", nullptr},
      {cp932, lookAlikes, L"4", "ab%FAW%81@--opt%81@%FAWcd&exchange=4"},
      {cp932, L"\u30BD\u8868", L"4", "%83%5C%95%5C&exchange=4"},  // trail bytes "\"
      // clang-format on
  };
  Lines expected;
  for (const auto& c : cases) {
    const platform::ChatClientOs os{room.desktop, room.shell, c.page};
    EXPECT_EQ(JoinRoom(os, c.room, c.exchange), c.link != nullptr);
    if (c.link != nullptr) expected.push_back(std::string("open aim:gochat?roomname=") + c.link);
  }
  Lines opened;
  for (const auto& c : room.shell.Calls()) {
    EXPECT_TRUE(c.owner == platform::kNoWindow && !c.parameters && !c.directory &&
                c.showCommand == platform::kSwHide);
    opened.push_back(c.verb + " " + c.file);
  }
  EXPECT_EQ(opened, expected);
  EXPECT_TRUE(room.desktop.Log().empty());
}

}  // namespace
}  // namespace tv::aim
