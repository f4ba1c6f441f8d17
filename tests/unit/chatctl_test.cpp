#include <gtest/gtest.h>

#include "chatctl/chat.h"
#include "chatctl/line_parser.h"
#include "fake_chat_room.h"
#include "platform/fake/fake_timer.h"

namespace tv::chatctl {
namespace {

const std::wstring kOwnLine =
    L"<BR> <FONT COLOR=\"#ff0000\">Tester</FONT><!-- (1:23:45 AM) -->: <FONT "
    L"COLOR=\"#000000\">hello there</FONT>";

// From the last line mark, without the final character.
TEST(LineParserTest, LastLine) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"no mark here", L""}, {L"<BR>a<BR>bc>", L"<BR>bc"}, {L"<BR>old<br>new!", L"<br>new"},
      {L"<Br>mixed case?", L"<Br>mixed case"}, {L"x<BR>", L"<BR"}, {L"<B R>", L""}, {L"", L""},
  };
  // clang-format on
  for (const auto& [tail, line] : cases) EXPECT_EQ(GetLastLine(tail), line) << tail;
}

// The stamp is collected up to the first ")" after the first comment, or from the sixth
// character without one, and never takes the last character.
TEST(LineParserTest, TimeStamp) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> cases[] = {
      {kOwnLine, L"{1:23:45 AM}"}, {L"<BR> Tester (away) said", L"{Tester (away}"},
      {L"<BR>x<!-- (12:00:01 PM", L"{12:00:01 P}"}, {L"<BR><!-- (1:00:00 AM) --><!-- (2:00:00 AM) -->", L"{1:00:00 AM}"},
      {L"<BR><!-- (9)", L"{9}"}, {L"", L"{}"}, {L"<BR><!-- (", L"{}"},
      {L"<BR> <FONT COLOR=\"#0000ff\">x</FONT><!-- (2:00:00 PM) -->: hi.", L"{2:00:00 PM}"},
  };
  // clang-format on
  for (const auto& [line, stamp] : cases) EXPECT_EQ(ParseLine(line).datesaid, stamp) << line;
}

// Only lines with the user's colour anywhere in them count. Tags are removed ("<" swallows text up
// to the next ">", an unfinished tag the rest), entities and blanks kept, the last character never
// examined; the speaker ends at the first colon.
TEST(LineParserTest, SpeakerAndMessageOfOwnLines) {
  // clang-format off
  const std::tuple<std::wstring, std::wstring, std::wstring, std::wstring> cases[] = {
      {kOwnLine, L" Tester: hello there", L" Tester", L"hello there"},
      {L"<BR> <FONT COLOR=\"#0000ff\">Other</FONT>: hi</FONT>", L"", L"", L""},
      {L"<BR> <FONT COLOR=\"#FF0000\">Other</FONT>: hi</FONT>", L"", L"", L""},
      {L"<BR> <FONT COLOR=\"#0000ff\">Other</FONT>: #ff0000 hi!", L" Other: #ff0000 hi", L" Other", L"#ff0000 hi"},
      {L"<BR>#ff0000 a>b<c d>e!", L"#ff0000 abe", L"", L"ff0000 abe"},
      {L"<BR>#ff0000 ab<font", L"#ff0000 ab", L"", L"ff0000 ab"},
      {L"<BR>#ff0000 ab<x>", L"#ff0000 ab", L"", L"ff0000 ab"}, {L"#ff0000", L"#ff000", L"", L"ff000"},
      {L"<BR>#ff0000  &lt;b&gt;  .", L"#ff0000  &lt;b&gt;  ", L"", L"ff0000  &lt;b&gt;  "},
      {L"<BR>#ff0000 x: a: b:c.", L"#ff0000 x: a: b:c", L"#ff0000 x", L"a: b:c"},
      {L"<BR> #ff0000:!", L" #ff0000:", L" #ff0000", L""}, {L"<BR> #ff0000: !", L" #ff0000: ", L" #ff0000", L""},
  };
  // clang-format on
  for (const auto& [line, stripped, who, what] : cases) {
    EXPECT_EQ(StripLineMarkup(line), stripped) << line;
    const ChatLine parsed = ParseLine(line);
    EXPECT_EQ(parsed.whosaid + L"|" + parsed.whatsaid, who + L"|" + what) << line;
  }
}

class ChatScannerTest : public ::testing::Test {
 protected:
  ChatScannerTest() {
    chat.SetScanHandler([this](ChatLine& line) {
      events.push_back(line.whosaid + L"|" + line.whatsaid + L"|" + line.datesaid);
    });
  }
  // Ticks `count` times and returns the lines they reported.
  std::vector<std::wstring> Tick(int count = 1) {
    events.clear();
    for (int i = 0; i < count; ++i) chat.chat_tymer_Timer();
    return events;
  }
  using Seen = std::vector<std::wstring>;
  testing::FakeChatRoom room;
  platform::FakeTimer timer;
  Chat chat{room.Os(), timer};
  std::vector<std::wstring> events;
};

TEST_F(ChatScannerTest, ReportsEachNewestLineOnceWhileScanning) {
  room.SayAsUser("old");  // said before the start: never reported
  chat.scan_on();
  EXPECT_EQ(timer.period, std::chrono::milliseconds(500));
  EXPECT_EQ(Tick(3), Seen{});
  room.SayAsUser("hello there");
  EXPECT_EQ(Tick(3), Seen{L" Tester|hello there|{10:00:02 AM}"});
  room.SayAsUser("first");
  room.SayAsUser("second");  // two in one interval: only the newest
  room.Say("Stranger", "/help");
  EXPECT_EQ(Tick(2), Seen{L"||{10:00:05 AM}"});  // somebody else's: no speaker, no message
  room.SayAsUser(std::string(2000, 'm'));
  EXPECT_EQ(Tick(), Seen{L"||{}"});  // its start lies before the 500-character tail
}

// A cleared transcript reports nothing; three characters without a line mark, an empty line.
TEST_F(ChatScannerTest, ShortTailsAndTheEmptyLine) {
  chat.scan_on();
  room.SayAsUser("x");
  Tick();
  const struct {
    const char* tail;
    Seen seen;
  } steps[] = {{"", {}}, {"<", {}}, {"<B", {}}, {"xyz", {L"||{}"}}, {"abc", {}}};
  for (const auto& s : steps) {
    room.desktop.SetText(room.transcript, s.tail);
    EXPECT_EQ(Tick(), s.seen) << s.tail;
  }
}

TEST_F(ChatScannerTest, ScanOffStopsAndTheSameLineIsNotReportedAgain) {
  chat.scan_on();
  room.SayAsUser("x");
  ASSERT_EQ(Tick().size(), 1u);
  chat.scan_off();
  EXPECT_FALSE(timer.running);
  const std::string transcript = room.Transcript();
  room.SayAsUser("between");
  EXPECT_EQ(Tick(), Seen{});
  chat.scan_on();
  room.desktop.SetText(room.transcript, transcript);  // back to the reported line
  EXPECT_EQ(Tick(), Seen{});
}

TEST_F(ChatScannerTest, NoChatWindowIsQuietAndALaterWindowIsPickedUp) {
  room.Close();
  chat.scan_on();
  EXPECT_EQ(Tick(2), Seen{});
  room.Open();
  room.SayAsUser("back");
  EXPECT_EQ(Tick(), Seen{L" Tester|back|{10:00:01 AM}"});
}

}  // namespace
}  // namespace tv::chatctl
