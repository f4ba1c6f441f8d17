// How long things take: a scan tick against the bare read it cannot do without, a command's
// answer, and the tool's start-up.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "chatctl/chat.h"
#include "common.h"
#include "modes.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"
#include "roomsim_client.h"
#include "support/e2e.h"

namespace wine_bench {
namespace {

using namespace std::chrono_literals;
using Micros = std::chrono::duration<double, std::micro>;

class IdleTimer final : public tv::platform::Timer {
 public:
  void Start(std::chrono::milliseconds) override {}
  void Stop() override {}
};

// The bare cost of reading a transcript: WM_GETTEXTLENGTH and WM_GETTEXT, nothing else.
void BareRead(HWND transcript, std::vector<char>& buffer) {
  const LRESULT length = SendMessageA(transcript, WM_GETTEXTLENGTH, 0, 0);
  buffer.resize(static_cast<std::size_t>(length) + 1);
  SendMessageA(transcript, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
}

}  // namespace

int Scan() {
  tv::platform::Win32Desktop desktop;
  tv::platform::Win32Shell shell;
  tv::platform::Win32CodePage codePage;
  const tv::platform::ChatClientOs os{desktop, shell, codePage};
  const e2e::Roomsim room("Lobby", "Tester");
  if (!room.started()) return std::fprintf(stderr, "roomsim did not start\n"), 1;
  const HWND transcript = e2e::Roomsim::TranscriptControl();

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

int Latency() {
  const e2e::Roomsim room("Lobby", "Tester");
  const e2e::ToolProcess tool;
  if (!room.started() || !tool.started()) return std::fprintf(stderr, "start failed\n"), 1;
  if (!e2e::StartScan(tool, "Tester", "tester")) {
    return std::fprintf(stderr, "the tool did not identify the user\n"), 1;
  }
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pause(0, 1000);
  std::vector<double> latencies;
  for (int i = 0; i < 50; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));  // a random moment
    roomsim::client::SetTranscript("");
    const auto typed = Clock::now();
    if (e2e::Reply("/cson", 10s) != "[Chatsends On]") {
      return std::fprintf(stderr, "no reply to command %d\n", i), 1;
    }
    latencies.push_back(MsSince(typed));
  }
  std::printf("%-20s %8s %8s %8s\n", "command latency", "median", "p90", "max");
  std::printf("%-20s %8.0f %8.0f %8.0f  ms over %zu commands\n", "/cson -> reply",
              Median(latencies), Percentile(latencies, 0.9), Max(latencies), latencies.size());
  return 0;
}

int Startup() {
  std::vector<double> times;
  for (int i = 0; i < 10; ++i) {
    const auto start = Clock::now();
    const e2e::ToolProcess tool;
    if (!tool.started()) return std::fprintf(stderr, "the tool did not start\n"), 1;
    times.push_back(MsSince(start));
  }
  std::printf("%-20s %8s %8s %8s\n", "start-up", "median", "min", "max");
  std::printf("%-20s %8.0f %8.0f %8.0f  ms over %zu starts\n", "to window visible", Median(times),
              *std::min_element(times.begin(), times.end()), Max(times), times.size());
  return 0;
}

}  // namespace wine_bench
