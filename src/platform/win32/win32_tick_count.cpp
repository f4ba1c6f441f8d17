#include "platform/win32/win32_tick_count.h"

#include <windows.h>

namespace tv::platform {

// The 32-bit count on purpose: the uptime label follows its wrap after 49.7 days.
std::uint32_t Win32TickCount::GetTickCount() { return ::GetTickCount(); }

}  // namespace tv::platform
