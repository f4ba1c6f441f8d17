// The soak: the real tool scans a real roomsim for a long session; others speak in bursts, the
// user gives every command in turn, the room is closed and reopened now and then. It counts the
// commands answered and records what the tool holds as it goes.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "common.h"
#include "holdings.h"
#include "modes.h"
#include "roomsim_client.h"
#include "soak_steps.h"
#include "support/e2e.h"

namespace wine_bench {
namespace {

using namespace std::chrono_literals;

constexpr char kSoakUser[] = "Tester";
constexpr char kSoakUserKey[] = "tester";
constexpr char kNamedUser[] = "[Found User 'Tester']";
constexpr char kRoomLink[] = "aim:gochat?roomname=Lobby&exchange=4";
constexpr const char* kSpeakers[] = {"Alice", "Bob", "Carol", "Dave"};
constexpr int kLinesPerBurst = 5;
constexpr auto kCommandPeriod = 10s;
constexpr auto kAnswerDeadline = 9s;  // settled before the next command is due
constexpr auto kPoll = 50ms;          // the clear timer must not wipe a reply unseen
constexpr auto kClearPeriod = 24s;    // "/ct 0.4"
// A command typed shortly before the clear timer fires can be wiped before the tool's tick reads
// it, or its reply before the soak sees it; such a command waits for a later burst.
constexpr auto kClearMarginBefore = 3s;
constexpr auto kClearMarginAfter = 200ms;

// A line of the user's starting with `reply` after the last `command`; anywhere when the command
// is no longer there, since then the room was emptied after it.
bool RepliedTo(const e2e::RoomLines& lines, const std::string& command, const std::string& reply) {
  return std::any_of(e2e::LastOwn(lines, command).base(), lines.end(), [&](const auto& line) {
    return line.ownLine && line.message.rfind(reply, 0) == 0;
  });
}

// What the tool holds, and when in the soak.
struct Record {
  std::string when;
  double minutes = 0;
  Holdings held;
};

class Soaker {
 public:
  Soaker(const e2e::ToolProcess& tool, std::filesystem::path linkLog, int minutes, int roomSeconds)
      : tool_(tool),
        linkLog_(std::move(linkLog)),
        length_(std::chrono::minutes(minutes)),
        roomPeriod_(std::chrono::seconds(roomSeconds)) {}

  // Runs the soak to its ending command and prints what it saw; 0 when every command was
  // answered.
  int Run();

 private:
  struct Pending {
    const Step* step;
    Clock::time_point typed;
    HWND room;          // the chat window when it was typed
    std::size_t links;  // links the room had logged then
    bool replied = false;
    bool rescanned = false;  // "Chat Scan" ticked again after "/disable"
    int namings = 0;         // lines naming the user when it was
  };
  struct Tally {
    int sent = 0;
    int answered = 0;
    std::vector<double> ms;
  };

  void Burst();
  void Type(const Step& step);
  void Check();
  void Settle(bool answered);
  bool ReopenRoom();
  void CloseAndReopenRoom();
  bool ClearTimerNear(Clock::time_point now) const;
  std::size_t Links() const { return e2e::LinksIn(linkLog_).size(); }
  Record Measure(const char* when) const;
  int Report() const;

  const e2e::ToolProcess& tool_;
  const std::filesystem::path linkLog_;
  const Clock::duration length_;
  const Clock::duration roomPeriod_;
  Clock::time_point start_;
  std::optional<Pending> pending_;
  std::map<std::string, Tally> tallies_;
  std::vector<Record> records_;
  bool clearTimerOn_ = false;
  Clock::time_point clearPhase_;  // when the clear timer was last set
  int linesSaid_ = 0;
  int linesRefused_ = 0;  // said while no room was open
  int burstsHeld_ = 0;
  int postponed_ = 0;
  int roomRestarts_ = 0;
  int roomFailures_ = 0;
};

int Soaker::Run() {
  const std::vector<const Step*> round = Round();
  const Step& ending = *Ending();
  start_ = Clock::now();
  records_.push_back(Measure("start"));
  std::size_t nextInRound = 0;
  const Step* last = nullptr;
  bool endTyped = false;
  bool settledRecorded = false;
  bool middleRecorded = false;
  auto nextCommand = start_;
  auto nextRoomRestart = start_ + roomPeriod_;
  for (int second = 0; !(endTyped && !pending_);) {
    const auto burstAt = start_ + std::chrono::seconds(second);
    std::this_thread::sleep_until(pending_ ? std::min(burstAt, Clock::now() + kPoll) : burstAt);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (pending_) Check();
    if (Clock::now() < burstAt) continue;
    // Bursts missed while the soak was busy elsewhere are not made up in a row.
    second = std::max(second + 1, static_cast<int>((Clock::now() - start_) / 1s) + 1);
    // A line of another while the tool names the user anew would be taken for the user's.
    if (pending_ && pending_->rescanned) {
      ++burstsHeld_;
    } else {
      Burst();
    }
    if (pending_ || endTyped) continue;
    const auto now = Clock::now();
    if (now >= nextRoomRestart) {
      CloseAndReopenRoom();
      nextRoomRestart += roomPeriod_;
      // The tool reads only the room's last line each tick: a command waits for the next burst,
      // after which it stays last for a while.
      continue;
    }
    if (!settledRecorded && now - start_ >= 1min) {
      records_.push_back(Measure("1 min"));
      settledRecorded = true;
    }
    if (!middleRecorded && now - start_ >= length_ / 2) {
      records_.push_back(Measure("middle"));
      middleRecorded = true;
    }
    if (now < nextCommand) continue;
    const bool ends = now - start_ >= length_ && !(last && OpensPair(*last));
    if (!ends && ClearTimerNear(now)) {
      ++postponed_;
      continue;
    }
    if (ends) records_.push_back(Measure("end"));
    last = ends ? &ending : round[nextInRound++ % round.size()];
    Type(*last);
    endTyped = ends;
    nextCommand = burstAt + kCommandPeriod;
  }
  return Report();
}

void Soaker::Burst() {
  for (int i = 0; i < kLinesPerBurst; ++i) {
    const int n = linesSaid_ + linesRefused_;
    const bool said = roomsim::client::SayAsOther(kSpeakers[n % std::size(kSpeakers)],
                                                  "line " + std::to_string(n) + " of the soak");
    (said ? linesSaid_ : linesRefused_) += 1;
  }
}

void Soaker::Type(const Step& step) {
  pending_ = Pending{&step, Clock::now(), e2e::Roomsim::ChatInFront(), Links()};
  ++tallies_[step.typed].sent;
  if (!roomsim::client::TypeAsUser(step.typed)) {
    std::fprintf(stderr, "%s: roomsim had no room to type it into\n", step.typed);
  }
}

void Soaker::Check() {
  Pending& pending = *pending_;
  const Step& step = *pending.step;
  const e2e::RoomLines lines = e2e::Lines();
  if (step.reply != nullptr && !pending.replied) {
    pending.replied = RepliedTo(lines, step.typed, step.reply);
  }
  switch (step.effect) {
    case Effect::kReply:
      return Settle(pending.replied);
    case Effect::kReplyHidden:
      return Settle(pending.replied && !IsWindowVisible(tool_.form()));
    case Effect::kReplyShown:
      return Settle(pending.replied && IsWindowVisible(tool_.form()));
    case Effect::kRoomClosed:
      if (IsWindow(pending.room)) return Settle(false);
      // The user opens the room again at once, before roomsim's linger runs out.
      if (!roomsim::client::OpenLink(kRoomLink)) ++roomFailures_;
      return Settle(true);
    case Effect::kRoomRejoined:
      return Settle(!IsWindow(pending.room) && Links() > pending.links &&
                    e2e::Roomsim::TranscriptControl() != nullptr);
    case Effect::kScanRestarted:
      if (pending.replied && !pending.rescanned) {
        pending.namings = e2e::CountOwn(lines, kNamedUser);
        pending.rescanned = tool_.Click(tv::app::kCheck1);
        return Settle(false);
      }
      return Settle(pending.rescanned && e2e::CountOwn(lines, kNamedUser) > pending.namings);
    case Effect::kEnded:
      return Settle(pending.replied && WaitForSingleObject(tool_.process(), 0) == WAIT_OBJECT_0);
  }
}

// Counts the pending command answered, or unanswered once its deadline has passed, and leaves the
// room as the next command needs it.
void Soaker::Settle(bool answered) {
  const Pending& pending = *pending_;
  const Step& step = *pending.step;
  const auto now = Clock::now();
  if (!answered && now - pending.typed < kAnswerDeadline) return;
  Tally& tally = tallies_[step.typed];
  if (answered) {
    ++tally.answered;
    tally.ms.push_back(MsSince(pending.typed));
    if (step.word == L"/ct") {
      clearTimerOn_ = true;
      clearPhase_ = now;
    } else if (step.word == L"/ctoff") {
      clearTimerOn_ = false;
    }
    // The room came anew: the tool counts only what is said there after it has looked.
    const bool roomAnew =
        step.effect == Effect::kRoomClosed || step.effect == Effect::kRoomRejoined;
    if (roomAnew && !e2e::ToolHasLooked()) ++roomFailures_;
  } else {
    const e2e::RoomLines lines = e2e::Lines();
    std::fprintf(stderr, "%s: no answer within %lld s; the room's last lines:\n", step.typed,
                 static_cast<long long>(kAnswerDeadline.count()));
    for (auto line = lines.size() > 4 ? lines.end() - 4 : lines.begin(); line != lines.end();
         ++line) {
      std::fprintf(stderr, "  %s: %s\n", line->speaker.c_str(), line->message.c_str());
    }
    // The rest of the soak needs a room and a scanning tool.
    if (e2e::Roomsim::TranscriptControl() == nullptr && !ReopenRoom()) ++roomFailures_;
    if (step.effect == Effect::kScanRestarted && !tool_.IsChecked(tv::app::kCheck1)) {
      tool_.Click(tv::app::kCheck1);
    }
  }
  pending_.reset();
}

// The room opened again on its link, and looked at by the tool before anyone speaks to it.
bool Soaker::ReopenRoom() {
  return roomsim::client::OpenLink(kRoomLink) && e2e::Roomsim::TranscriptControl() != nullptr &&
         e2e::ToolHasLooked();
}

// The user closes the room and opens it again; the shell restarts and says so to every window.
void Soaker::CloseAndReopenRoom() {
  ++roomRestarts_;
  const HWND chat = e2e::Roomsim::ChatInFront();
  const bool closed = chat != nullptr && PostMessageA(chat, WM_CLOSE, 0, 0) &&
                      e2e::WaitFor([&] { return !IsWindow(chat); }, 10s);
  const bool reopened = ReopenRoom();
  if (!closed || !reopened) ++roomFailures_;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                      SMTO_ABORTIFHUNG | SMTO_NORMAL, 5000, &ignored);
}

bool Soaker::ClearTimerNear(Clock::time_point now) const {
  if (!clearTimerOn_) return false;
  const auto sinceLast = (now - clearPhase_) % kClearPeriod;
  return sinceLast < kClearMarginAfter || kClearPeriod - sinceLast < kClearMarginBefore;
}

Record Soaker::Measure(const char* when) const {
  return {when, std::chrono::duration<double, std::ratio<60>>(Clock::now() - start_).count(),
          wine_bench::Measure(tool_.process(), tool_.pid())};
}

int Soaker::Report() const {
  std::printf("%-22s", "tool at");
  for (const Record& record : records_) std::printf(" %12s", record.when.c_str());
  std::printf("\n%-22s", "  minutes into soak");
  for (const Record& record : records_) std::printf(" %12.1f", record.minutes);
  const auto row = [&](const char* name, auto figure) {
    std::printf("\n%-22s", name);
    for (const Record& record : records_) std::printf(" %12s", figure(record.held).c_str());
  };
  const auto number = [](double value) {
    return value < 0 ? std::string("-") : std::to_string(std::lround(value));
  };
  row("working set (KB)", [&](const Holdings& h) { return number(h.workingSetKb); });
  row("private bytes (KB)", [&](const Holdings& h) { return number(h.privateKb); });
  row("handles", [&](const Holdings& h) { return number(static_cast<double>(h.handles)); });
  const bool guiAnswered = std::any_of(records_.begin(), records_.end(), [](const Record& r) {
    return r.held.gdiObjects != 0 || r.held.userObjects != 0;
  });
  if (guiAnswered) {
    row("GDI objects", [&](const Holdings& h) { return number(h.gdiObjects); });
    row("USER objects", [&](const Holdings& h) { return number(h.userObjects); });
  } else {
    std::printf("\n%-22s %s", "GDI and USER objects", "Wine does not answer (GetGuiResources: 0)");
  }
  row("windows", [&](const Holdings& h) { return number(h.windows); });
  const Holdings& last = records_.back().held;
  std::printf("\nprivate bytes from: %s\nhandles from: %s\n", last.privateSource,
              last.handleSource);
  for (const Record& record : records_) {
    if (std::string_view(record.held.handleSource) != last.handleSource) {
      std::printf("  (at %s: %s)\n", record.when.c_str(), record.held.handleSource);
    }
  }

  std::printf("\n%-14s %6s %9s %10s %8s\n", "command", "sent", "answered", "median ms", "max ms");
  int sent = 0;
  int answered = 0;
  std::string missed;
  for (const Step& step : Steps()) {
    const auto found = tallies_.find(step.typed);
    if (found == tallies_.end()) continue;
    const Tally& tally = found->second;
    sent += tally.sent;
    answered += tally.answered;
    if (tally.answered < tally.sent) {
      missed.append(" ").append(step.typed).append(" (");
      missed.append(std::to_string(tally.sent - tally.answered)).append(")");
    }
    std::printf("%-14s %6d %9d %10.0f %8.0f\n", step.typed, tally.sent, tally.answered,
                Median(tally.ms), Max(tally.ms));
  }
  std::printf("commands sent: %d, answered: %d%s%s\n", sent, answered,
              missed.empty() ? "" : "; unanswered:", missed.c_str());
  std::printf(
      "lines of others: %d said, %d while no room was open; %d bursts held while the "
      "tool named the user\n",
      linesSaid_, linesRefused_, burstsHeld_);
  std::printf(
      "commands that waited for the clear timer to pass: %d; room closed and reopened "
      "%d times (%d failed), links logged by the room: %zu\n",
      postponed_, roomRestarts_, roomFailures_, Links());
  return answered == sent && roomFailures_ == 0 ? 0 : 1;
}

}  // namespace

// Others speak in bursts, the user gives every command in turn, the room is closed and reopened
// every `roomSeconds`.
int Soak(int minutes, int roomSeconds) {
  if (minutes < 1 || roomSeconds < 1)
    return std::fprintf(stderr, "soak MINUTES [ROOM_SECONDS]\n"), 2;
  if (const std::vector<std::string> wrong = StepsAgainstTable(); !wrong.empty()) {
    std::fprintf(stderr, "the soak's steps and the tool's command table differ:\n");
    for (const std::string& line : wrong) std::fprintf(stderr, "  %s\n", line.c_str());
    return 2;
  }
  const std::filesystem::path linkLog = std::filesystem::temp_directory_path() / "soak-links.txt";
  std::error_code ignored;
  std::filesystem::remove(linkLog, ignored);  // roomsim appends
  const e2e::Roomsim room("Lobby", kSoakUser, linkLog.string());
  const e2e::ToolProcess tool;
  if (!room.started() || !tool.started() || !e2e::StartScan(tool, kSoakUser, kSoakUserKey)) {
    return std::fprintf(stderr, "start failed\n"), 1;
  }
  std::printf(
      "soak of %d min: others say %d lines a second, the user gives a command every %lld "
      "s, the room is closed and reopened every %d s\n",
      minutes, kLinesPerBurst, static_cast<long long>(kCommandPeriod.count()), roomSeconds);
  std::fflush(stdout);
  return Soaker(tool, linkLog, minutes, roomSeconds).Run();
}

}  // namespace wine_bench
