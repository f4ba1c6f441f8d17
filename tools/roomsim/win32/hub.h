#pragma once
// roomsim's hidden hub window (class roomsim_hub): it owns the chat windows, takes the test
// commands and links, and ends the program when it is closed or when no room has been open for
// kLingerMs.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chat_room.h"
#include "hub_commands.h"
#include "win32/room_window.h"
#include "win32/window.h"

namespace roomsim::win32 {

struct HubSettings {
  std::string userName;
  std::optional<TimeOfDay> clock;      // a fixed clock for every room, else the wall clock
  std::optional<std::string> linkLog;  // the file every received link is appended to
  HANDLE hungEvent = nullptr;          // signalled while the hub hangs; not owned
};

class Hub final : public Window, public RoomHost {
 public:
  // The longest a kHangMessage stalls roomsim, so that a stray message cannot hang it for good.
  static constexpr DWORD kLongestHangMs = 60000;
  // How long roomsim waits, with no room open, for a link before it exits: long enough for the
  // shell to start the roomsim that hands over a rejoin link.
  static constexpr UINT kLingerMs = 8000;

  Hub(HubSettings settings, const RoomFonts& fonts);
  ~Hub() override;

  // Creates the hub, lingering until a room opens.
  bool Create();
  // Brings the room to the front as a link does: the open window that shows it (names match in
  // any letter case), else the window in front switched to it, else a new window. Links never
  // open a second window, as the tool's quick-join buttons send one after another.
  bool GoToRoom(const std::string& room);

  bool SayAsOther(std::string_view speaker, std::string_view message) override;
  bool TypeAsUser(std::string_view message) override;
  bool SetTranscript(std::string_view markup) override;
  bool OpenLink(std::string_view link) override;
  // Brings the open window that shows the room to the front, else opens one for it.
  bool OpenRoom(std::string_view room) override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The open window that the tool would find first: the first of ours in z-order.
  RoomWindow* FrontWindow() const;
  RoomWindow* WindowShowing(std::string_view room) const;
  std::size_t OpenCount() const;
  bool OpenWindow(const std::string& room);
  ChatRoom MakeRoom(const std::string& name) const;
  void OnRoomClosed();
  void Hang(DWORD milliseconds);

  HubSettings settings_;
  const RoomFonts& fonts_;
  std::vector<std::unique_ptr<RoomWindow>> rooms_;  // closed ones until their note arrives
};

}  // namespace roomsim::win32
