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
// Each further window sits this much lower and further right, so that every one shows; after
// kCascadeSteps they start again at the origin.
constexpr int kCascadeStep = 28;
constexpr std::size_t kCascadeSteps = 8;

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
  // The rooms go first, while the hub still exists.
  rooms_.clear();
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

RoomWindow* Hub::FrontWindow() const {
  for (HWND window = ::FindWindowExA(nullptr, nullptr, kChatWindowClass, nullptr);
       window != nullptr; window = ::FindWindowExA(nullptr, window, kChatWindowClass, nullptr)) {
    for (const auto& room : rooms_) {
      if (room->Handle() == window) return room.get();
    }
  }
  return nullptr;
}

RoomWindow* Hub::WindowShowing(std::string_view name) const {
  const std::string wanted = Lowered(name);
  for (const auto& room : rooms_) {
    if (room->IsOpen() && Lowered(room->Room().Room()) == wanted) return room.get();
  }
  return nullptr;
}

std::size_t Hub::OpenCount() const {
  return static_cast<std::size_t>(
      std::count_if(rooms_.begin(), rooms_.end(), [](const auto& room) { return room->IsOpen(); }));
}

bool Hub::OpenWindow(const std::string& name) {
  const int step = static_cast<int>(OpenCount() % kCascadeSteps) * kCascadeStep;
  auto window = std::make_unique<RoomWindow>(
      MakeRoom(name), fonts_, [this] { ::PostMessageA(Handle(), kRoomClosedMessage, 0, 0); });
  if (!window->Open({kRoomOrigin.x + step, kRoomOrigin.y + step})) return false;
  rooms_.push_back(std::move(window));
  ::KillTimer(Handle(), kLingerTimer);
  return true;
}

bool Hub::GoToRoom(const std::string& name) {
  RoomWindow* window = WindowShowing(name);
  if (window == nullptr && (window = FrontWindow()) != nullptr) window->SwitchTo(MakeRoom(name));
  if (window == nullptr) return OpenWindow(name);
  window->BringToFront();
  return true;
}

bool Hub::OpenRoom(std::string_view name) {
  RoomWindow* window = WindowShowing(name);
  if (window == nullptr) return OpenWindow(std::string(name));
  window->BringToFront();
  return true;
}

bool Hub::SayAsOther(std::string_view speaker, std::string_view message) {
  RoomWindow* room = FrontWindow();
  if (room == nullptr) return false;
  room->SayAsOther(speaker, message);
  return true;
}

bool Hub::TypeAsUser(std::string_view message) {
  RoomWindow* room = FrontWindow();
  if (room == nullptr) return false;
  room->TypeAsUser(message);
  return true;
}

bool Hub::SetTranscript(std::string_view markup) {
  RoomWindow* room = FrontWindow();
  if (room == nullptr) return false;
  room->SetTranscript(markup);
  return true;
}

bool Hub::OpenLink(std::string_view link) {
  if (settings_.linkLog) AppendLinkLog(*settings_.linkLog, link);
  const auto address = ParseGoChatLink(link);
  return address && GoToRoom(address->room);
}

void Hub::OnRoomClosed() {
  std::erase_if(rooms_, [](const auto& room) { return !room->IsOpen(); });
  // A link may have opened a room again before this note arrived.
  if (rooms_.empty()) ::SetTimer(Handle(), kLingerTimer, kLingerMs, nullptr);
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
    case kPollCountMessage: {
      const RoomWindow* room = FrontWindow();
      return room == nullptr ? 0 : static_cast<LRESULT>(room->TranscriptPolls());
    }
    case kRoomClosedMessage:
      OnRoomClosed();
      return 0;
    case WM_TIMER:
      if (wParam == kLingerTimer && OpenCount() == 0) ::DestroyWindow(Handle());
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
