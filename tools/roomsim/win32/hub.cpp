#include "win32/hub.h"

#include <algorithm>
#include <utility>

#include "gochat_link.h"
#include "link_log.h"
#include "roomsim_protocol.h"

namespace roomsim::win32 {
namespace {

// Posted by a room that has closed: the hub drops it outside the room's own window procedure.
constexpr UINT kRoomClosedMessage = WM_APP + 1;
constexpr UINT_PTR kLingerTimer = 1;
constexpr POINT kRoomOrigin{240, 40};  // clear of the tool, which sits top left

// Room names compare in any letter case of the ANSI code page, as the chat client's do.
std::string Lowered(std::string_view text) {
  std::string out(text);
  if (!out.empty()) ::CharLowerBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

TimeOfDay WallClock() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wHour, now.wMinute, now.wSecond};
}

}  // namespace

Hub::Hub(HubSettings settings, const RoomFonts& fonts)
    : settings_(std::move(settings)), fonts_(fonts) {}

Hub::~Hub() {
  // The room goes first, while the hub still exists.
  room_.reset();
}

bool Hub::Create() {
  const RECT none{0, 0, 0, 0};
  if (!Window::Create(kHubClass, "", WS_POPUP, WS_EX_TOOLWINDOW, none, nullptr)) return false;
  // The first ShowWindow of a process may take the show state its starter asked for; the shell
  // starts roomsim hidden for a link, and that must not hide the chat window.
  ::ShowWindow(Handle(), SW_HIDE);
  ::SetTimer(Handle(), kLingerTimer, kLingerMs, nullptr);
  return true;
}

ChatRoom Hub::MakeRoom(const std::string& name) const {
  LineClock clock = settings_.clock ? LineClock::Fixed(*settings_.clock) : LineClock(&WallClock);
  return ChatRoom(settings_.userName, name, std::move(clock));
}

RoomWindow* Hub::OpenWindow() const { return room_ && room_->IsOpen() ? room_.get() : nullptr; }

bool Hub::OpenRoom(const std::string& name) {
  if (RoomWindow* open = OpenWindow()) {
    if (Lowered(open->Room().Room()) != Lowered(name)) open->SwitchTo(MakeRoom(name));
    open->BringToFront();
    return true;
  }
  auto window = std::make_unique<RoomWindow>(
      MakeRoom(name), fonts_, [this] { ::PostMessageA(Handle(), kRoomClosedMessage, 0, 0); });
  if (!window->Open(kRoomOrigin)) return false;
  room_ = std::move(window);
  ::KillTimer(Handle(), kLingerTimer);
  return true;
}

bool Hub::SayAsOther(std::string_view speaker, std::string_view message) {
  RoomWindow* room = OpenWindow();
  if (room == nullptr) return false;
  room->SayAsOther(speaker, message);
  return true;
}

bool Hub::TypeAsUser(std::string_view message) {
  RoomWindow* room = OpenWindow();
  if (room == nullptr) return false;
  room->TypeAsUser(message);
  return true;
}

bool Hub::SetTranscript(std::string_view markup) {
  RoomWindow* room = OpenWindow();
  if (room == nullptr) return false;
  room->SetTranscript(markup);
  return true;
}

bool Hub::OpenLink(std::string_view link) {
  if (settings_.linkLog) AppendLinkLog(*settings_.linkLog, link);
  const auto address = ParseGoChatLink(link);
  return address && OpenRoom(address->room);
}

void Hub::OnRoomClosed() {
  // A link may have reopened the room before this note arrived.
  if (OpenWindow() != nullptr) return;
  room_.reset();
  ::SetTimer(Handle(), kLingerTimer, kLingerMs, nullptr);
}

void Hub::Hang(DWORD milliseconds) {
  if (settings_.hungEvent != nullptr) ::SetEvent(settings_.hungEvent);
  ::Sleep(std::min(milliseconds, kLongestHangMs));
  if (settings_.hungEvent != nullptr) ::ResetEvent(settings_.hungEvent);
}

LRESULT Hub::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: {
      const auto* copy = FromInteger<const COPYDATASTRUCT*>(lParam);
      if (copy == nullptr) return 0;
      const std::string_view data =
          copy->lpData == nullptr
              ? std::string_view()
              : std::string_view(static_cast<const char*>(copy->lpData), copy->cbData);
      return RunCopyDataCommand(*this, copy->dwData, data) ? 1 : 0;
    }
    case kHangMessage:
      Hang(static_cast<DWORD>(std::min<WPARAM>(wParam, kLongestHangMs)));
      return 0;
    case kRoomClosedMessage:
      OnRoomClosed();
      return 0;
    case WM_TIMER:
      if (wParam == kLingerTimer && OpenWindow() == nullptr) ::DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      ::KillTimer(Handle(), kLingerTimer);
      ::PostQuitMessage(0);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace roomsim::win32
