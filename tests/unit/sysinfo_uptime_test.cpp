#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_tick_count.h"
#include "sysinfo/uptime.h"

namespace tv::sysinfo {
namespace {

struct UptimeCase {
  std::int32_t milliseconds;
  std::int32_t style;
  std::wstring expected;
};

TEST(FormatUptimeTest, BreaksTheCountIntoPartsForEachStyle) {
  const std::vector<UptimeCase> cases = {
      {93'784'005, 0, L"1 days, 2 hours, 3 minutes, 4 seconds, 5 milliseconds"},
      {93'784'005, 1, L"1 days, 2 hours, 3 minutes, 4 seconds"},
      {93'784'005, 2, L"1:2:3:4:5"},
      {93'784'005, 3, L"1 days, 2 hours, 3 minutes"},
      {0, 0, L"0 days, 0 hours, 0 minutes, 0 seconds, 0 milliseconds"},
      {0, 2, L"0:0:0:0:0"},
      {0, 3, L"0 days, 0 hours, 0 minutes"},
      {59'999, 1, L"0 days, 0 hours, 0 minutes, 59 seconds"},
      {59'999, 3, L"0 days, 0 hours, 0 minutes"},  // never rounded up into a minute
      {300'000, 3, L"0 days, 0 hours, 5 minutes"},
      {86'399'999, 2, L"0:23:59:59:999"},
      {86'400'000, 3, L"1 days, 0 hours, 0 minutes"},
      {INT32_MAX, 0, L"24 days, 20 hours, 31 minutes, 23 seconds, 647 milliseconds"},
      {INT32_MAX, 2, L"24:20:31:23:647"},
      // Negative counts: truncating division, remainders keep the sign.
      {-93'784'005, 0, L"-1 days, -2 hours, -3 minutes, -4 seconds, -5 milliseconds"},
      {-93'784'005, 2, L"-1:-2:-3:-4:-5"},
      {-1, 0, L"0 days, 0 hours, 0 minutes, 0 seconds, -1 milliseconds"},
      {-59'999, 1, L"0 days, 0 hours, 0 minutes, -59 seconds"},
      {INT32_MIN, 0, L"-24 days, -20 hours, -31 minutes, -23 seconds, -648 milliseconds"},
  };
  for (const UptimeCase& c : cases) {
    EXPECT_EQ(FormatUptime(c.milliseconds, c.style), c.expected)
        << c.milliseconds << " ms, style " << c.style;
    EXPECT_EQ(FormatLongUptime(c.milliseconds, c.style), c.expected)
        << c.milliseconds << " ms, style " << c.style;
  }
}

TEST(FormatUptimeTest, UnknownStylesGiveTheEmptyText) {
  for (const std::int32_t style : {-1, 4, 5, 100, INT32_MIN, INT32_MAX}) {
    for (const std::int32_t count : {0, 93'784'005, -5, INT32_MAX, INT32_MIN}) {
      EXPECT_EQ(FormatUptime(count, style), L"") << count << " ms, style " << style;
      EXPECT_EQ(FormatLongUptime(count, style), L"") << count << " ms, style " << style;
    }
  }
}

TEST(FormatUptimeTest, LongCountsGoPastThirtyTwoBits) {
  EXPECT_EQ(FormatLongUptime(4'294'967'295, 0),
            L"49 days, 17 hours, 2 minutes, 47 seconds, 295 milliseconds");
  EXPECT_EQ(FormatLongUptime(int64_t{1000} * 86400 * 400, 3), L"400 days, 0 hours, 0 minutes");
}

TEST(UptimeLabelTest, WidensNegativeTickCountsToTheirUnsignedValue) {
  const std::vector<std::pair<std::int32_t, std::int64_t>> cases = {
      {0, 0},
      {93'784'005, 93'784'005},
      {INT32_MAX, INT32_MAX},
      {INT32_MIN, 2'147'483'648},
      {-1, 4'294'967'295},
  };
  for (const auto& [count, widened] : cases) EXPECT_EQ(WidenTickCount(count), widened) << count;
}

TEST(UptimeLabelTest, KeepsCountingUpPastTwoToTheThirtyOneMilliseconds) {
  const std::vector<std::pair<std::int32_t, std::wstring>> cases = {
      {0, L"0 days, 0 hours, 0 minutes"},
      {93'784'005, L"1 days, 2 hours, 3 minutes"},
      {INT32_MAX, L"24 days, 20 hours, 31 minutes"},
      {INT32_MIN, L"24 days, 20 hours, 31 minutes"},
      {-1, L"49 days, 17 hours, 2 minutes"},
  };
  for (const auto& [count, text] : cases) EXPECT_EQ(UptimeLabelText(count), text) << count;
}

TEST(UptimeLabelTest, ReadsTheTickCountAndStartsAgainAfterTheWrap) {
  platform::FakeTickCount ticks;
  ticks.now = 0xFFFF'FFFF;
  EXPECT_EQ(CurrentUptimeLabelText(ticks), L"49 days, 17 hours, 2 minutes");
  ticks.now = 60'000;
  EXPECT_EQ(CurrentUptimeLabelText(ticks), L"0 days, 0 hours, 1 minutes");
  ticks.now = 0x8000'0000u + 93'784'005u;
  EXPECT_EQ(CurrentUptimeLabelText(ticks), L"25 days, 22 hours, 34 minutes");
}

}  // namespace
}  // namespace tv::sysinfo
