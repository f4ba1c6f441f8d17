#pragma once
// The figures that the main window shows in its status labels and that the system-info reply
// reports: running programs, memory in gigabytes, the OS name from the environment, the processor.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_os.h"

namespace tv::sysinfo {

// Where the system keeps the number of programs the logged-on user is running.
inline constexpr std::wstring_view kProgramCountPath =
    L"HKEY_CURRENT_USER\\SessionInformation\\ProgramCount";

// The running-program count as decimal text: the registry value at kProgramCountPath, exactly as
// ReadRegistryValue gives it. Where that gives nothing (the value does not exist, as on Wine and
// some Windows editions), the number of windows the taskbar shows (CountTaskbarWindows); empty
// when neither can be had.
std::wstring ShowProgramCount(const platform::SystemOs& os);

// The windows the taskbar would show a button for: visible and not cloaked, with a title, not the
// shell's desktop window, and either marked as an application window or unowned and not a tool
// window. Untitled windows are left out: visible ones are nearly always helpers that happen to be
// top-level, and the taskbar would show them as blank buttons.
int CountTaskbarWindows(const std::vector<platform::TopLevelWindow>& windows,
                        platform::WindowHandle shellWindow);

// Total and free physical memory as FormatGigabytes texts.
struct MemoryTexts {
  std::wstring total;
  std::wstring free;
};

// Reads the memory status once; the user's decimal separator, "." when it cannot be read.
MemoryTexts ShowMemory(const platform::SystemOs& os);

// The tool's gigabyte is 1,024,000,000 bytes. The amount is rounded to two decimals with an exact
// half going away from zero, the whole part has no leading zero (nothing when 0) and no group
// separators, the separator is always written, trailing fraction zeros are dropped, and " GB"
// follows: ".52 GB", "1.05 GB", "2.1 GB", "2. GB", ". GB".
std::wstring FormatGigabytes(std::uint64_t bytes, std::wstring_view decimalSeparator);

// The value of the environment variable "os" (name matched without regard to case, the first
// entry winning, as Windows does); empty when it is not set. Read afresh on every call.
std::wstring GetOS(const platform::SystemOs& os);

// The processor name of a fresh system snapshot.
std::wstring ShowCPU(const platform::SystemOs& os);

}  // namespace tv::sysinfo
