#include "chatctl/line_parser.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tv::chatctl
