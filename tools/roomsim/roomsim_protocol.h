#pragma once
// How tests drive roomsim without the mouse. Portable constants only (no <windows.h>), so the
// e2e drivers and roomsim share one definition. See README.md beside this file.

#include <cstdint>

namespace roomsim {

// Class of roomsim's hidden hub window: one per running roomsim, present while it runs, whether
// or not a chat room is open. Links and test commands go here.
inline constexpr char kHubClass[] = "roomsim_hub";

// WM_COPYDATA to the hub, COPYDATASTRUCT.dwData selects the command; lpData is ANSI text (not
// NUL-terminated; cbData bytes). The hub answers 1 when it carried the command out, else 0.
enum CopyDataCommand : std::uintptr_t {
  // "speaker\nmessage": a line of another speaker (their colour, not the user's).
  kSayAsOther = 1,
  // "message": the local user types the message and sends it (as the Enter key would).
  kTypeAsUser = 2,
  // the whole transcript markup is replaced by lpData (benchmarks, big transcripts).
  kSetTranscript = 3,
  // "aim:gochat?...": a link, as a second roomsim started by the shell hands it over.
  kOpenLink = 4,
  // "room name": a window of its own for the room, unless one shows it already (in any letter
  // case); either way that window comes first in z-order. Links never open a second window.
  kOpenRoom = 5,
};

// Posted (not sent) to the hub: the room's user-interface thread stops answering messages for
// wParam milliseconds, as a hung chat client would.
inline constexpr unsigned kHangMessage = 0x8000 + 0x51;  // WM_APP + 0x51

// Sent to the hub: answers how many WM_GETTEXTLENGTH messages the transcript of the room that the
// tool would find first has answered, 0 while no room is open. The tool sends one before each
// read of the transcript, so a test that sees the count grow knows the tool has read the room.
inline constexpr unsigned kPollCountMessage = 0x8000 + 0x52;  // WM_APP + 0x52

// A manual-reset event roomsim creates at start and holds signalled while it hangs, so a test
// knows the hang has begun.
inline constexpr char kHungEventName[] = "roomsim_hung";

}  // namespace roomsim
