#pragma once
// The other side of roomsim's test interface: another program finds the running roomsim's hub
// and has it make others speak, type as the local user, replace the transcript, open rooms or
// hang. roomsimctl
// and the end-to-end tests speak to roomsim through this.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace roomsim::client {

// Each is true when a running roomsim carried it out (a room was open to take it).
bool SayAsOther(const std::string& speaker, const std::string& message);
bool TypeAsUser(const std::string& message);
bool SetTranscript(const std::string& markup);
// An aim:gochat link, as a second roomsim started by the shell hands one over: logged, and the
// room it names opened (reopened when none is open, switched to, or brought to the front).
bool OpenLink(const std::string& link);
// A window of its own for the room, first in z-order, where the room commands then go; an open
// window that shows the room (in any letter case) comes to the front instead.
bool OpenRoom(const std::string& room);

// How often the tool has read the transcript of the room it would find first (0 while no room is
// open); nullopt when no roomsim answers.
std::optional<std::size_t> TranscriptPolls();

// roomsim's user-interface thread stops answering for `duration`; true once the hang has begun.
bool Hang(std::chrono::milliseconds duration);

}  // namespace roomsim::client
