// Figures of the real programs under Wine (or Windows), printed as tables; nothing is asserted.
//   wine_bench scan      one full scan tick against the bare read of the same transcript
//   wine_bench latency   time from a command entering the transcript to its reply
//   wine_bench startup   process start to the main window visible
//   wine_bench flood [SECONDS]   commands answered, memory and handles while strangers flood
//   wine_bench soak MINUTES [ROOM_SECONDS]   every command answered, and the tool's memory,
//                        handles and windows, over a long session in a busy room
//   wine_bench tick-chat-scan   ticks "Chat Scan" of a running tool
//   wine_bench set-transcript BYTES   fills the room of a running roomsim with quiet chat
// The idle cost is measured from outside (scripts/bench-wine.sh), from /proc.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/control_ids.h"
#include "chatctl/chat.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"
#include "roomsim_client.h"
#include "support/e2e.h"
#include "transcript_markup.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

class IdleTimer final : public tv::platform::Timer {
 public:
  void Start(std::chrono::milliseconds) override {}
  void Stop() override {}
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  if (values.empty()) return 0;
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

// A transcript of about `bytes` characters of ordinary chat.
std::string MakeTranscript(std::size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += roomsim::FormatLine(i % 3 == 0 ? "Tester" : "Alice",
                                "line " + std::to_string(i) + " of the benchmark transcript",
                                i % 3 == 0, roomsim::FormatClock(10, i / 60 % 60, i % 60));
  }
  return text;
}

// The bare cost of reading a transcript: WM_GETTEXTLENGTH and WM_GETTEXT, nothing else.
void BareRead(HWND transcript, std::vector<char>& buffer) {
  const LRESULT length = SendMessageA(transcript, WM_GETTEXTLENGTH, 0, 0);
  buffer.resize(static_cast<std::size_t>(length) + 1);
  SendMessageA(transcript, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
}

int Scan() {
  tv::platform::Win32Desktop desktop;
  tv::platform::Win32Shell shell;
  tv::platform::Win32CodePage codePage;
  const tv::platform::ChatClientOs os{desktop, shell, codePage};
  const e2e::Roomsim room("Lobby", "Tester");
  if (!room.started()) return std::fprintf(stderr, "roomsim did not start\n"), 1;
  const HWND pane = FindWindowExA(room.chatWindow(), nullptr, "WndAte32Class", nullptr);
  const HWND transcript = FindWindowExA(pane, nullptr, "Ate32Class", nullptr);

  std::printf("%-10s %14s %14s %8s\n", "transcript", "tick (us)", "bare read (us)", "ratio");
  for (const std::size_t size : {10'000u, 100'000u, 1'000'000u}) {
    roomsim::client::SetTranscript(MakeTranscript(size));
    IdleTimer timer;
    tv::chatctl::Chat chat(os, timer);
    int events = 0;
    chat.SetScanHandler([&](tv::chatctl::ChatLine&) { ++events; });
    chat.scan_on();
    std::vector<double> ticks, reads;
    std::vector<char> buffer;
    const int rounds = size >= 1'000'000 ? 20 : 60;
    // Alternated, each after a fresh line, so both see the same transcript and the same caches.
    for (int i = 0; i < rounds; ++i) {
      roomsim::client::TypeAsUser("benchmark line " + std::to_string(i));
      auto start = Clock::now();
      chat.chat_tymer_Timer();
      ticks.push_back(Micros(Clock::now() - start).count());
      start = Clock::now();
      BareRead(transcript, buffer);
      reads.push_back(Micros(Clock::now() - start).count());
    }
    const double tick = Median(ticks);
    const double read = Median(reads);
    std::printf("%-10zu %14.0f %14.0f %8.2f   (%d events in %d ticks)\n", size, tick, read,
                tick / read, events, rounds);
  }
  return 0;
}

// Starts scanning in a running tool and waits until it has found the user.
bool StartScan(const e2e::ToolProcess& tool) {
  return tool.Click(tv::app::kCheck1) && e2e::WaitFor([] {
           return e2e::Roomsim::Transcript().find("[Found User '") != std::string::npos;
         });
}

int Latency() {
  const e2e::Roomsim room("Lobby", "Tester");
  const e2e::ToolProcess tool;
  if (!room.started() || !tool.started()) return std::fprintf(stderr, "start failed\n"), 1;
  if (!StartScan(tool)) return std::fprintf(stderr, "the tool did not identify the user\n"), 1;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pause(0, 1000);
  std::vector<double> latencies;
  for (int i = 0; i < 50; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));  // a random moment
    roomsim::client::SetTranscript("");
    const auto typed = Clock::now();
    roomsim::client::TypeAsUser("/cson");
    if (!e2e::WaitFor(
            [&] { return e2e::Roomsim::Transcript().find("[Chatsends On]") != std::string::npos; },
            10s)) {
      return std::fprintf(stderr, "no reply to command %d\n", i), 1;
    }
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - typed).count());
  }
  std::printf("%-20s %8s %8s %8s\n", "command latency", "median", "p90", "max");
  std::printf("%-20s %8.0f %8.0f %8.0f  ms over %zu commands\n", "/cson -> reply",
              Median(latencies), Percentile(latencies, 0.9),
              *std::max_element(latencies.begin(), latencies.end()), latencies.size());
  return 0;
}

int Startup() {
  std::vector<double> times;
  for (int i = 0; i < 10; ++i) {
    const auto start = Clock::now();
    const e2e::ToolProcess tool;
    if (!tool.started()) return std::fprintf(stderr, "the tool did not start\n"), 1;
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::printf("%-20s %8s %8s %8s\n", "start-up", "median", "min", "max");
  std::printf("%-20s %8.0f %8.0f %8.0f  ms over %zu starts\n", "to window visible", Median(times),
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), times.size());
  return 0;
}

// Other speakers say 20 lines a second, in one burst each second; right after each burst the user
// gives a command, every third second ("/csoff" and "/cson" in turn). The room is emptied every
// 15 s, as the clear timer would, so that the tool's memory shows leaks rather than the room's
// ever longer text it reads each tick.
int Flood(int seconds) {
  const e2e::Roomsim room("Lobby", "Tester");
  const e2e::ToolProcess tool;
  if (!room.started() || !tool.started() || !StartScan(tool)) {
    return std::fprintf(stderr, "start failed\n"), 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(tool.form(), &pid);
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  struct Use {
    double workingSetKb = 0;
    DWORD handles = 0;  // Wine counts none for another process
  };
  const auto use = [&] {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    Use now;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
      now.workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024;
    }
    GetProcessHandleCount(process, &now.handles);
    return now;
  };
  const auto replies = [] {
    int count = 0;
    for (const roomsim::RenderedLine& line : roomsim::ParseTranscript(e2e::Roomsim::Transcript())) {
      count += line.ownLine && line.message.rfind("[Chatsends O", 0) == 0;
    }
    return count;
  };
  int commands = 0, answered = 0;
  Use settled;
  const auto start = Clock::now();
  for (int second = 0; second < seconds; ++second) {
    if (second % 15 == 0) {  // the last command came 3 s earlier: its reply is in
      answered += replies();
      roomsim::client::SetTranscript("");
    }
    for (int i = 0; i < 20; ++i) {
      roomsim::client::SayAsOther("Flood" + std::to_string(i % 4),
                                  i % 5 == 0 ? "/clear" : "line " + std::to_string(i));
    }
    if (second % 3 == 0) roomsim::client::TypeAsUser(commands++ % 2 == 0 ? "/csoff" : "/cson");
    if (second == seconds / 2) settled = use();
    std::this_thread::sleep_until(start + std::chrono::seconds(second + 1));  // the flood's pace
  }
  e2e::WaitFor([&] { return answered + replies() >= commands; }, 10s);
  answered += replies();
  const Use end = use();
  CloseHandle(process);
  std::printf("%-24s %10s %10s\n", "flood of 20 lines/s", "half-time", "end");
  std::printf("%-24s %10.0f %10.0f\n", "working set (KB)", settled.workingSetKb, end.workingSetKb);
  std::printf("%-24s %10lu %10lu\n", "handles", settled.handles, end.handles);
  std::printf("commands answered: %d of %d in %d s\n", answered, commands, seconds);
  return 0;
}

// Ticks "Chat Scan" of an already running tool, for the idle measurement made from outside.
int TickChatScan() {
  HWND check = nullptr;
  // The window is found while it is still creating its controls: wait for it to be shown.
  e2e::WaitFor([&] {
    const HWND form = FindWindowW(tv::app::kFormClassName, nullptr);
    check = form && IsWindowVisible(form) ? GetDlgItem(form, tv::app::kCheck1) : nullptr;
    return check != nullptr;
  });
  if (!check) return std::fprintf(stderr, "no running tool\n"), 1;
  SendMessageA(check, BM_CLICK, 0, 0);
  return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
}

// The room's transcript control once its chat window is complete; null while no room is open.
HWND TranscriptControl() {
  const HWND chat = FindWindowA("AIM_ChatWnd", nullptr);
  const HWND pane = chat ? FindWindowExA(chat, nullptr, "WndAte32Class", nullptr) : nullptr;
  return pane ? FindWindowExA(pane, nullptr, "Ate32Class", nullptr) : nullptr;
}

// Gives the room of a running roomsim quiet chat of about `bytes` characters, for the idle
// measurement made from outside.
int SetQuietTranscript(std::size_t bytes) {
  if (!e2e::WaitFor([] { return TranscriptControl() != nullptr; })) {
    return std::fprintf(stderr, "no room is open\n"), 1;
  }
  const std::string text = MakeTranscript(bytes);
  if (!roomsim::client::SetTranscript(text) || e2e::Roomsim::Transcript() != text) {
    return std::fprintf(stderr, "the room did not take the transcript\n"), 1;
  }
  std::printf("room transcript: %zu characters\n", text.size());
  return 0;
}

// SYSTEM_HANDLE_INFORMATION, which winternl.h leaves out.
struct SystemHandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ULONG access;
};
struct SystemHandleTable {
  ULONG count;
  SystemHandleEntry entries[1];
};

// The entries of process `pid` in the system's handle table; -1 when the table cannot be read.
long HandlesInSystemTable(DWORD pid) {
  using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const auto query = ntdll == nullptr ? nullptr
                                      : reinterpret_cast<Query>(reinterpret_cast<void*>(
                                            GetProcAddress(ntdll, "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<unsigned char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) break;
    if (status != kInfoLengthMismatch || buffer.size() >= (256u << 20)) return -1;
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  ULONG count = 0;
  std::memcpy(&count, buffer.data(), sizeof count);
  const std::size_t first = offsetof(SystemHandleTable, entries);
  if (count > (buffer.size() - first) / sizeof(SystemHandleEntry)) return -1;
  long own = 0;
  for (ULONG i = 0; i < count; ++i) {
    SystemHandleEntry entry{};
    std::memcpy(&entry, buffer.data() + first + i * sizeof entry, sizeof entry);
    own += entry.ownerPid == pid;
  }
  return own;
}

struct WindowCount {
  DWORD pid;
  int windows;
};

BOOL CALLBACK CountIfOwn(HWND window, LPARAM param) {
  auto* count = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  count->windows += owner == count->pid;
  return TRUE;
}

// EnumChildWindows goes down the whole tree.
BOOL CALLBACK CountTree(HWND window, LPARAM param) {
  CountIfOwn(window, param);
  EnumChildWindows(window, CountIfOwn, param);
  return TRUE;
}

int WindowsOf(DWORD pid) {
  WindowCount count{pid, 0};
  EnumWindows(CountTree, reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

// What the tool holds at one moment, as another process can see it.
struct Holdings {
  std::string when;
  double minutes = 0;
  double workingSetKb = -1;
  double privateKb = -1;
  const char* privateSource = "neither PrivateUsage nor PagefileUsage";
  long handles = -1;
  const char* handleSource = "neither GetProcessHandleCount nor the system's handle table";
  DWORD gdiObjects = 0;  // 0: not answered
  DWORD userObjects = 0;
  int windows = 0;
};

// How the soak sees that a command was obeyed.
enum class Answer {
  kReply,          // the reply line in the room
  kReplyHidden,    // the reply, and the window gone to the tray
  kReplyShown,     // the reply, and the window back
  kRoomClosed,     // the chat window closed
  kRoomRejoined,   // the chat window closed and opened again on a link the room logged
  kScanRestarted,  // the reply; then, "Chat Scan" ticked again, the user named anew
  kEnded,          // the reply and the process's exit
};

struct SoakCommand {
  const char* text;
  const char* word;
  const char* reply;  // how the reply line starts; null for none
  Answer answer;
};

// A round of every command but "/end", which ends the soak. "/ct 0.4" leads so that the clear
// timer runs from the start; "/ctoff" closes the round, so the next "/ct 0.4" follows it at once,
// as "/cson" follows "/csoff"; "/show" brings back what "/hide" sent to the tray.
constexpr SoakCommand kRound[] = {
    {"/ct 0.4", "/ct", "[Clear Timer Set To 0.4 Minute(s)]", Answer::kReply},
    {"/help", "/help", "[Tavik Varrow V.2][Join Chat Room", Answer::kReply},
    {"/more", "/more", "[More Options...", Answer::kReply},
    {"/x", "/x", nullptr, Answer::kRoomClosed},
    {"/rj 4", "/rj", nullptr, Answer::kRoomRejoined},
    {"/join Lobby 4", "/join", "[Joining Chat '", Answer::kReply},
    {"/disable", "/disable", "[Chatscan Disabled]", Answer::kScanRestarted},
    {"/clear", "/clear", "[Chat Cleared]", Answer::kReply},
    {"/hide", "/hide", "[Sent To Tray]", Answer::kReplyHidden},
    {"/sysinfo", "/sysinfo", "[System Info] ", Answer::kReply},
    {"/show", "/show", "[Retrieved From Tray]", Answer::kReplyShown},
    {"/csoff", "/csoff", "[Chatsends Off]", Answer::kReply},
    {"/cson", "/cson", "[Chatsends On]", Answer::kReply},
    {"/ctoff", "/ctoff", "[Clear Timer Off]", Answer::kReply},
};
constexpr SoakCommand kEndCommand{"/end", "/end", "[Ending...]", Answer::kEnded};

// The soak may not end between these and the command after them.
bool OpensPair(const SoakCommand& command) {
  return std::strcmp(command.word, "/csoff") == 0 || std::strcmp(command.word, "/ctoff") == 0;
}

constexpr char kSoakUser[] = "Tester";
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

std::vector<roomsim::RenderedLine> RoomLines() {
  return roomsim::ParseTranscript(e2e::Roomsim::Transcript());
}

int CountOwn(const std::vector<roomsim::RenderedLine>& lines, const std::string& message) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
    return line.ownLine && line.message == message;
  }));
}

// A line of the user's starting with `reply` after the last `command`; anywhere when the command
// is no longer there, since then the room was emptied after it.
bool RepliedTo(const std::vector<roomsim::RenderedLine>& lines, const std::string& command,
               const std::string& reply) {
  const auto typed = std::find_if(lines.rbegin(), lines.rend(), [&](const auto& line) {
    return line.ownLine && line.message == command;
  });
  return std::any_of(typed.base(), lines.end(), [&](const auto& line) {
    return line.ownLine && line.message.rfind(reply, 0) == 0;
  });
}

class Soak {
 public:
  Soak(const e2e::ToolProcess& tool, HANDLE process, DWORD pid, std::filesystem::path linkLog,
       int minutes, int roomSeconds)
      : tool_(tool),
        process_(process),
        pid_(pid),
        linkLog_(std::move(linkLog)),
        length_(std::chrono::minutes(minutes)),
        roomPeriod_(std::chrono::seconds(roomSeconds)) {}

  // Runs the soak to its "/end" and prints what it saw; 0 when every command was answered.
  int Run();

 private:
  struct Pending {
    const SoakCommand* command;
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
  void Type(const SoakCommand& command);
  void Check();
  void Settle(bool answered);
  void CloseAndReopenRoom();
  bool ClearTimerNear(Clock::time_point now) const;
  std::vector<std::string> Links() const;
  Holdings Measure(const char* when) const;
  int Report() const;

  const e2e::ToolProcess& tool_;
  const HANDLE process_;
  const DWORD pid_;
  const std::filesystem::path linkLog_;
  const Clock::duration length_;
  const Clock::duration roomPeriod_;
  Clock::time_point start_;
  std::optional<Pending> pending_;
  std::map<std::string, Tally> tallies_;
  std::vector<Holdings> records_;
  bool clearTimerOn_ = false;
  Clock::time_point clearPhase_;  // when the clear timer was last set
  int linesSaid_ = 0;
  int linesRefused_ = 0;  // said while no room was open
  int burstsHeld_ = 0;
  int postponed_ = 0;
  int roomRestarts_ = 0;
  int roomFailures_ = 0;
};

int Soak::Run() {
  start_ = Clock::now();
  records_.push_back(Measure("start"));
  std::size_t nextInRound = 0;
  const SoakCommand* last = nullptr;
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
    const bool ending = now - start_ >= length_ && !(last && OpensPair(*last));
    if (!ending && ClearTimerNear(now)) {
      ++postponed_;
      continue;
    }
    if (ending) records_.push_back(Measure("end"));
    last = ending ? &kEndCommand : &kRound[nextInRound++ % std::size(kRound)];
    Type(*last);
    endTyped = ending;
    nextCommand = burstAt + kCommandPeriod;
  }
  return Report();
}

void Soak::Burst() {
  for (int i = 0; i < kLinesPerBurst; ++i) {
    const int n = linesSaid_ + linesRefused_;
    const bool said = roomsim::client::SayAsOther(kSpeakers[n % std::size(kSpeakers)],
                                                  "line " + std::to_string(n) + " of the soak");
    (said ? linesSaid_ : linesRefused_) += 1;
  }
}

void Soak::Type(const SoakCommand& command) {
  pending_ = Pending{&command, Clock::now(), FindWindowA("AIM_ChatWnd", nullptr), Links().size()};
  ++tallies_[command.text].sent;
  if (!roomsim::client::TypeAsUser(command.text)) {
    std::fprintf(stderr, "%s: roomsim had no room to type it into\n", command.text);
  }
}

void Soak::Check() {
  Pending& pending = *pending_;
  const SoakCommand& command = *pending.command;
  const std::vector<roomsim::RenderedLine> lines = RoomLines();
  if (command.reply != nullptr && !pending.replied) {
    pending.replied = RepliedTo(lines, command.text, command.reply);
  }
  switch (command.answer) {
    case Answer::kReply:
      return Settle(pending.replied);
    case Answer::kReplyHidden:
      return Settle(pending.replied && !IsWindowVisible(tool_.form()));
    case Answer::kReplyShown:
      return Settle(pending.replied && IsWindowVisible(tool_.form()));
    case Answer::kRoomClosed:
      if (IsWindow(pending.room)) return Settle(false);
      // The user opens the room again at once, before roomsim's linger runs out.
      if (!roomsim::client::OpenLink(kRoomLink)) ++roomFailures_;
      return Settle(true);
    case Answer::kRoomRejoined:
      return Settle(!IsWindow(pending.room) && Links().size() > pending.links &&
                    TranscriptControl() != nullptr);
    case Answer::kScanRestarted:
      if (pending.replied && !pending.rescanned) {
        pending.namings = CountOwn(lines, kNamedUser);
        pending.rescanned = tool_.Click(tv::app::kCheck1);
        return Settle(false);
      }
      return Settle(pending.rescanned && CountOwn(lines, kNamedUser) > pending.namings);
    case Answer::kEnded:
      return Settle(pending.replied && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0);
  }
}

// Counts the pending command answered, or unanswered once its deadline has passed, and leaves the
// room as the next command needs it.
void Soak::Settle(bool answered) {
  const Pending& pending = *pending_;
  const SoakCommand& command = *pending.command;
  const auto now = Clock::now();
  if (!answered && now - pending.typed < kAnswerDeadline) return;
  Tally& tally = tallies_[command.text];
  if (answered) {
    ++tally.answered;
    tally.ms.push_back(std::chrono::duration<double, std::milli>(now - pending.typed).count());
    if (std::strcmp(command.word, "/ct") == 0) {
      clearTimerOn_ = true;
      clearPhase_ = now;
    } else if (std::strcmp(command.word, "/ctoff") == 0) {
      clearTimerOn_ = false;
    }
  } else {
    const std::vector<roomsim::RenderedLine> lines = RoomLines();
    std::fprintf(stderr, "%s: no answer within %lld s; the room's last lines:\n", command.text,
                 static_cast<long long>(kAnswerDeadline.count()));
    for (auto line = lines.size() > 4 ? lines.end() - 4 : lines.begin(); line != lines.end();
         ++line) {
      std::fprintf(stderr, "  %s: %s\n", line->speaker.c_str(), line->message.c_str());
    }
    // The rest of the soak needs a room and a scanning tool.
    if (TranscriptControl() == nullptr && !roomsim::client::OpenLink(kRoomLink)) ++roomFailures_;
    if (command.answer == Answer::kScanRestarted && !tool_.IsChecked(tv::app::kCheck1)) {
      tool_.Click(tv::app::kCheck1);
    }
  }
  pending_.reset();
}

// The user closes the room and opens it again; the shell restarts and says so to every window.
void Soak::CloseAndReopenRoom() {
  ++roomRestarts_;
  const HWND chat = FindWindowA("AIM_ChatWnd", nullptr);
  const bool closed = chat != nullptr && PostMessageA(chat, WM_CLOSE, 0, 0) &&
                      e2e::WaitFor([&] { return !IsWindow(chat); }, 10s);
  const bool reopened = roomsim::client::OpenLink(kRoomLink) && TranscriptControl() != nullptr;
  if (!closed || !reopened) ++roomFailures_;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                      SMTO_ABORTIFHUNG | SMTO_NORMAL, 5000, &ignored);
}

bool Soak::ClearTimerNear(Clock::time_point now) const {
  if (!clearTimerOn_) return false;
  const auto sinceLast = (now - clearPhase_) % kClearPeriod;
  return sinceLast < kClearMarginAfter || kClearPeriod - sinceLast < kClearMarginBefore;
}

std::vector<std::string> Soak::Links() const {
  std::ifstream log(linkLog_);
  std::vector<std::string> links;
  for (std::string line; std::getline(log, line);) {
    if (!line.empty()) links.push_back(line);
  }
  return links;
}

Holdings Soak::Measure(const char* when) const {
  Holdings now;
  now.when = when;
  now.minutes = std::chrono::duration<double, std::ratio<60>>(Clock::now() - start_).count();
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters)) {
    now.workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024;
    // Windows gives the same commit charge in both; Wine may fill only the older field.
    if (counters.PrivateUsage != 0) {
      now.privateKb = static_cast<double>(counters.PrivateUsage) / 1024;
      now.privateSource = "PrivateUsage";
    } else if (counters.PagefileUsage != 0) {
      now.privateKb = static_cast<double>(counters.PagefileUsage) / 1024;
      now.privateSource = "PagefileUsage (PrivateUsage: 0)";
    }
  }
  DWORD handles = 0;
  const BOOL counted = GetProcessHandleCount(process_, &handles);
  if (counted && handles > 0) {
    now.handles = static_cast<long>(handles);
    now.handleSource = "GetProcessHandleCount";
  } else if (const long listed = HandlesInSystemTable(pid_); listed > 0) {
    now.handles = listed;
    now.handleSource = counted
                           ? "NtQuerySystemInformation(SystemHandleInformation), the entries of "
                             "the tool's pid (GetProcessHandleCount: 0)"
                           : "NtQuerySystemInformation(SystemHandleInformation), the entries of "
                             "the tool's pid (GetProcessHandleCount failed)";
  }
  now.gdiObjects = GetGuiResources(process_, GR_GDIOBJECTS);
  now.userObjects = GetGuiResources(process_, GR_USEROBJECTS);
  now.windows = WindowsOf(pid_);
  return now;
}

int Soak::Report() const {
  std::printf("%-22s", "tool at");
  for (const Holdings& record : records_) std::printf(" %12s", record.when.c_str());
  std::printf("\n%-22s", "  minutes into soak");
  for (const Holdings& record : records_) std::printf(" %12.1f", record.minutes);
  const auto row = [&](const char* name, auto figure) {
    std::printf("\n%-22s", name);
    for (const Holdings& record : records_) std::printf(" %12s", figure(record).c_str());
  };
  const auto number = [](double value) {
    return value < 0 ? std::string("-") : std::to_string(std::lround(value));
  };
  row("working set (KB)", [&](const Holdings& r) { return number(r.workingSetKb); });
  row("private bytes (KB)", [&](const Holdings& r) { return number(r.privateKb); });
  row("handles", [&](const Holdings& r) { return number(static_cast<double>(r.handles)); });
  const bool guiAnswered = std::any_of(records_.begin(), records_.end(), [](const Holdings& r) {
    return r.gdiObjects != 0 || r.userObjects != 0;
  });
  if (guiAnswered) {
    row("GDI objects", [&](const Holdings& r) { return number(r.gdiObjects); });
    row("USER objects", [&](const Holdings& r) { return number(r.userObjects); });
  } else {
    std::printf("\n%-22s %s", "GDI and USER objects", "Wine does not answer (GetGuiResources: 0)");
  }
  row("windows", [&](const Holdings& r) { return number(r.windows); });
  std::printf("\nprivate bytes from: %s\nhandles from: %s\n", records_.back().privateSource,
              records_.back().handleSource);
  for (const Holdings& record : records_) {
    if (std::strcmp(record.handleSource, records_.back().handleSource) != 0) {
      std::printf("  (at %s: %s)\n", record.when.c_str(), record.handleSource);
    }
  }

  std::printf("\n%-14s %6s %9s %10s %8s\n", "command", "sent", "answered", "median ms", "max ms");
  int sent = 0;
  int answered = 0;
  std::string missed;
  std::vector<const SoakCommand*> order;
  for (const SoakCommand& command : kRound) order.push_back(&command);
  order.push_back(&kEndCommand);
  for (const SoakCommand* command : order) {
    const auto found = tallies_.find(command->text);
    if (found == tallies_.end()) continue;
    const Tally& tally = found->second;
    sent += tally.sent;
    answered += tally.answered;
    if (tally.answered < tally.sent) {
      missed.append(" ").append(command->text).append(" (");
      missed.append(std::to_string(tally.sent - tally.answered)).append(")");
    }
    std::printf("%-14s %6d %9d %10.0f %8.0f\n", command->text, tally.sent, tally.answered,
                Median(tally.ms),
                tally.ms.empty() ? 0 : *std::max_element(tally.ms.begin(), tally.ms.end()));
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
      postponed_, roomRestarts_, roomFailures_, Links().size());
  return answered == sent && roomFailures_ == 0 ? 0 : 1;
}

// The real tool scans a real roomsim for `minutes`: others speak in bursts, the user gives every
// command in turn, the room is closed and reopened every `roomSeconds`.
int RunSoak(int minutes, int roomSeconds) {
  if (minutes < 1 || roomSeconds < 1)
    return std::fprintf(stderr, "soak MINUTES [ROOM_SECONDS]\n"), 2;
  const std::filesystem::path linkLog = std::filesystem::temp_directory_path() / "soak-links.txt";
  std::error_code ignored;
  std::filesystem::remove(linkLog, ignored);  // roomsim appends
  const e2e::Roomsim room("Lobby", kSoakUser, linkLog.string());
  const e2e::ToolProcess tool;
  if (!room.started() || !tool.started() || !StartScan(tool)) {
    return std::fprintf(stderr, "start failed\n"), 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(tool.form(), &pid);
  const HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return std::fprintf(stderr, "cannot open the tool's process\n"), 1;
  std::printf(
      "soak of %d min: others say %d lines a second, the user gives a command every %lld "
      "s, the room is closed and reopened every %d s\n",
      minutes, kLinesPerBurst, static_cast<long long>(kCommandPeriod.count()), roomSeconds);
  std::fflush(stdout);
  Soak soak(tool, process, pid, linkLog, minutes, roomSeconds);
  const int result = soak.Run();
  CloseHandle(process);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "scan") return Scan();
  if (mode == "latency") return Latency();
  if (mode == "startup") return Startup();
  if (mode == "flood") return Flood(argc > 2 ? std::atoi(argv[2]) : 40);
  if (mode == "soak" && argc > 2) {
    return RunSoak(std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 300);
  }
  if (mode == "tick-chat-scan") return TickChatScan();
  if (mode == "set-transcript" && argc > 2) {
    return SetQuietTranscript(static_cast<std::size_t>(std::atoll(argv[2])));
  }
  std::fprintf(stderr,
               "usage: wine_bench scan|latency|startup|flood [SECONDS]|soak MINUTES "
               "[ROOM_SECONDS]|tick-chat-scan|set-transcript BYTES\n");
  return 2;
}
