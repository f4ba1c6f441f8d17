// roomsim: a stand-in AIM chat room window for the end-to-end tests and the demo. See README.md.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "options.h"
#include "roomsim_protocol.h"
#include "win32/handles.h"
#include "win32/hub.h"
#include "win32/room_window.h"
#include "win32/scheme_registry.h"

namespace {

using roomsim::win32::UniqueHandle;
using roomsim::win32::WindowClass;

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;  // a link handed over was not opened, or the scheme is taken
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 3;  // windows could not be made, or the old roomsim did not go
constexpr UINT kHandOverTimeoutMs = 5000;
constexpr DWORD kReplaceTimeoutMs = 10000;

std::optional<std::string> LinkLogVariable() {
  const char* value = std::getenv("ROOMSIM_LINK_LOG");
  return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

// A link that the shell starts a second roomsim for goes to the roomsim that already runs.
int HandOver(HWND hub, const std::string& link) {
  COPYDATASTRUCT copy{};
  copy.dwData = roomsim::kOpenLink;
  copy.cbData = static_cast<DWORD>(link.size());
  copy.lpData = const_cast<char*>(link.data());
  DWORD_PTR answer = 0;
  const LRESULT sent =
      ::SendMessageTimeoutA(hub, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, kHandOverTimeoutMs, &answer);
  return sent != 0 && answer == 1 ? kExitOk : kExitRefused;
}

// Only one roomsim runs at a time: a plain start replaces a running one (one that lingers after
// its room closed, say), so that the new one's options hold.
bool Replace(HWND hub) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(hub, &processId);
  const UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  ::PostMessageA(hub, WM_CLOSE, 0, 0);
  if (!process) return false;
  return ::WaitForSingleObject(process.get(), kReplaceTimeoutMs) == WAIT_OBJECT_0;
}

roomsim::win32::UniqueFont MakeFont(int height, int weight) {
  return roomsim::win32::UniqueFont(::CreateFontA(
      -height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
}

int RunMessageLoop() {
  MSG message{};
  BOOL got = 0;
  while ((got = ::GetMessageA(&message, nullptr, 0, 0)) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : kExitFailed;
}

int Run(HINSTANCE instance, const roomsim::Options& options) {
  using roomsim::win32::Window;
  // A system colour index + 1 stands for that colour's brush.
  auto* face = roomsim::win32::FromInteger<HBRUSH>(COLOR_BTNFACE + 1);
  auto* paper = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  const WindowClass classes[] = {
      {instance, roomsim::kHubClass, &Window::Procedure, nullptr, 0},
      {instance, roomsim::win32::kChatWindowClass, &Window::Procedure, face},
      {instance, roomsim::win32::kPaneClass, &Window::Procedure, paper},
      {instance, roomsim::win32::kTextClass, &Window::Procedure, paper},
      {instance, roomsim::win32::kIconButtonClass, &Window::Procedure, face},
  };
  for (const auto& windowClass : classes) {
    if (!windowClass.Registered()) return kExitFailed;
  }
  const auto textFont = MakeFont(13, FW_NORMAL);
  const auto buttonFont = MakeFont(12, FW_BOLD);
  const roomsim::win32::RoomFonts fonts{textFont.get(), buttonFont.get()};
  // Tests wait on this event to know that a hang has begun.
  const UniqueHandle hungEvent(::CreateEventA(nullptr, TRUE, FALSE, roomsim::kHungEventName));

  roomsim::win32::Hub hub({options.userName, options.clock, options.linkLog, hungEvent.get()},
                          fonts);
  if (!hub.Create()) return kExitFailed;
  if (options.link) {
    hub.OpenLink(*options.link);
  } else if (!hub.GoToRoom(options.room)) {
    return kExitFailed;
  }
  return RunMessageLoop();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  // The raw line, not argv: the link is its rest, quotes and all, never options of its own.
  const roomsim::ParsedOptions parsed =
      roomsim::ParseCommandLine(::GetCommandLineA(), LinkLogVariable());
  if (!parsed.options) {
    const std::string text = parsed.error + "\n\n" + roomsim::UsageText();
    ::MessageBoxA(nullptr, text.c_str(), "roomsim", MB_OK | MB_ICONERROR);
    return kExitUsage;
  }
  const roomsim::Options& options = *parsed.options;
  if (options.registerScheme) return roomsim::win32::ClaimAimScheme() ? kExitOk : kExitRefused;
  if (HWND running = ::FindWindowA(roomsim::kHubClass, nullptr)) {
    if (options.link) return HandOver(running, *options.link);
    if (!Replace(running)) return kExitFailed;
  }
  return Run(instance, options);
}
