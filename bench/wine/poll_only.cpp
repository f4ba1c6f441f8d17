// The floor of the tool's idle cost with Chat Scan on: a window that, every 500 ms, does only what
// a scan tick cannot do without (find the room's transcript, read its length and its text) and
// nothing with what it read. scripts/bench-wine.sh runs it beside the tool and compares.

#include <windows.h>

#include <string>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 500;  // the scanner's tick

void Poll() {
  const HWND chat = FindWindowA("aim_chatwnd", nullptr);
  if (chat == nullptr) return;
  const HWND pane = FindWindowExA(chat, nullptr, "wndate32class", nullptr);
  if (pane == nullptr) return;
  const HWND transcript = FindWindowExA(pane, nullptr, "ate32class", nullptr);
  if (transcript == nullptr) return;
  const LRESULT length = SendMessageA(transcript, WM_GETTEXTLENGTH, 0, 0);
  if (length < 0) return;
  // A fresh buffer each tick, as the tool's read allocates one.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(transcript, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kPollTimer) Poll();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "tv_poll_only";
  if (RegisterClassA(&windowClass) == 0) return 1;
  // Placed clear of the tool (top left) and of roomsim's room.
  const HWND window =
      CreateWindowExA(0, windowClass.lpszClassName, "poll-only", WS_OVERLAPPEDWINDOW, 40, 560, 240,
                      100, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  CreateWindowExA(0, "STATIC", "reads the room every 500 ms", WS_CHILD | WS_VISIBLE, 8, 8, 220, 20,
                  window, nullptr, instance, nullptr);
  ShowWindow(window, showCommand);
  if (SetTimer(window, kPollTimer, kPollMs, nullptr) == 0) return 1;
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return static_cast<int>(message.wParam);
}
