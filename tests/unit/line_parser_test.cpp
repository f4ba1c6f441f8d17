#include "chatctl/line_parser.h"

#include <gtest/gtest.h>

namespace tv::chatctl {
namespace {

const std::wstring kOwnLine =
    L"<BR> <FONT COLOR=\"#ff0000\">Tester</FONT><!-- (1:23:45 AM) -->: <FONT "
    L"COLOR=\"#000000\">hello there</FONT>";

struct LastLineCase {
  std::wstring tail;
  std::wstring line;
};

class GetLastLineTest : public ::testing::TestWithParam<LastLineCase> {};

TEST_P(GetLastLineTest, CutsFromTheLastMarkAndDropsTheFinalCharacter) {
  EXPECT_EQ(GetLastLine(GetParam().tail), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Tails, GetLastLineTest,
                         ::testing::Values(LastLineCase{L"", L""},
                                           LastLineCase{L"no mark here", L""},
                                           LastLineCase{L"<BR>a<BR>bc>", L"<BR>bc"},
                                           LastLineCase{L"<BR>old<br>new!", L"<br>new"},
                                           LastLineCase{L"<Br>mixed case?", L"<Br>mixed case"},
                                           LastLineCase{L"x<BR>", L"<BR"},
                                           LastLineCase{L"<BR>", L"<BR"},
                                           LastLineCase{L"<B R>", L""}));

struct TimeStampCase {
  std::wstring line;
  std::wstring stamp;
};

class ExtractTimeStampTest : public ::testing::TestWithParam<TimeStampCase> {};

TEST_P(ExtractTimeStampTest, CollectsUpToTheClosingParenthesis) {
  EXPECT_EQ(ExtractTimeStamp(GetParam().line), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExtractTimeStampTest,
    ::testing::Values(TimeStampCase{kOwnLine, L"1:23:45 AM"},
                      // Without the comment: from the sixth character up to the first ")".
                      TimeStampCase{L"<BR> Tester (away) said", L"Tester (away"},
                      // No ")" at all: up to, not including, the last character.
                      TimeStampCase{L"<BR>x<!-- (12:00:01 PM", L"12:00:01 P"},
                      // The first comment counts.
                      TimeStampCase{L"<BR><!-- (1:00:00 AM) --><!-- (2:00:00 AM) -->",
                                    L"1:00:00 AM"},
                      // A ")" as the last character still ends the collection before it.
                      TimeStampCase{L"<BR><!-- (9)", L"9"}, TimeStampCase{L"", L""},
                      TimeStampCase{L"<BR>", L""}, TimeStampCase{L"<BR><!-- (", L""}));

struct StripCase {
  std::wstring line;
  std::wstring stripped;
};

class StripLineMarkupTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripLineMarkupTest, RemovesTagsFromOwnLinesOnly) {
  EXPECT_EQ(StripLineMarkup(GetParam().line), GetParam().stripped);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StripLineMarkupTest,
    ::testing::Values(
        StripCase{kOwnLine, L" Tester: hello there"},
        // Somebody else's colour: nothing.
        StripCase{L"<BR> <FONT COLOR=\"#0000ff\">Other</FONT>: hi</FONT>", L""},
        // Upper-case colour does not pass; the colour anywhere in the raw line does.
        StripCase{L"<BR> <FONT COLOR=\"#FF0000\">Other</FONT>: hi</FONT>", L""},
        StripCase{L"<BR> <FONT COLOR=\"#0000ff\">Other</FONT>: #ff0000 hi!", L" Other: #ff0000 hi"},
        // A literal ">" is removed, a literal "<" swallows text up to the next ">".
        StripCase{L"<BR>#ff0000 a>b<c d>e!", L"#ff0000 abe"},
        // An unfinished tag drops the rest, and the last character is never examined.
        StripCase{L"<BR>#ff0000 ab<font", L"#ff0000 ab"},
        StripCase{L"<BR>#ff0000 ab<x>", L"#ff0000 ab"}, StripCase{L"#ff0000", L"#ff000"},
        // Entities stay encoded; white space is kept as it is.
        StripCase{L"<BR>#ff0000  &lt;b&gt;  .", L"#ff0000  &lt;b&gt;  "}, StripCase{L"", L""}));

struct SplitCase {
  std::wstring line;
  std::wstring who;
  std::wstring what;
};

class ParseLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ParseLineTest, SplitsAtTheFirstColon) {
  const ChatLine parsed = ParseLine(GetParam().line);
  EXPECT_EQ(parsed.whosaid, GetParam().who);
  EXPECT_EQ(parsed.whatsaid, GetParam().what);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseLineTest,
    ::testing::Values(SplitCase{kOwnLine, L" Tester", L"hello there"},
                      SplitCase{L"<BR>#ff0000 x: a: b:c.", L"#ff0000 x", L"a: b:c"},
                      // No colon: no speaker, the message loses its first character.
                      SplitCase{L"<BR>#ff0000 nothing.", L"", L"ff0000 nothing"},
                      // A colon at the very end: the message is empty.
                      SplitCase{L"<BR> #ff0000:!", L" #ff0000", L""},
                      SplitCase{L"<BR> #ff0000: !", L" #ff0000", L""},
                      // Not the user's colour: both empty.
                      SplitCase{L"<BR> <FONT COLOR=\"#0000ff\">x</FONT>: hi.", L"", L""}));

TEST(ParseLineTest, TimeStampIsBracedEvenOnOtherSpeakersLines) {
  EXPECT_EQ(ParseLine(kOwnLine).datesaid, L"{1:23:45 AM}");
  EXPECT_EQ(ParseLine(L"<BR> <FONT COLOR=\"#0000ff\">x</FONT><!-- (2:00:00 PM) -->: hi.").datesaid,
            L"{2:00:00 PM}");
  EXPECT_EQ(ParseLine(L"").datesaid, L"{}");
}

}  // namespace
}  // namespace tv::chatctl
