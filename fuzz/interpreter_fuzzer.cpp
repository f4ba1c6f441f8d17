// The whole command path on any lines: each said in a fake chat room (by somebody else when it
// starts with "@"), one scanner tick each, handled by the interpreter and the window's model on a
// fake screen. Every reply starts with "[", a line gets one reply at most, with sends off only the
// ungated replies go out, and a reply that comes back through the transcript is no command. Each
// line, taken as a transcript, parses into a speaker without ":" and one braced stamp.

#include <sstream>
#include <string_view>

#include "chatctl/line_parser.h"
#include "form/controls.h"
#include "fuzz_support.h"
#include "wired_tool.h"

namespace {

bool IsUngated(std::string_view reply) {
  for (const std::string_view prefix : {"[Tavik Varrow V.2][Join", "[More Options", "[System Info]",
                                        "[Chatsends O", "[Found User"}) {
    if (reply.starts_with(prefix)) return true;
  }
  return false;
}

}  // namespace

void tv::fuzz::FuzzText(const std::wstring& text) {
  testing::WiredTool tool;
  testing::FakeChatRoom& room = tool.room;
  std::wistringstream lines(text);
  for (std::wstring line; std::getline(lines, line);) {
    const chatctl::ChatLine parsed = chatctl::ParseLine(chatctl::GetLastLine(line));
    Check(parsed.whosaid.find(L':') == std::wstring::npos && parsed.datesaid.front() == L'{' &&
              parsed.datesaid.back() == L'}',
          "ParseLine: a ':' in whosaid, or datesaid not one braced stamp");
    if (!room.IsOpen()) room.Open();
    if (!tool.view.IsChecked(form::kCheck1)) tool.view.Click(form::kCheck1);
    const bool sendsOff = tool.state.sendsOff() && !tool.state.userName().empty();
    const std::size_t before = room.Sent().size();
    const std::string said = room.codePage.ToAnsi(line);
    if (said.starts_with('@')) {
      room.Say("Other", said.substr(1));
    } else {
      room.SayAsUser(said);
    }
    tool.chat.chat_tymer_Timer();
    const auto& sent = room.Sent();
    Check(sent.size() <= before + 1, "more than one reply to one line");
    if (sent.size() == before + 1) {
      Check(sent.back().starts_with('['), "a reply that does not start with [");
      Check(!sendsOff || IsUngated(sent.back()), "a gated reply went out with sends off");
      // A reply that repeats the user's markup ("/join") may carry a line mark of its own; while
      // no user is known, the reply's own line names one.
      if (sent.back().find('<') == std::string::npos && !tool.state.userName().empty()) {
        tool.chat.chat_tymer_Timer();
        Check(sent.size() == before + 1, "a reply that came back was taken for a command");
      }
    }
    if (!tool.view.log.empty() && tool.view.log.back() == "EndProcess") return;
  }
}
