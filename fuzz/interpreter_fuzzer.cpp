// The whole command path: lines said in a fake AIM chat room, one scanner tick after each, and
// the interpreter handling what the scanner reports, with the window's model on a fake screen.
//
// The input is split into lines at "\n"; the first character of a line says who says it:
//   "@Name:message"  somebody else, in the colour of other speakers
//   "#Name:message"  somebody else, in the user's colour (as when "#ff0000" is in their markup)
//   "!markup"        raw transcript text, appended as it is
//   anything else    the local user's own line, the whole line as the message
// Somebody else's name and message lose their "<", ">" (and the name its ":"), so that the
// line cannot pass for another one; the user's lines and raw text are taken as they are.
//
// Properties: nothing crashes; a tick reports at most one reply; every reply starts with "[";
// while the user is known, a line from anybody else, or no new line, changes nothing at all;
// the line that names the user gets only the identification reply; with sends off only the
// ungated replies go out; a reply that comes back through the transcript changes nothing; the
// clear timer, the scan timer, the switches and the window's controls always agree with ToolState.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chatctl/chat.h"
#include "fake_chat_room.h"
#include "fake_form_view.h"
#include "form/controls.h"
#include "form/form1.h"
#include "form/status_labels.h"
#include "form/tool_state.h"
#include "fuzz_support.h"
#include "interp/interpreter.h"
#include "interp/words.h"
#include "platform/fake/fake_system_os.h"
#include "platform/fake/fake_timer.h"
#include "transcript_markup.h"

namespace {

using tv::chatctl::ChatLine;
using tv::fuzz::Check;
using tv::interp::Normalise;

// Each tick copies the whole transcript, which grows with every line.
constexpr std::size_t kMaxLines = 100;

// Everything a handled line could change.
struct Effects {
  std::size_t sent = 0;
  std::size_t shellCalls = 0;
  std::size_t windowCalls = 0;
  bool roomOpen = false;
  std::string transcript;
  std::wstring userName;
  bool scanOn = false;
  bool scanning = false;
  bool sendsOff = false;
  std::wstring sendsText;
  std::wstring clearMinutesText;
  std::wstring clearStatusText;
  std::int32_t clearIntervalMs = 0;
  bool clearTimerOn = false;
  bool clearTimerRunning = false;
  int clearTimerStarts = 0;

  bool operator==(const Effects&) const = default;
};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The replies that go out although sends are off.
bool IsUngatedReply(std::string_view reply) {
  return StartsWith(reply, "[Tavik Varrow V.2][Join Chat Room") ||
         StartsWith(reply, "[More Options...") || StartsWith(reply, "[System Info]") ||
         reply == "[Chatsends On]" || reply == "[Chatsends Off]";
}

std::string WithoutAny(std::string_view text, std::string_view drop) {
  std::string out;
  for (const char c : text) {
    if (drop.find(c) == std::string_view::npos) out += c;
  }
  return out;
}

// The speaker as the interpreter takes it: whosaid without the blank that precedes the name.
std::wstring Speaker(const ChatLine& line) {
  return line.whosaid.size() > 1 ? line.whosaid.substr(1) : std::wstring();
}

class Session {
 public:
  Session() {
    view_.Attach(form_);
    // The interpreter's own handler, with a note of the line on the way.
    chat_.SetScanHandler([this](const ChatLine& line) {
      reported_ = line;
      interpreter_.chat_aimchatscan(line);
    });
    SwitchScanOn();
  }

  bool Ended() const { return ended_; }

  void Feed(std::string_view line) {
    if (!room_.IsOpen()) room_.Open();  // the user joins a room again
    if (!chat_.scanning()) SwitchScanOn();
    const std::optional<std::wstring> other = Append(line);
    const std::size_t sentBefore = room_.Sent().size();
    Tick(other);
    if (!ended_ && room_.Sent().size() > sentBefore) TickOnEcho();
  }

 private:
  // As the window's scan box does, less the announcement, which the input can say itself.
  void SwitchScanOn() {
    view_.SetCheck(tv::form::kCheck1, true);
    chat_.scan_on();
    state_.SetScanOn(true);
  }

  // Appends the line to the transcript; for somebody else's line, gives the speaker's name
  // normalised.
  std::optional<std::wstring> Append(std::string_view line) {
    const char kind = line.empty() ? '\0' : line.front();
    if (kind == '!') {
      room_.desktop.SetText(room_.transcript, room_.Transcript() + std::string(line.substr(1)));
      return std::nullopt;
    }
    if (kind != '@' && kind != '#') {
      room_.SayAsUser(std::string(line));
      return std::nullopt;
    }
    const std::string_view rest = line.substr(1);
    const std::size_t colon = rest.find(':');
    const std::string name = WithoutAny(rest.substr(0, colon), "<>:");
    const std::string message =
        colon == std::string_view::npos ? std::string() : WithoutAny(rest.substr(colon + 1), "<>");
    clock_ = (clock_ + 1) % 60;
    room_.desktop.SetText(
        room_.transcript,
        room_.Transcript() +
            roomsim::FormatLine(name, message, kind == '#', roomsim::FormatClock(12, 0, clock_)));
    return Normalise(room_.codePage.FromAnsi(name));
  }

  Effects Observe() const {
    Effects e;
    e.sent = room_.Sent().size();
    e.shellCalls = room_.shell.Calls().size();
    e.windowCalls = view_.log.size();
    e.roomOpen = room_.IsOpen();
    e.transcript = room_.Transcript();
    e.userName = state_.userName();
    e.scanOn = state_.scanOn();
    e.scanning = chat_.scanning();
    e.sendsOff = state_.sendsOff();
    e.sendsText = state_.sendsText();
    e.clearMinutesText = state_.clearMinutesText();
    e.clearStatusText = state_.clearStatusText();
    e.clearIntervalMs = state_.clearIntervalMs();
    e.clearTimerOn = state_.clearTimerOn();
    e.clearTimerRunning = clearTimer_.running();
    e.clearTimerStarts = clearTimer_.starts();
    return e;
  }

  void Tick(const std::optional<std::wstring>& otherSpeaker) {
    const Effects before = Observe();
    reported_.reset();
    chat_.chat_tymer_Timer();
    const Effects after = Observe();
    CheckAlways(before, after);

    const std::wstring& user = before.userName;
    const bool fromOther = !user.empty() && ((otherSpeaker && *otherSpeaker != user) ||
                                             (reported_ && Normalise(Speaker(*reported_)) != user));
    if (!reported_ || fromOther) {
      Check(after == before, "no new line, or a line from somebody else, had an effect");
      return;
    }
    if (user.empty()) {
      CheckIdentification(before, after);
      return;
    }
    if (before.sendsOff) {
      for (std::size_t i = before.sent; i < after.sent; ++i) {
        Check(IsUngatedReply(room_.Sent()[i]), "a gated reply went out with sends off");
      }
    }
  }

  // The line that names the user is no command: one reply, the new name, nothing else.
  void CheckIdentification(const Effects& before, const Effects& after) {
    const std::wstring speaker = Speaker(*reported_);
    Effects expected = before;
    expected.sent = before.sent + 1;
    expected.userName = Normalise(speaker);
    expected.transcript = after.transcript;  // the reply comes back as the user's line
    Check(after == expected, "the identifying line did more than name the user");
    std::string reply = room_.codePage.ToAnsi(L"[Found User '" + speaker + L"']");
    reply.resize(reply.find('\0') == std::string::npos ? reply.size() : reply.find('\0'));
    Check(room_.Sent().back() == reply, "the identification reply is not [Found User '...']");
  }

  // The reply just sent comes back through the transcript as the user's own line. A reply that
  // quotes the user's markup ("/join" repeats room and exchange) may carry a "<br>" of its own,
  // and with it a line of the user's making: only replies without a "<" are held to this.
  void TickOnEcho() {
    if (room_.Sent().back().find('<') != std::string::npos) return;
    const Effects before = Observe();
    reported_.reset();
    chat_.chat_tymer_Timer();
    const Effects after = Observe();
    CheckAlways(before, after);
    if (!before.userName.empty()) Check(after == before, "a reply that came back had an effect");
  }

  void CheckAlways(const Effects& before, const Effects& after) {
    Check(after.sent >= before.sent && after.windowCalls >= before.windowCalls, "a record shrank");
    std::size_t replies = after.sent - before.sent;
    bool removedTray = false;
    for (std::size_t i = before.windowCalls; i < after.windowCalls; ++i) {
      const std::string_view call = view_.log[i];
      if (call == "EndProcess") {
        Check(removedTray && i + 1 == after.windowCalls,
              "the process ended without removing the tray icon first, or went on after");
        ended_ = true;
      }
      removedTray = call == "RemoveTrayIcon";
    }
    Check(replies <= 1, "more than one reply to one line");
    for (std::size_t i = before.sent; i < after.sent; ++i) {
      Check(StartsWith(room_.Sent()[i], "["), "a reply that does not start with [");
    }
    Check(after.shellCalls - before.shellCalls <= 1, "more than one room opened for one line");
    Check(after.clearTimerRunning == (after.clearTimerOn && after.clearIntervalMs > 0),
          "the clear timer runs against ToolState");
    Check(!after.clearTimerRunning ||
              clearTimer_.period() == std::chrono::milliseconds(after.clearIntervalMs),
          "the clear timer's period is not clearIntervalMs");
    Check(after.scanOn == after.scanning && scanTimer_.running() == after.scanning,
          "the scan switch, the scanner and its timer disagree");
    Check(after.sendsText == (after.sendsOff ? L"Off" : L"On"),
          "the sends label disagrees with the sends switch");
    Check(view_.IsChecked(tv::form::kCheck1) == after.scanOn &&
              view_.IsChecked(tv::form::kCheck2) == after.sendsOff &&
              view_.Text(tv::form::kText1) == after.userName &&
              view_.Text(tv::form::kChatsendlbl) == after.sendsText,
          "the window's controls disagree with ToolState");
  }

  tv::testing::FakeChatRoom room_;
  tv::platform::FakeTimer scanTimer_;
  tv::platform::FakeTimer clearTimer_;
  tv::chatctl::Chat chat_{room_.Os(), scanTimer_};
  tv::platform::FakeSystemOs system_;
  tv::form::ToolState state_{clearTimer_};
  tv::form::StatusLabels labels_{system_.Os()};
  tv::testing::FakeFormView view_;
  tv::form::Form1 form_{{room_.Os(), chat_, state_, labels_}, view_};
  tv::interp::Interpreter interpreter_{room_.Os(), chat_, state_, form_};
  std::optional<ChatLine> reported_;
  int clock_ = 0;
  bool ended_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Session session;
  std::size_t from = 0;
  for (std::size_t lines = 0; lines < kMaxLines && from <= input.size() && !session.Ended();
       ++lines) {
    const std::size_t end = std::min(input.find('\n', from), input.size());
    session.Feed(input.substr(from, end - from));
    from = end + 1;
  }
  return 0;
}
