// The whole command path on any lines: each said in a fake chat room (by somebody else when it
// starts with "@"), one scanner tick each, through the interpreter and the window's model. A line
// parses into a speaker without ":" and one braced stamp; it gets one reply at most, starting with
// "["; with sends off only the ungated replies go out; a reply that comes back is no command.

#include <algorithm>
#include <sstream>

#include "chatctl/line_parser.h"
#include "form/controls.h"
#include "fuzz_support.h"
#include "interp/interpreter.h"
#include "wired_tool.h"

namespace {

// The starts of the replies that the sends switch never withholds: the identification reply's,
// and those of the table's commands that always answer, each said once to a tool of its own.
const std::vector<std::string>& UngatedReplies() {
  static const std::vector<std::string> replies = [] {
    std::vector<std::string> starts = {"[Found User"};
    for (const tv::interp::CommandWord& command : tv::interp::Interpreter::Commands()) {
      if (command.answer != tv::interp::Answer::kAlways) continue;
      tv::testing::WiredTool tool;
      tool.state.SetUserName(L"tester");
      tool.chat.scan_on();
      tool.room.SayAsUser({command.word.begin(), command.word.end()});
      tool.chat.chat_tymer_Timer();
      starts.push_back(tool.room.Sent().at(0).substr(0, 14));
    }
    return starts;
  }();
  return replies;
}

}  // namespace

void tv::fuzz::FuzzText(const std::wstring& text) {
  testing::WiredTool tool;
  testing::FakeChatRoom& room = tool.room;
  const std::vector<std::string>& sent = room.Sent();
  std::wistringstream lines(text);
  for (std::wstring line; std::getline(lines, line);) {
    const chatctl::ChatLine parsed = chatctl::ParseLine(chatctl::GetLastLine(line));
    Check(parsed.whosaid.find(L':') == std::wstring::npos && parsed.datesaid.front() == L'{' &&
              parsed.datesaid.back() == L'}',
          "ParseLine: a ':' in whosaid, or datesaid not one braced stamp");
    if (!room.IsOpen()) room.Open();
    if (!tool.view.IsChecked(form::kCheck1)) tool.view.Click(form::kCheck1);
    const bool sendsOff = tool.state.sendsOff() && !tool.state.userName().empty();
    const std::size_t before = sent.size();
    const std::string said = room.codePage.ToAnsi(line);
    said.starts_with('@') ? room.Say("Other", said.substr(1)) : room.SayAsUser(said);
    tool.chat.chat_tymer_Timer();
    Check(sent.size() <= before + 1, "more than one reply to one line");
    if (sent.size() == before + 1) {
      const std::string& reply = sent.back();
      const bool ungated = std::ranges::any_of(
          UngatedReplies(), [&](const std::string& start) { return reply.starts_with(start); });
      Check(reply.starts_with('[') && (!sendsOff || ungated), "a reply not in [], or gated");
      // A reply that repeats the user's markup ("/join") may carry a line mark of its own; while
      // no user is known, the reply's own line names one.
      if (reply.find('<') == std::string::npos && !tool.state.userName().empty()) {
        tool.chat.chat_tymer_Timer();
        Check(sent.size() == before + 1, "a reply that came back was taken for a command");
      }
    }
    if (!tool.view.log.empty() && tool.view.log.back() == "EndProcess") return;
  }
}
