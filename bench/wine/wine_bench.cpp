// Figures of the real programs under Wine (or Windows), printed as tables; nothing is asserted.
//   wine_bench scan      one full scan tick against the bare read of the same transcript
//   wine_bench latency   time from a command entering the transcript to its reply
//   wine_bench startup   process start to the main window visible
//   wine_bench flood [SECONDS]   commands answered, memory and handles while strangers flood
//   wine_bench tick-chat-scan   ticks "Chat Scan" of a running tool
// The idle cost is measured from outside (scripts/bench-wine.sh), from /proc.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "scan") return Scan();
  if (mode == "latency") return Latency();
  if (mode == "startup") return Startup();
  if (mode == "flood") return Flood(argc > 2 ? std::atoi(argv[2]) : 40);
  if (mode == "tick-chat-scan") return TickChatScan();
  std::fprintf(stderr, "usage: wine_bench scan|latency|startup|flood [SECONDS]|tick-chat-scan\n");
  return 2;
}
