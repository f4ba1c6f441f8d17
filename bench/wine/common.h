#pragma once
// What the modes of wine_bench share: the figures of a series of times, and the quiet chat that
// fills a room.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace wine_bench {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values);
double Percentile(std::vector<double> values, double p);
// The largest, 0 for none.
double Max(const std::vector<double>& values);
double MsSince(Clock::time_point start);

// A transcript of about `bytes` characters of ordinary chat.
std::string MakeTranscript(std::size_t bytes);

}  // namespace wine_bench
