#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "chatctl/chat.h"
#include "fake_chat_room.h"
#include "platform/fake/fake_timer.h"
#include "transcript_markup.h"

namespace tv::chatctl {
namespace {

// A newest line is found from the last line mark, without the tail's final character. The stamp
// is collected up to the first ")" after the first comment, or from the sixth character without
// one, and never takes the last character. Only lines with the user's colour anywhere in them have
// a speaker and a message: tags are removed ("<" swallows text up to the next ">", an unfinished
// tag the rest), the last character is never examined, and the speaker ends at the first colon.
TEST(LineParserTest, LastLineTimeStampSpeakerAndMessage) {
  // clang-format off
  const std::pair<std::wstring, std::wstring> last[] = {
      {L"no mark here", L""}, {L"<BR>old<br>new!", L"<br>new"}, {L"x<BR>", L"<BR"},
  };
  // clang-format on
  for (const auto& [tail, line] : last) EXPECT_EQ(GetLastLine(tail), line) << tail;
  // clang-format off
  const std::pair<std::wstring, std::wstring> stamps[] = {
      {L"<BR> <FONT COLOR=\"#0000ff\">x</FONT><!-- (2:00:00 PM) -->: hi.", L"{2:00:00 PM}"},
      {L"<BR> Tester (away) said", L"{Tester (away}"}, {L"<BR>x<!-- (12:00:01 PM", L"{12:00:01 P}"},
      {L"<BR><!-- (1:00:00 AM) --><!-- (2:00:00 AM) -->", L"{1:00:00 AM}"}, {L"<BR><!-- (9)", L"{9}"},
  };
  // clang-format on
  for (const auto& [line, stamp] : stamps) EXPECT_EQ(ParseLine(line).datesaid, stamp) << line;
  // clang-format off
  const std::pair<std::wstring, std::wstring> said[] = {  // speaker|message
      {L"<BR> <FONT COLOR=\"#ff0000\">Tester</FONT>: hi</FONT>", L" Tester|hi"}, {L"<BR> #ff0000:!", L" #ff0000|"},
      {L"<BR> <FONT COLOR=\"#FF0000\">Ann</FONT>: hi</FONT>", L"|"}, {L"<BR>#ff0000 a>b<c d>e!", L"|ff0000 abe"},
      {L"<BR> Ann: #ff0000 hi!", L" Ann|#ff0000 hi"}, {L"<BR>#ff0000 ab<x>", L"|ff0000 ab"},
      {L"<BR>#ff0000 x: a: b:c.", L"#ff0000 x|a: b:c"},
  };
  // clang-format on
  for (const auto& [line, text] : said)
    EXPECT_EQ(ParseLine(line).whosaid + L"|" + ParseLine(line).whatsaid, text) << line;
}

class ChatScannerTest : public ::testing::Test {
 protected:
  ChatScannerTest() {
    chat.SetScanHandler([&](ChatLine& l) {
      seen += verbose ? l.whosaid + L"|" + l.whatsaid + L"|" + l.datesaid : l.whatsaid + L" ";
    });
  }
  std::wstring Tick(int count = 1) {
    seen.clear();
    for (int i = 0; i < count; ++i) chat.chat_tymer_Timer();
    return seen;
  }
  // Each step: a change, then ticks, what they report, and how many whole reads of the
  // transcript they make (-1: any). Only a whole read asks the length in ANSI, which under Wine
  // copies the whole text too.
  using Step = std::tuple<std::function<void()>, int, std::wstring, int>;
  void Run(const std::vector<Step>& steps) {
    for (int step = 0; const auto& [change, ticks, reported, wholeReads] : steps) {
      change();
      room.desktop.ClearLog();
      EXPECT_EQ(Tick(ticks), reported) << ++step;
      const auto whole = [](const auto& m) {
        return m.message == platform::kWmGetText && m.wParam > aim::kWitnessHeadLength + 1;
      };
      const auto ansiLength = [](const auto& m) {
        return m.message == platform::kWmGetTextLength && !m.wide;
      };
      if (wholeReads < 0) continue;
      EXPECT_EQ(std::ranges::count_if(room.desktop.Log(), whole), wholeReads) << step;
      EXPECT_EQ(std::ranges::count_if(room.desktop.Log(), ansiLength), wholeReads) << step;
    }
  }

  testing::FakeChatRoom room;
  platform::FakeTimer timer;
  Chat chat{room.Os(), timer};
  std::wstring seen;
  bool verbose = false;
};

// One session in a room: each tick reports the transcript's newest line at most once, as
// "speaker|message|{stamp}".
TEST_F(ChatScannerTest, ReportsEachNewestLineOnceWhileScanning) {
  verbose = true;
  room.SayAsUser("old");  // said before the start: never reported
  chat.scan_on();
  EXPECT_EQ(timer.period, std::chrono::milliseconds(500));
  EXPECT_EQ(Tick(3), L"");
  room.SayAsUser("hello there");
  EXPECT_EQ(Tick(3), L" Tester|hello there|{10:00:02 AM}");
  // A cleared transcript reports nothing; three characters without a line mark, an empty line.
  for (const auto& [tail, reported] : {std::pair{"", L""}, {"<B", L""}, {"xyz", L"||{}"}}) {
    room.desktop.SetText(room.transcript, tail);
    EXPECT_EQ(Tick(), reported) << tail;
  }
  room.SayAsUser("first");
  room.SayAsUser("second");  // two in one interval: only the newest
  room.Say("Stranger", "/help");
  EXPECT_EQ(Tick(2), L"||{10:00:05 AM}");  // somebody else's: no speaker, no message
  chat.scan_off();
  EXPECT_FALSE(timer.running);
  room.SayAsUser("between");
  EXPECT_EQ(Tick(), L"");
  chat.scan_on();  // said before scanning began: never reported
  EXPECT_EQ(Tick(), L"");
  room.SayAsUser(std::string(2000, 'm'));
  EXPECT_EQ(Tick(), L"||{}");  // its start lies before the 500-character tail
  room.Close();
  EXPECT_EQ(Tick(2), L"");
  room.Open();  // a later chat window is picked up
  EXPECT_EQ(Tick(), L"");
  room.SayAsUser("back");
  EXPECT_EQ(Tick(), L" Tester|back|{10:00:08 AM}");
}

// Several rooms, the one in front changing: a line is reported once, in the room where it was
// said, and coming back to a room repeats nothing. A room counts only lines said after the scanner
// first read it: one that hung when scanning began, one opened later, one already open.
TEST_F(ChatScannerTest, KeepsWhatItSawOfEachRoomApart) {
  const platform::WindowHandle a = room.chat;
  platform::WindowHandle b = platform::kNoWindow;
  room.SayAsUser("/end");  // said before scanning began, while the room hangs
  room.desktop.SetHung(room.transcript, true);
  chat.scan_on();
  Run({
      {[&] { room.desktop.SetHung(room.transcript, false); }, 2, L"", -1},
      {[&] { room.SayAsUser("/hide"); }, 2, L"/hide ", -1},
      {[&] { room.Open("Chat Room: B"), b = room.chat, room.SayAsUser("/before"); }, 2, L"", -1},
      {[&] { room.SayAsUser("/show"); }, 2, L"/show ", -1},
      {[&] { room.Front(a); }, 2, L"", -1},
      {[&] { room.Front(b), room.SayAsUser("/in B"), room.Front(a), room.SayAsUser("/in A"); }, 2,
       L"/in A ", -1},
      {[&] { room.Front(b); }, 2, L"/in B ", -1},
      {[&] { room.Front(a), room.Front(b); }, 2, L"", -1},
      {[&] { chat.scan_off(), room.SayAsUser("/off"), chat.scan_on(); }, 2, L"", -1},
      {[&] { room.Front(a); }, 2, L"", -1},
  });
}

// A transcript is read whole only when its control, its length or its head may have changed since
// the last whole read, and at least every kTicksBetweenFullReads ticks. So every change a chat
// client makes (a line added, the oldest trimmed at the cap, a clear) shows at the next tick, and
// a rewrite that keeps the length and the head at the forced read.
TEST_F(ChatScannerTest, ReadsTheTranscriptWholeOnlyWhenItMayHaveChanged) {
  const auto line = [](const char* message) {
    return roomsim::FormatLine("Tester", message, true, "10:00:00 AM");
  };
  const std::string a = line("/aaa"), b = line("/bbb"), c = line("/ccc");
  const auto set = [&](const std::string& text) { room.desktop.SetText(room.transcript, text); };
  const platform::WindowHandle lobby = room.chat;
  chat.scan_on();
  Run({
      {[&] { set(a + b); }, 1, L"/bbb ", 1},
      {[] {}, kTicksBetweenFullReads - 1, L"", 0},
      {[&] { set(b + a); }, 1, L"/aaa ", 1},      // the oldest trimmed, a line added: same length
      {[&] { set(""), set(c + a); }, 1, L"", 1},  // cleared, then as long again: same newest
      {[&] { set(c + b); }, kTicksBetweenFullReads - 1, L"", 0},  // rewritten: same length, head
      {[] {}, 1, L"/bbb ", 1},                                    // the forced read
      {[&] { room.Open("Chat Room: B"), set(c + c); }, 1, L"", 1},
      {[&] { room.Front(lobby); }, 1, L"", 1},  // back: the same length and head
      {[&] { set(c + b + a); }, 1, L"/aaa ", 1},
  });
}

}  // namespace
}  // namespace tv::chatctl
