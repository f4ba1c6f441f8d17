// The tool while strangers flood the room: its commands still answered, and what it holds.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "common.h"
#include "holdings.h"
#include "modes.h"
#include "roomsim_client.h"
#include "support/e2e.h"

namespace wine_bench {

using namespace std::chrono_literals;

// Other speakers say 20 lines a second, in one burst each second; right after each burst the user
// gives a command, every third second ("/csoff" and "/cson" in turn). The room is emptied every
// 15 s, as the clear timer would, so that the tool's memory shows leaks rather than the room's
// ever longer text it reads each tick.
int Flood(int seconds) {
  const e2e::Roomsim room("Lobby", "Tester");
  const e2e::ToolProcess tool;
  if (!room.started() || !tool.started() || !e2e::StartScan(tool, "Tester", "tester")) {
    return std::fprintf(stderr, "start failed\n"), 1;
  }
  const auto replies = [] {
    const e2e::RoomLines lines = e2e::Lines();
    return e2e::CountOwn(lines, "[Chatsends Off]") + e2e::CountOwn(lines, "[Chatsends On]");
  };
  int commands = 0, answered = 0;
  Holdings settled;
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
    if (second == seconds / 2) settled = Measure(tool.process(), tool.pid());
    std::this_thread::sleep_until(start + std::chrono::seconds(second + 1));  // the flood's pace
  }
  e2e::WaitFor([&] { return answered + replies() >= commands; }, 10s);
  answered += replies();
  const Holdings end = Measure(tool.process(), tool.pid());
  std::printf("%-24s %10s %10s\n", "flood of 20 lines/s", "half-time", "end");
  std::printf("%-24s %10.0f %10.0f\n", "working set (KB)", settled.workingSetKb, end.workingSetKb);
  std::printf("%-24s %10lu %10lu\n", "handles", settled.countedHandles, end.countedHandles);
  std::printf("commands answered: %d of %d in %d s\n", answered, commands, seconds);
  return 0;
}

}  // namespace wine_bench
