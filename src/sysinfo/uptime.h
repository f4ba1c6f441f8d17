#pragma once
// Uptime as text: a count of milliseconds broken into days, hours, minutes, seconds and
// milliseconds. Every division truncates toward zero and every remainder keeps the sign of the
// count, so a negative count gives negative parts. Numbers have no padding.

#include <cstdint>
#include <string>

namespace tv::sysinfo {

// Layouts:
//   0  "1 days, 2 hours, 3 minutes, 4 seconds, 5 milliseconds"
//   1  "1 days, 2 hours, 3 minutes, 4 seconds"
//   2  "1:2:3:4:5"
//   3  "1 days, 2 hours, 3 minutes"
// Any other style gives the empty text.
std::wstring FormatUptime(std::int32_t milliseconds, std::int32_t style);

// FormatUptime for counts beyond 32 bits, same layouts.
std::wstring FormatLongUptime(std::int64_t milliseconds, std::int32_t style);

// The style of the uptime status label.
inline constexpr std::int32_t kUptimeLabelStyle = 3;

// A tick count read into a signed 32-bit integer is negative from 2^31 ms of uptime on; this gives
// back the unsigned count, so the label keeps counting up until the tick count wraps to 0.
std::int64_t WidenTickCount(std::int32_t tickCount);

// The uptime label's text for a tick count held as a signed 32-bit integer.
std::wstring UptimeLabelText(std::int32_t tickCount);

// How long the uptime label's text stays as it is at `tickCount`: the milliseconds to the count's
// next whole minute, or to its wrap to 0 where that comes first. From 1 to 60,000.
std::uint32_t MillisecondsToNextUptimeChange(std::uint32_t tickCount);

}  // namespace tv::sysinfo
