#pragma once
// The machine figures that the system information needs: OS version, processor type, memory, the
// version of the browser components and the user's decimal separator. Mirrors kernel32's
// GetVersionExA, GetSystemInfo and GlobalMemoryStatusEx, shlwapi's DllGetVersion and
// GetLocaleInfoA(LOCALE_SDECIMAL).

#include <cstdint>
#include <optional>
#include <string>

namespace tv::platform {

// The three OSVERSIONINFOA fields read, raw.
struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;  // the whole field: old systems keep other data in its upper half
};

// The four MEMORYSTATUSEX byte counts read.
struct MemoryStatus {
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availVirtual = 0;
};

// The three DLLVERSIONINFO fields read.
struct DllVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

class SystemFigures {
 public:
  virtual ~SystemFigures() = default;

  // The record as the call left it; zeros when the call failed.
  virtual OsVersion GetVersionExA() = 0;
  // SYSTEM_INFO.dwProcessorType (386, 486, 586, 8664, ...).
  virtual std::uint32_t GetProcessorType() = 0;
  // Zeros when the call failed.
  virtual MemoryStatus GlobalMemoryStatusEx() = 0;
  // The shell library's version record as DllGetVersion left it, whatever its result; nullopt
  // when the library or its DllGetVersion export cannot be had.
  virtual std::optional<DllVersion> ShellDllVersion() = 0;
  // The user's decimal separator, ANSI; empty when it cannot be read.
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace tv::platform
