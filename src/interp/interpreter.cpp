#include "interp/interpreter.h"

#include <cmath>
#include <limits>
#include <vector>

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

Interpreter::Interpreter(platform::ChatClientOs os, chatctl::Chat& chat, ToolState& state,
                         WindowCommands& window)
    : os_(os), chat_(chat), state_(state), window_(window) {
  chat_.SetScanHandler([this](chatctl::ChatLine& line) {
    chat_aimchatscan(line.whosaid, line.whatsaid, line.datesaid);
  });
}

Interpreter::~Interpreter() { chat_.SetScanHandler(nullptr); }

void Interpreter::chat_aimchatscan(std::wstring& whosaid, std::wstring& whatsaid,
                                   std::wstring& /*datesaid*/) {
  const std::wstring m = RemoveHTML(Normalise(whatsaid));
  // The scanner leaves the blank that precedes the name in the transcript.
  whosaid.erase(0, 1);
  if (state_.userName().empty()) {
    // The line that names the user is never a command.
    chat_.SendChat(L"[Found User '" + whosaid + L"']");
    state_.SetUserName(Normalise(whosaid));
    return;
  }
  if (Normalise(whosaid) != state_.userName()) return;
  RunCommands(whatsaid, m);
}

void Interpreter::RunCommands(const std::wstring& typed, const std::wstring& m) {
  static constexpr Step kCommands[] = {
      &Interpreter::Help,          &Interpreter::More,       &Interpreter::CloseWindow,
      &Interpreter::Rejoin,        &Interpreter::Join,       &Interpreter::End,
      &Interpreter::Disable,       &Interpreter::Clear,      &Interpreter::Hide,
      &Interpreter::Show,          &Interpreter::SystemInfo, &Interpreter::ClearTimer,
      &Interpreter::ClearTimerOff, &Interpreter::SendsOn,    &Interpreter::SendsOff,
  };
  for (const Step step : kCommands) {
    if ((this->*step)(typed, m) == Flow::kEnd) return;
  }
}

void Interpreter::Reply(const std::wstring& text) { aim::SendChatText(os_, text); }

// With sends off the gated reply is withheld and the handling of the line ends.
Interpreter::Flow Interpreter::GatedReply(const std::wstring& text) {
  if (state_.sendsOff()) return Flow::kEnd;
  Reply(text);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::Help(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m == L"/help") Reply(kHelpText);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::More(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m == L"/more") Reply(kMoreText);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::CloseWindow(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m == L"/x") aim::CloseChatWindow(os_);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::Rejoin(const std::wstring& typed, const std::wstring& /*m*/) {
  const std::vector<std::wstring> pieces = SplitWords(typed, 2);
  if (pieces[0] != L"/rj") return Flow::kNext;
  if (pieces.size() < 2 || !IsNumber(pieces[1])) return Flow::kEnd;
  // The name can only be read while the window is still open.
  const std::wstring room = aim::GetRoomName(os_);
  aim::CloseChatWindow(os_);
  aim::JoinRoom(os_, room, pieces[1]);
  return Flow::kNext;
}

Interpreter::Flow Interpreter::Join(const std::wstring& typed, const std::wstring& /*m*/) {
  const std::vector<std::wstring> pieces = SplitWords(typed, 3);
  if (pieces[0] != L"/join" || pieces.size() < 3) return Flow::kNext;
  aim::JoinRoom(os_, pieces[1], ShortestDecimal(LeadingNumberValue(pieces[2])));
  return GatedReply(L"[Joining Chat '" + pieces[1] + L"' Ex." + pieces[2] + L"]");
}

Interpreter::Flow Interpreter::End(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/end") return Flow::kNext;
  if (!state_.sendsOff()) Reply(L"[Ending...]");
  window_.RemoveTrayIcon();
  window_.EndProcess();
  return Flow::kEnd;
}

Interpreter::Flow Interpreter::Disable(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/disable") return Flow::kNext;
  const bool sendsOff = state_.sendsOff();
  if (!sendsOff) Reply(L"[Chatscan Disabled]");
  window_.StopScan();
  return sendsOff ? Flow::kEnd : Flow::kNext;
}

Interpreter::Flow Interpreter::Clear(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/clear") return Flow::kNext;
  aim::SetTranscriptText(os_, L"");
  return GatedReply(L"[Chat Cleared]");
}

Interpreter::Flow Interpreter::Hide(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/hide") return Flow::kNext;
  window_.mnuTray_Click();
  return GatedReply(L"[Sent To Tray]");
}

Interpreter::Flow Interpreter::Show(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/show") return Flow::kNext;
  window_.mnuShow_Click();
  return GatedReply(L"[Retrieved From Tray]");
}

Interpreter::Flow Interpreter::SystemInfo(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m == L"/sysinfo") window_.SendSystemInfo();
  return Flow::kNext;
}

Interpreter::Flow Interpreter::ClearTimer(const std::wstring& typed, const std::wstring& /*m*/) {
  // A third piece is ignored: "/ct 5 now" sets 5 minutes.
  const std::vector<std::wstring> pieces = SplitWords(typed, 3);
  if (pieces[0] != L"/ct") return Flow::kNext;
  const std::optional<double> minutes = pieces.size() < 2 ? std::nullopt : NumberValue(pieces[1]);
  if (!minutes) return Flow::kEnd;
  if (*minutes < kMinClearMinutes) {
    GatedReply(L"[Select Larger Clear Speed Or You Will Rate]");
    return Flow::kEnd;
  }
  state_.SetClearMinutesText(pieces[1]);
  // A period too long for the timer keeps the old one; the rest of the command still runs.
  state_.StartClearTimer(ClearPeriodMs(*minutes));
  state_.SetClearStatusText(L"On");
  return GatedReply(L"[Clear Timer Set To " + pieces[1] + L" Minute(s)]");
}

Interpreter::Flow Interpreter::ClearTimerOff(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/ctoff") return Flow::kNext;
  state_.SetClearStatusText(L"Off");
  state_.SetClearMinutesText(L"0");
  state_.StopClearTimer();
  return GatedReply(L"[Clear Timer Off]");
}

Interpreter::Flow Interpreter::SendsOn(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/cson") return Flow::kNext;
  state_.SetSendsText(L"On");
  state_.SetSendsOff(false);
  Reply(L"[Chatsends On]");
  return Flow::kNext;
}

Interpreter::Flow Interpreter::SendsOff(const std::wstring& /*typed*/, const std::wstring& m) {
  if (m != L"/csoff") return Flow::kNext;
  state_.SetSendsText(L"Off");
  state_.SetSendsOff(true);
  // Sent although sends are now off.
  Reply(L"[Chatsends Off]");
  return Flow::kNext;
}

}  // namespace tv::interp
