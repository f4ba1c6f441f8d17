// Figures of the real programs under Wine (or Windows), printed as tables; nothing is asserted.
//   wine_bench scan      one full scan tick against the bare read of the same transcript
//   wine_bench latency   time from a command entering the transcript to its reply
//   wine_bench startup   process start to the main window visible
//   wine_bench flood [SECONDS]   commands answered, memory and handles while strangers flood
//   wine_bench soak MINUTES [ROOM_SECONDS]   every command answered, and the tool's memory,
//                        handles and windows, over a long session in a busy room
//   wine_bench tick-chat-scan   ticks "Chat Scan" of a running tool
//   wine_bench set-transcript BYTES   fills the room of a running roomsim with quiet chat
//   wine_bench chatter SECONDS   another speaker says a line there every SECONDS, until ended
// The idle cost is measured from outside (scripts/bench-wine.sh), from /proc.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "modes.h"

int main(int argc, char** argv) {
  using namespace wine_bench;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "scan") return Scan();
  if (mode == "latency") return Latency();
  if (mode == "startup") return Startup();
  if (mode == "flood") return Flood(argc > 2 ? std::atoi(argv[2]) : 40);
  if (mode == "soak" && argc > 2)
    return Soak(std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 300);
  if (mode == "tick-chat-scan") return TickChatScan();
  if (mode == "chatter" && argc > 2) return Chatter(std::atoi(argv[2]));
  if (mode == "set-transcript" && argc > 2) {
    return SetQuietTranscript(static_cast<std::size_t>(std::atoll(argv[2])));
  }
  std::fprintf(stderr,
               "usage: wine_bench scan|latency|startup|flood [SECONDS]|soak MINUTES "
               "[ROOM_SECONDS]|tick-chat-scan|set-transcript BYTES|chatter SECONDS\n");
  return 2;
}
