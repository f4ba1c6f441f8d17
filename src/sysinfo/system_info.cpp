#include "sysinfo/system_info.h"

#include <bit>

namespace tv::sysinfo {
namespace {

// Version fields are read whole and as signed numbers; a build field with other data in its upper
// half (as the 9x family keeps it) is written as it is, negative if need be.
std::int32_t Signed(std::uint32_t field) { return std::bit_cast<std::int32_t>(field); }

}  // namespace

std::int32_t ToKilobytes(std::uint64_t bytes) {
  // Whole-number arithmetic: the half is decided exactly, with no floating point involved.
  std::uint64_t kilobytes = bytes / 1024;
  const std::uint64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && kilobytes % 2 == 1)) ++kilobytes;
  if (kilobytes > static_cast<std::uint64_t>(kMaxKilobytes)) return kMaxKilobytes;
  return static_cast<std::int32_t>(kilobytes);
}

std::wstring WindowsName(std::int32_t major, std::int32_t minor) {
  // Minor versions compare as whole numbers: 4.10 (98) and 4.90 (ME) are not 4.1 or 4.0.
  switch (major) {
    case 3:
      return minor == 5 ? L"Windows NT " : L"Windows ";
    case 4:
      if (minor == 0) return L"Windows NT ";
      if (minor == 1) return L"Windows 98 ";
      return L"Windows ME ";
    case 5:
      return minor == 1 ? L"Windows XP " : L"Windows 2000 ";
    default:
      return L"Windows Unknown Version";
  }
}

std::wstring ProcessorName(std::uint32_t processorType) {
  switch (processorType) {
    case 386:
      return L"Intel 386";
    case 486:
      return L"Intel 486";
    case 586:
      return L"Intel Pentium";
    case 4000:
      return L"MIPS R4000";
    case 21064:
      return L"DEC Alpha 21064";
    default:
      return L"(unknown)";
  }
}

cSystemInfo::cSystemInfo(platform::SystemFigures& figures) { LoadSystemInfo(figures); }

void cSystemInfo::LoadSystemInfo(platform::SystemFigures& figures) {
  const platform::OsVersion os = figures.GetVersionExA();
  const std::int32_t major = Signed(os.major);
  const std::int32_t minor = Signed(os.minor);
  winName_ = WindowsName(major, minor);
  winVersion_ = std::to_wstring(major) + L"." + std::to_wstring(minor) + L" (Build " +
                std::to_wstring(Signed(os.build)) + L")";

  cpuVersion_ = ProcessorName(figures.GetProcessorType());

  const platform::MemoryStatus memory = figures.GlobalMemoryStatusEx();
  memoryTotal_ = ToKilobytes(memory.totalPhys);
  memoryFree_ = ToKilobytes(memory.availPhys);
  virtualMemoryTotal_ = ToKilobytes(memory.totalVirtual);
  virtualMemoryFree_ = ToKilobytes(memory.availVirtual);

  if (const std::optional<platform::DllVersion> ie = figures.ShellDllVersion()) {
    ieVersion_ = L"Internet Explorer " + std::to_wstring(Signed(ie->major)) + L"." +
                 std::to_wstring(Signed(ie->minor)) + L"." + std::to_wstring(Signed(ie->build));
  }
}

}  // namespace tv::sysinfo
