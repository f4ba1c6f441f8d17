#pragma once
// What a process holds at one moment (memory, handles, windows) as another process can see it.
// Wine leaves some of the usual answers empty; each figure says where it came from.

#include <windows.h>

namespace wine_bench {

struct Holdings {
  double workingSetKb = -1;
  double privateKb = -1;
  const char* privateSource = "neither PrivateUsage nor PagefileUsage";
  DWORD countedHandles = 0;  // GetProcessHandleCount's own answer; Wine counts none for another
  long handles = -1;         // from wherever answered
  const char* handleSource = "neither GetProcessHandleCount nor the system's handle table";
  DWORD gdiObjects = 0;  // 0: not answered
  DWORD userObjects = 0;
  int windows = 0;
};

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ; `pid` is its id.
Holdings Measure(HANDLE process, DWORD pid);

}  // namespace wine_bench
