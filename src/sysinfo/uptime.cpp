#include "sysinfo/uptime.h"

#include <algorithm>
#include <bit>

namespace tv::sysinfo {
namespace {

struct UptimeParts {
  std::int64_t days = 0;
  std::int64_t hours = 0;
  std::int64_t minutes = 0;
  std::int64_t seconds = 0;
  std::int64_t milliseconds = 0;
};

// C++ division truncates toward zero and % takes the sign of the dividend, which is the breakdown
// wanted for negative counts too.
UptimeParts SplitUptime(std::int64_t count) {
  UptimeParts parts;
  parts.milliseconds = count % 1000;
  std::int64_t seconds = count / 1000;
  parts.days = seconds / 86400;
  seconds -= parts.days * 86400;
  parts.hours = seconds / 3600;
  seconds -= parts.hours * 3600;
  parts.minutes = seconds / 60;
  parts.seconds = seconds % 60;
  return parts;
}

std::wstring DaysHoursMinutes(const UptimeParts& p) {
  return std::to_wstring(p.days) + L" days, " + std::to_wstring(p.hours) + L" hours, " +
         std::to_wstring(p.minutes) + L" minutes";
}

}  // namespace

std::wstring FormatUptime(std::int32_t milliseconds, std::int32_t style) {
  return FormatLongUptime(milliseconds, style);
}

std::wstring FormatLongUptime(std::int64_t milliseconds, std::int32_t style) {
  const UptimeParts p = SplitUptime(milliseconds);
  switch (style) {
    case 0:
      return DaysHoursMinutes(p) + L", " + std::to_wstring(p.seconds) + L" seconds, " +
             std::to_wstring(p.milliseconds) + L" milliseconds";
    case 1:
      return DaysHoursMinutes(p) + L", " + std::to_wstring(p.seconds) + L" seconds";
    case 2:
      return std::to_wstring(p.days) + L":" + std::to_wstring(p.hours) + L":" +
             std::to_wstring(p.minutes) + L":" + std::to_wstring(p.seconds) + L":" +
             std::to_wstring(p.milliseconds);
    case 3:
      return DaysHoursMinutes(p);
    default:
      return {};
  }
}

std::int64_t WidenTickCount(std::int32_t tickCount) {
  return std::bit_cast<std::uint32_t>(tickCount);
}

std::wstring UptimeLabelText(std::int32_t tickCount) {
  return FormatLongUptime(WidenTickCount(tickCount), kUptimeLabelStyle);
}

std::uint32_t MillisecondsToNextUptimeChange(std::uint32_t tickCount) {
  constexpr std::uint64_t kMinute = 60'000;
  constexpr std::uint64_t kWrap = std::uint64_t{1} << 32;
  const std::uint64_t toMinute = kMinute - tickCount % kMinute;
  return static_cast<std::uint32_t>(std::min(toMinute, kWrap - tickCount));
}

}  // namespace tv::sysinfo
