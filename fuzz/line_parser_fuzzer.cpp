// The scanner's parsing of any transcript: the parts of the newest line keep their contracts, and
// a scanner tick over the same text reports that line once at most.

#include "chatctl/chat.h"
#include "chatctl/line_parser.h"
#include "fake_chat_room.h"
#include "fuzz_support.h"
#include "platform/fake/fake_timer.h"

void tv::fuzz::FuzzText(const std::wstring& text) {
  const std::wstring line = chatctl::GetLastLine(text);
  const chatctl::ChatLine parsed = chatctl::ParseLine(line);
  Check(parsed.whosaid.find(L':') == std::wstring::npos, "ParseLine: a ':' in whosaid");
  Check(parsed.datesaid.front() == L'{' && parsed.datesaid.back() == L'}' &&
            parsed.datesaid.find(L')') == std::wstring::npos,
        "ParseLine: datesaid is not one braced stamp");
  Check(chatctl::StripLineMarkup(line).find_first_of(L"<>") == std::wstring::npos,
        "StripLineMarkup: a '<' or '>' left");

  testing::FakeChatRoom room;
  platform::FakeTimer timer;
  chatctl::Chat chat(room.Os(), timer);
  int reports = 0;
  chat.SetScanHandler([&](const chatctl::ChatLine&) { ++reports; });
  chat.scan_on();
  room.desktop.SetText(room.transcript, room.codePage.ToAnsi(text));
  chat.chat_tymer_Timer();
  chat.chat_tymer_Timer();
  Check(reports <= 1, "scanner: the same line reported twice");
}
