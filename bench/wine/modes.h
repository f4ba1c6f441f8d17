#pragma once
// The modes of wine_bench, each printing its figures and returning the program's exit code.

#include <cstddef>

namespace wine_bench {

// timings.cpp
int Scan();
int Latency();
int Startup();
// flood.cpp
int Flood(int seconds);
// soak.cpp
int Soak(int minutes, int roomSeconds);
// outside.cpp: for the idle measurement that scripts/bench-wine.sh makes from outside
int TickChatScan();
int SetQuietTranscript(std::size_t bytes);
int Chatter(int seconds);

}  // namespace wine_bench
