#include "interp/interpreter.h"

#include <algorithm>
#include <variant>

#include "aim/chat_window.h"
#include "aim/room_link.h"
#include "common/number.h"
#include "interp/markup.h"
#include "interp/words.h"
#include "model/room_lines.h"

namespace tv::interp {
namespace {

// How a command word is found in a line.
enum class Match {
  kMessage,       // it is M, the whole message normalised and without markup
  kFirstOfTwo,    // it is the first of at most two words of the message as typed
  kFirstOfThree,  // it is the first of at most three words
};

// A whole-message command's handler takes no input, a word command's takes the words.
template <typename Commands>
constexpr bool HandlersFitTheirMatch(const Commands& commands) {
  return std::ranges::all_of(commands, [](const auto& command) {
    return (command.match == Match::kMessage) == (command.handler.index() == 0);
  });
}

}  // namespace

const std::wstring_view Interpreter::kHelpText =
    L"[Tavik Varrow V.2][Join Chat Room = '/join chatroom ex', Close Window = '/x', Rejoin = "
    L"'/rj ex', Chat Scan Off = '/disable', Clear = '/clear', Show = '/show', Hide = '/hide', End "
    L"= '/end', More Options = '/more']";

const std::wstring_view Interpreter::kMoreText =
    L"[More Options... Clear Timer(m) = '/ct #', Clear Timer Off = '/ctoff', Chat Send On = "
    L"'/cson', Chat Send Off = '/csoff'  System Info = /sysinfo]";

struct Interpreter::Command {
  CommandWord said;
  Match match;
  std::variant<void (Interpreter::*)(), void (Interpreter::*)(const Words&)> handler;
};

constexpr Interpreter::Command Interpreter::kCommands[] = {
    {{L"/help", Answer::kAlways}, Match::kMessage, &Interpreter::Help},
    {{L"/more", Answer::kAlways}, Match::kMessage, &Interpreter::More},
    {{L"/x", Answer::kNothing}, Match::kMessage, &Interpreter::CloseWindow},
    {{L"/rj", Answer::kNothing}, Match::kFirstOfTwo, &Interpreter::Rejoin},
    {{L"/join", Answer::kGated}, Match::kFirstOfThree, &Interpreter::Join},
    {{L"/end", Answer::kGated}, Match::kMessage, &Interpreter::End},
    {{L"/disable", Answer::kGated}, Match::kMessage, &Interpreter::Disable},
    {{L"/clear", Answer::kGated}, Match::kMessage, &Interpreter::Clear},
    {{L"/hide", Answer::kGated}, Match::kMessage, &Interpreter::Hide},
    {{L"/show", Answer::kGated}, Match::kMessage, &Interpreter::Show},
    {{L"/sysinfo", Answer::kAlways}, Match::kMessage, &Interpreter::SystemInfo},
    {{L"/ct", Answer::kGated}, Match::kFirstOfThree, &Interpreter::ClearTimer},
    {{L"/ctoff", Answer::kGated}, Match::kMessage, &Interpreter::ClearTimerOff},
    {{L"/cson", Answer::kAlways}, Match::kMessage, &Interpreter::SendsOn},
    {{L"/csoff", Answer::kAlways}, Match::kMessage, &Interpreter::SendsOff},
};
std::span<const CommandWord> Interpreter::Commands() {
  static_assert(HandlersFitTheirMatch(kCommands));
  static const std::vector<CommandWord> words = [] {
    std::vector<CommandWord> out;
    for (const Command& command : kCommands) out.push_back(command.said);
    return out;
  }();
  return words;
}

Interpreter::Interpreter(platform::ChatClientOs os, chatctl::Chat& chat, model::ToolState& state,
                         model::WindowCommands& window)
    : chatOs_(os), chat_(chat), state_(state), window_(window) {}

void Interpreter::chat_aimchatscan(const chatctl::ChatLine& line) {
  const std::wstring m = RemoveHTML(Normalise(line.whatsaid));
  // The scanner leaves the blank that precedes the name in the transcript.
  const std::wstring speaker = line.whosaid.substr(std::min<std::size_t>(line.whosaid.size(), 1));
  if (state_.userName().empty()) {
    // The line that names the user is never a command.
    chat_.SendChat(L"[Found User '" + speaker + L"']");
    state_.SetUserName(Normalise(speaker));
    return;
  }
  if (Normalise(speaker) != state_.userName()) return;
  RunCommands(line.whatsaid, m);
}

// A line of the user's is tested against each command in turn, and the first whose word it carries
// acts. No line carries two: the message commands' words differ, the word commands' first words
// differ, and none of them is a message command's word.
void Interpreter::RunCommands(const std::wstring& typed, const std::wstring& m) {
  for (const Command& command : kCommands) {
    running_ = &command;
    if (command.match == Match::kMessage) {
      if (m != command.said.word) continue;
      (this->*std::get<0>(command.handler))();
      return;
    }
    const Words words = SplitWords(typed, command.match == Match::kFirstOfTwo ? 2 : 3);
    if (words[0] != command.said.word) continue;
    (this->*std::get<1>(command.handler))(words);
    return;
  }
}

void Interpreter::Say(const std::wstring& text) {
  if (running_->said.answer == Answer::kGated && state_.sendsOff()) return;
  aim::SendChatText(chatOs_, text);
}

void Interpreter::Help() { Say(std::wstring(kHelpText)); }

void Interpreter::More() { Say(std::wstring(kMoreText)); }

void Interpreter::CloseWindow() { aim::CloseChatWindow(chatOs_); }

void Interpreter::Rejoin(const Words& words) {
  if (words.size() < 2 || !IsNumber(words[1])) return;
  // The name can only be read while the window is still open.
  const std::wstring room = aim::GetRoomName(chatOs_);
  // A room that no link can name stays open: closed, it could not be joined again.
  if (!aim::RoomLink(room, words[1], chatOs_.codePage)) return;
  aim::CloseChatWindow(chatOs_);
  aim::JoinRoom(chatOs_, room, words[1]);
}

void Interpreter::Join(const Words& words) {
  // No "[Joining Chat ...]" for a room that no link can name: nothing was joined.
  if (words.size() < 3 ||
      !aim::JoinRoom(chatOs_, words[1], ShortestDecimal(LeadingNumberValue(words[2])))) {
    return;
  }
  Say(L"[Joining Chat '" + words[1] + L"' Ex." + words[2] + L"]");
}

void Interpreter::End() {
  Say(L"[Ending...]");
  window_.RemoveTrayIcon();
  window_.EndProcess();
}

void Interpreter::Disable() {
  Say(L"[Chatscan Disabled]");
  window_.StopScan();
}

void Interpreter::Clear() {
  aim::SetTranscriptText(chatOs_, L"");
  Say(model::kChatCleared);
}

void Interpreter::Hide() {
  window_.SendToTray();
  Say(L"[Sent To Tray]");
}

void Interpreter::Show() {
  window_.RestoreFromTray();
  Say(L"[Retrieved From Tray]");
}

void Interpreter::SystemInfo() { window_.SendSystemInfo(); }

// A third word is ignored: "/ct 5 now" sets 5 minutes.
void Interpreter::ClearTimer(const Words& words) {
  const std::optional<double> minutes = words.size() < 2 ? std::nullopt : NumberValue(words[1]);
  if (!minutes) return;
  if (*minutes < model::kMinClearMinutes) {
    Say(L"[Select Larger Clear Speed Or You Will Rate]");
    return;
  }
  // A period the timer cannot hold is refused like a word that is no number: accepting it would
  // show "On" with those minutes while the timer kept its old period, or never fired.
  const std::optional<std::int32_t> periodMs = model::ClearPeriodMs(*minutes);
  if (!periodMs) return;
  state_.SetClearMinutesText(words[1]);
  state_.StartClearTimer(*periodMs);
  state_.SetClearStatusText(L"On");
  Say(L"[Clear Timer Set To " + words[1] + L" Minute(s)]");
}

void Interpreter::ClearTimerOff() {
  state_.SetClearStatusText(L"Off");
  state_.SetClearMinutesText(L"0");
  state_.StopClearTimer();
  Say(L"[Clear Timer Off]");
}

void Interpreter::SendsOn() {
  state_.SetSendsText(L"On");
  state_.SetSendsOff(false);
  Say(L"[Chatsends On]");
}

void Interpreter::SendsOff() {
  state_.SetSendsText(L"Off");
  state_.SetSendsOff(true);
  Say(L"[Chatsends Off]");  // an answer always: sent although sends are now off
}

}  // namespace tv::interp
