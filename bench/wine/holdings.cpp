#include "holdings.h"

#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace wine_bench {
namespace {

// SYSTEM_HANDLE_INFORMATION, which winternl.h leaves out.
struct SystemHandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ULONG access;
};
struct SystemHandleTable {
  ULONG count;
  SystemHandleEntry entries[1];
};

struct WindowCount {
  DWORD pid;
  int windows;
};

BOOL CALLBACK CountIfOwn(HWND window, LPARAM param) {
  auto* count = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  count->windows += owner == count->pid;
  return TRUE;
}

// EnumChildWindows goes down the whole tree.
BOOL CALLBACK CountTree(HWND window, LPARAM param) {
  CountIfOwn(window, param);
  EnumChildWindows(window, CountIfOwn, param);
  return TRUE;
}

// The entries of process `pid` in the system's handle table; -1 when the table cannot be read.
long HandlesInSystemTable(DWORD pid) {
  using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const auto query = ntdll == nullptr ? nullptr
                                      : reinterpret_cast<Query>(reinterpret_cast<void*>(
                                            GetProcAddress(ntdll, "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<unsigned char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) break;
    if (status != kInfoLengthMismatch || buffer.size() >= (256u << 20)) return -1;
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  ULONG count = 0;
  std::memcpy(&count, buffer.data(), sizeof count);
  const std::size_t first = offsetof(SystemHandleTable, entries);
  if (count > (buffer.size() - first) / sizeof(SystemHandleEntry)) return -1;
  long own = 0;
  for (ULONG i = 0; i < count; ++i) {
    SystemHandleEntry entry{};
    std::memcpy(&entry, buffer.data() + first + i * sizeof entry, sizeof entry);
    own += entry.ownerPid == pid;
  }
  return own;
}

int WindowsOf(DWORD pid) {
  WindowCount count{pid, 0};
  EnumWindows(CountTree, reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

}  // namespace

Holdings Measure(HANDLE process, DWORD pid) {
  Holdings now;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters)) {
    now.workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024;
    // Windows gives the same commit charge in both; Wine may fill only the older field.
    if (counters.PrivateUsage != 0) {
      now.privateKb = static_cast<double>(counters.PrivateUsage) / 1024;
      now.privateSource = "PrivateUsage";
    } else if (counters.PagefileUsage != 0) {
      now.privateKb = static_cast<double>(counters.PagefileUsage) / 1024;
      now.privateSource = "PagefileUsage (PrivateUsage: 0)";
    }
  }
  const BOOL counted = GetProcessHandleCount(process, &now.countedHandles);
  if (counted && now.countedHandles > 0) {
    now.handles = static_cast<long>(now.countedHandles);
    now.handleSource = "GetProcessHandleCount";
  } else if (const long listed = HandlesInSystemTable(pid); listed > 0) {
    now.handles = listed;
    now.handleSource = counted
                           ? "NtQuerySystemInformation(SystemHandleInformation), the entries of "
                             "the tool's pid (GetProcessHandleCount: 0)"
                           : "NtQuerySystemInformation(SystemHandleInformation), the entries of "
                             "the tool's pid (GetProcessHandleCount failed)";
  }
  now.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  now.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  now.windows = WindowsOf(pid);
  return now;
}

}  // namespace wine_bench
