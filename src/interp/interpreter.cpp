#include "interp/interpreter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

#include "aim/chat_window.h"
#include "aim/room_link.h"
#include "common/number.h"
#include "interp/markup.h"
#include "interp/words.h"

namespace tv::interp {
namespace {

constexpr wchar_t kHelpText[] =
    L"[Tavik Varrow V.2][Join Chat Room = '/join chatroom ex', Close Window = '/x', Rejoin = "
    L"'/rj ex', Chat Scan Off = '/disable', Clear = '/clear', Show = '/show', Hide = '/hide', End "
    L"= '/end', More Options = '/more']";

constexpr wchar_t kMoreText[] =
    L"[More Options... Clear Timer(m) = '/ct #', Clear Timer Off = '/ctoff', Chat Send On = "
    L"'/cson', Chat Send Off = '/csoff'  System Info = /sysinfo]";

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

std::optional<std::int32_t> ClearPeriodMs(double minutes) {
  const double ms = minutes * 60000.0;
  // Rounded by hand rather than with the floating-point environment's mode, which a loaded
  // library could have changed.
  double rounded = std::floor(ms);
  const double fraction = ms - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
  // Written so that NaN fails too.
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

Interpreter::Interpreter(platform::ChatClientOs os, chatctl::Chat& chat, form::ToolState& state,
                         form::WindowCommands& window)
    : chatOs_(os), chat_(chat), state_(state), window_(window) {}

void Interpreter::chat_aimchatscan(const chatctl::ChatLine& line) {
  const std::wstring m = RemoveHTML(Normalise(line.whatsaid));
  // The scanner leaves the blank that precedes the name in the transcript.
  const std::wstring speaker = line.whosaid.size() > 1 ? line.whosaid.substr(1) : std::wstring();
  if (state_.userName().empty()) {
    // The line that names the user is never a command.
    chat_.SendChat(L"[Found User '" + speaker + L"']");
    state_.SetUserName(Normalise(speaker));
    return;
  }
  if (Normalise(speaker) != state_.userName()) return;
  RunCommands(line.whatsaid, m);
}

struct Interpreter::Command {
  std::wstring_view word;
  Match match;
  std::variant<Flow (Interpreter::*)(), Flow (Interpreter::*)(const Words&)> handler;
};

// Every line of the user's is tested against each command in turn. After a command has acted the
// rest are still tested, unless its handler ends the line; at most one command acts on a line.
void Interpreter::RunCommands(const std::wstring& typed, const std::wstring& m) {
  static constexpr Command kCommands[] = {
      {L"/help", Match::kMessage, &Interpreter::Help},
      {L"/more", Match::kMessage, &Interpreter::More},
      {L"/x", Match::kMessage, &Interpreter::CloseWindow},
      {L"/rj", Match::kFirstOfTwo, &Interpreter::Rejoin},
      {L"/join", Match::kFirstOfThree, &Interpreter::Join},
      {L"/end", Match::kMessage, &Interpreter::End},
      {L"/disable", Match::kMessage, &Interpreter::Disable},
      {L"/clear", Match::kMessage, &Interpreter::Clear},
      {L"/hide", Match::kMessage, &Interpreter::Hide},
      {L"/show", Match::kMessage, &Interpreter::Show},
      {L"/sysinfo", Match::kMessage, &Interpreter::SystemInfo},
      {L"/ct", Match::kFirstOfThree, &Interpreter::ClearTimer},
      {L"/ctoff", Match::kMessage, &Interpreter::ClearTimerOff},
      {L"/cson", Match::kMessage, &Interpreter::SendsOn},
      {L"/csoff", Match::kMessage, &Interpreter::SendsOff},
  };
  static_assert(HandlersFitTheirMatch(kCommands));
  for (const Command& command : kCommands) {
    if (Run(command, typed, m) == Flow::kEnd) return;
  }
}

Interpreter::Flow Interpreter::Run(const Command& command, const std::wstring& typed,
                                   const std::wstring& m) {
  if (command.match == Match::kMessage) {
    return m == command.word ? (this->*std::get<0>(command.handler))() : Flow::kNext;
  }
  const Words words = SplitWords(typed, command.match == Match::kFirstOfTwo ? 2 : 3);
  return words[0] == command.word ? (this->*std::get<1>(command.handler))(words) : Flow::kNext;
}

void Interpreter::Reply(const std::wstring& text) { aim::SendChatText(chatOs_, text); }

// With sends off the gated reply is withheld and the handling of the line ends.
Interpreter::Flow Interpreter::GatedReply(const std::wstring& text) {
  if (state_.sendsOff()) return Flow::kEnd;
  Reply(text);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::Help() {
  Reply(kHelpText);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::More() {
  Reply(kMoreText);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::CloseWindow() {
  aim::CloseChatWindow(chatOs_);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::Rejoin(const Words& words) {
  if (words.size() < 2 || !IsNumber(words[1])) return Flow::kEnd;
  // The name can only be read while the window is still open.
  const std::wstring room = aim::GetRoomName(chatOs_);
  // A room that no link can name stays open: closed, it could not be joined again.
  if (!aim::RoomLink(room, words[1], chatOs_.codePage)) return Flow::kNext;
  aim::CloseChatWindow(chatOs_);
  aim::JoinRoom(chatOs_, room, words[1]);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::Join(const Words& words) {
  if (words.size() < 3) return Flow::kNext;
  // No "[Joining Chat ...]" for a room that no link can name: nothing was joined.
  if (!aim::JoinRoom(chatOs_, words[1], ShortestDecimal(LeadingNumberValue(words[2])))) {
    return Flow::kNext;
  }
  return GatedReply(L"[Joining Chat '" + words[1] + L"' Ex." + words[2] + L"]");
}

Interpreter::Flow Interpreter::End() {
  if (!state_.sendsOff()) Reply(L"[Ending...]");
  window_.RemoveTrayIcon();
  window_.EndProcess();
  return Flow::kEnd;
}

Interpreter::Flow Interpreter::Disable() {
  const bool sendsOff = state_.sendsOff();
  if (!sendsOff) Reply(L"[Chatscan Disabled]");
  window_.StopScan();
  return sendsOff ? Flow::kEnd : Flow::kNext;
}

Interpreter::Flow Interpreter::Clear() {
  aim::SetTranscriptText(chatOs_, L"");
  return GatedReply(L"[Chat Cleared]");
}

Interpreter::Flow Interpreter::Hide() {
  window_.SendToTray();
  return GatedReply(L"[Sent To Tray]");
}

Interpreter::Flow Interpreter::Show() {
  window_.RestoreFromTray();
  return GatedReply(L"[Retrieved From Tray]");
}

Interpreter::Flow Interpreter::SystemInfo() {
  window_.SendSystemInfo();
  return Flow::kNext;
}

// A third word is ignored: "/ct 5 now" sets 5 minutes.
Interpreter::Flow Interpreter::ClearTimer(const Words& words) {
  const std::optional<double> minutes = words.size() < 2 ? std::nullopt : NumberValue(words[1]);
  if (!minutes) return Flow::kEnd;
  if (*minutes < kMinClearMinutes) {
    GatedReply(L"[Select Larger Clear Speed Or You Will Rate]");
    return Flow::kEnd;
  }
  // A period the timer cannot hold is refused like a word that is no number: accepting it would
  // show "On" with those minutes while the timer kept its old period, or never fired.
  const std::optional<std::int32_t> periodMs = ClearPeriodMs(*minutes);
  if (!periodMs) return Flow::kEnd;
  state_.SetClearMinutesText(words[1]);
  state_.StartClearTimer(*periodMs);
  state_.SetClearStatusText(L"On");
  return GatedReply(L"[Clear Timer Set To " + words[1] + L" Minute(s)]");
}

Interpreter::Flow Interpreter::ClearTimerOff() {
  state_.SetClearStatusText(L"Off");
  state_.SetClearMinutesText(L"0");
  state_.StopClearTimer();
  return GatedReply(L"[Clear Timer Off]");
}

Interpreter::Flow Interpreter::SendsOn() {
  state_.SetSendsText(L"On");
  state_.SetSendsOff(false);
  Reply(L"[Chatsends On]");
  return Flow::kNext;
}

Interpreter::Flow Interpreter::SendsOff() {
  state_.SetSendsText(L"Off");
  state_.SetSendsOff(true);
  // Sent although sends are now off.
  Reply(L"[Chatsends Off]");
  return Flow::kNext;
}

}  // namespace tv::interp
