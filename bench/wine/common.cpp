#include "common.h"

#include <algorithm>

#include "transcript_markup.h"

namespace wine_bench {

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

double Max(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string MakeTranscript(std::size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += roomsim::FormatLine(i % 3 == 0 ? "Tester" : "Alice",
                                "line " + std::to_string(i) + " of the benchmark transcript",
                                i % 3 == 0, roomsim::FormatClock(10, i / 60 % 60, i % 60));
  }
  return text;
}

}  // namespace wine_bench
