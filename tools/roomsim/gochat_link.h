#pragma once
// The aim: links that open a chat room, as the shell hands them to the program registered for the
// aim: scheme.

#include <optional>
#include <string>
#include <string_view>

namespace roomsim {

struct RoomAddress {
  std::string room;
  std::string exchange;
};

// Reads "aim:gochat?roomname=ROOM&exchange=EX". The scheme, "gochat" and the two parameter names
// match in any letter case. ROOM runs up to the last "&exchange=", so "&" and "?" inside a room
// name survive; %XX escapes are decoded in both parts; a missing "&exchange=" gives an empty
// exchange. Returns nullopt for any other text and for an empty room name, which no room has.
std::optional<RoomAddress> ParseGoChatLink(std::string_view link);

}  // namespace roomsim
