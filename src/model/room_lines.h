#pragma once
// The lines the tool says in the room that are not the interpreter's own replies: the
// announcement when scanning starts, the clear timer's notice (also the reply to "/clear"), and
// the one-line system report of "/sysinfo".

#include <string>

namespace tv::model {

inline constexpr wchar_t kAnnouncement[] = L"[Tavik Varrow V.2][Searching User]";
inline constexpr wchar_t kChatCleared[] = L"[Chat Cleared]";

// The figures of the system report, each copied into the line as it is.
struct SystemFigures {
  std::wstring os, cpu, uptime, totalMemory, freeMemory, programs;
};

inline std::wstring SystemInfoLine(const SystemFigures& f) {
  return L"[System Info] [OS - " + f.os + L"] [CPU - " + f.cpu + L"] [Uptime - " + f.uptime +
         L"] [RAM - Total = " + f.totalMemory + L", Free = " + f.freeMemory +
         L"] [Programs Running = " + f.programs + L"]";
}

}  // namespace tv::model
