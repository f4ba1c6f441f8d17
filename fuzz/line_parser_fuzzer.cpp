// The scanner's parsing of transcript markup on arbitrary text: GetLastLine, ExtractTimeStamp,
// StripLineMarkup and ParseLine, each held to its contract; then the same bytes as the transcript
// of a fake chat room, where one scanner tick must report exactly what the parsers make of the
// transcript's tail.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "aim/chat_window.h"
#include "chatctl/chat.h"
#include "chatctl/line_parser.h"
#include "fake_chat_room.h"
#include "fuzz_support.h"
#include "platform/fake/fake_timer.h"

namespace {

using tv::chatctl::ChatLine;
using tv::fuzz::AsciiLower;
using tv::fuzz::Check;

constexpr std::size_t kNone = std::wstring_view::npos;

bool LineMarkAt(std::wstring_view text, std::size_t at) {
  constexpr std::wstring_view kMark = L"<br>";
  if (at + kMark.size() > text.size()) return false;
  for (std::size_t k = 0; k < kMark.size(); ++k) {
    if (AsciiLower(text[at + k]) != kMark[k]) return false;
  }
  return true;
}

void CheckLastLine(std::wstring_view tail) {
  const std::wstring line = tv::chatctl::GetLastLine(tail);
  std::optional<std::size_t> last;
  for (std::size_t at = 0; at < tail.size(); ++at) {
    if (LineMarkAt(tail, at)) last = at;
  }
  if (!last) {
    Check(line.empty(), "GetLastLine: a line from a tail without <br>");
    return;
  }
  // The ">" of the mark may be the tail's last character, which is never part of the line.
  Check(line.size() >= 3 && AsciiLower(line[0]) == L'<' && AsciiLower(line[1]) == L'b' &&
            AsciiLower(line[2]) == L'r',
        "GetLastLine: the line does not start with <br");
  Check(line == tail.substr(*last, tail.size() - *last - 1),
        "GetLastLine: not the text from the last <br> up to the tail's last character");
}

void CheckTimeStamp(std::wstring_view line) {
  const std::wstring stamp = tv::chatctl::ExtractTimeStamp(line);
  const std::size_t open = line.find(L"<!-- (");
  // Without the comment the collection starts at the sixth character.
  const std::size_t start = open == kNone ? 5 : open + 6;
  Check(stamp.find(L')') == kNone, "ExtractTimeStamp: a ')' in the stamp");
  const std::size_t end = start + stamp.size();
  if (!stamp.empty()) {
    Check(end < line.size() && line.substr(start, stamp.size()) == stamp,
          "ExtractTimeStamp: not the text after the comment, or the last character taken");
  }
  Check(end + 1 >= line.size() || line[end] == L')',
        "ExtractTimeStamp: stopped before a ')' or the line's last character");
}

// What StripLineMarkup must give for a line in the user's colour: every character but the last,
// with tags and stray ">" dropped, and nothing after an unfinished tag.
std::wstring WithoutTags(std::wstring_view line) {
  std::wstring text;
  bool inTag = false;
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const wchar_t c = line[i];
    if (inTag) {
      inTag = c != L'>';
    } else if (c == L'<') {
      inTag = true;
    } else if (c != L'>') {
      text += c;
    }
  }
  return text;
}

void CheckStrip(std::wstring_view line) {
  const std::wstring text = tv::chatctl::StripLineMarkup(line);
  Check(text.find_first_of(L"<>") == kNone, "StripLineMarkup: a '<' or '>' left");
  if (line.find(L"#ff0000") == kNone) {
    Check(text.empty(), "StripLineMarkup: text from a line without #ff0000");
    return;
  }
  Check(text == WithoutTags(line), "StripLineMarkup: not the line without its tags");
}

void CheckParse(std::wstring_view line) {
  const ChatLine parsed = tv::chatctl::ParseLine(line);
  Check(parsed.datesaid == L"{" + tv::chatctl::ExtractTimeStamp(line) + L"}",
        "ParseLine: datesaid is not the braced time stamp");
  const std::wstring stripped = tv::chatctl::StripLineMarkup(line);
  const std::size_t colon = stripped.find(L':');
  Check(parsed.whosaid.find(L':') == kNone, "ParseLine: a ':' in whosaid");
  if (colon == kNone) {
    Check(parsed.whosaid.empty(), "ParseLine: whosaid without a ':'");
    Check(parsed.whatsaid == (stripped.empty() ? std::wstring() : stripped.substr(1)),
          "ParseLine: without a ':', whatsaid is not the text less its first character");
    return;
  }
  Check(parsed.whosaid == stripped.substr(0, colon), "ParseLine: whosaid is not the text to ':'");
  const std::wstring after = colon + 2 < stripped.size() ? stripped.substr(colon + 2) : L"";
  Check(parsed.whatsaid == after, "ParseLine: whatsaid is not the text from the second after ':'");
}

// The bytes as the transcript of a room (ANSI, one character per byte): one tick after scanning
// started on an empty transcript reports the parse of the tail's last line, if there is one.
void CheckScannerTick(const std::uint8_t* data, std::size_t size) {
  tv::testing::FakeChatRoom room;
  tv::platform::FakeTimer timer;
  tv::chatctl::Chat chat(room.Os(), timer);
  std::optional<ChatLine> reported;
  int reports = 0;
  chat.SetScanHandler([&](ChatLine& line) {
    reported = line;
    ++reports;
  });
  chat.scan_on();
  const std::string transcript(reinterpret_cast<const char*>(data), size);
  room.desktop.SetText(room.transcript, transcript);
  chat.chat_tymer_Timer();

  std::wstring tail = room.codePage.FromAnsi(transcript);
  if (tail.size() > tv::aim::kTranscriptTailLength) {
    tail.erase(0, tail.size() - tv::aim::kTranscriptTailLength);
  }
  const std::wstring line = tv::chatctl::GetLastLine(tail);
  // Scanning started on the empty transcript, whose last line is the empty one.
  const bool expected = tail.size() >= 3 && !line.empty();
  Check(reports == (expected ? 1 : 0), "scanner: a new last line not reported once, or an old one");
  if (!reported) return;
  const ChatLine parsed = tv::chatctl::ParseLine(line);
  Check(reported->whosaid == parsed.whosaid && reported->whatsaid == parsed.whatsaid &&
            reported->datesaid == parsed.datesaid,
        "scanner: the reported line is not the parse of the tail's last line");
  Check(chat.oldlastlyne() == line, "scanner: the reported line is not remembered");

  // The same transcript again is no new line.
  chat.chat_tymer_Timer();
  Check(reports == 1, "scanner: the same last line reported twice");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = tv::fuzz::DecodeText(data, size);
  CheckLastLine(text);
  CheckTimeStamp(text);
  CheckStrip(text);
  CheckParse(text);
  // The newest line of the text, as the scanner would go on with it.
  const std::wstring line = tv::chatctl::GetLastLine(text);
  CheckTimeStamp(line);
  CheckStrip(line);
  CheckParse(line);
  CheckScannerTick(data, size);
  return 0;
}
