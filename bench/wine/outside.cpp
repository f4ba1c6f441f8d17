// Helpers of the idle measurement that scripts/bench-wine.sh makes from outside, on a tool and a
// roomsim that it started itself.

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "app/control_ids.h"
#include "common.h"
#include "modes.h"
#include "roomsim_client.h"
#include "support/e2e.h"

namespace wine_bench {

// Ticks "Chat Scan" of the running tool.
int TickChatScan() {
  HWND check = nullptr;
  // The window is found while it is still creating its controls: wait for it to be shown.
  e2e::WaitFor([&] {
    const HWND form = FindWindowW(tv::app::kFormClassName, nullptr);
    check = form && IsWindowVisible(form) ? GetDlgItem(form, tv::app::kCheck1) : nullptr;
    return check != nullptr;
  });
  if (!check) return std::fprintf(stderr, "no running tool\n"), 1;
  SendMessageA(check, BM_CLICK, 0, 0);
  return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
}

// Gives the room of the running roomsim quiet chat of about `bytes` characters.
int SetQuietTranscript(std::size_t bytes) {
  if (!e2e::WaitFor([] { return e2e::Roomsim::TranscriptControl() != nullptr; })) {
    return std::fprintf(stderr, "no room is open\n"), 1;
  }
  const std::string text = MakeTranscript(bytes);
  if (!roomsim::client::SetTranscript(text) || e2e::Roomsim::Transcript() != text) {
    return std::fprintf(stderr, "the room did not take the transcript\n"), 1;
  }
  std::printf("room transcript: %zu characters\n", text.size());
  return 0;
}

// Somebody else says a line in the running roomsim's room every `seconds`, until ended.
int Chatter(int seconds) {
  for (int n = 0;; ++n) {
    roomsim::client::SayAsOther("Alice", "line " + std::to_string(n) + " of the chatter");
    Sleep(static_cast<DWORD>(seconds) * 1000);
  }
}

}  // namespace wine_bench
