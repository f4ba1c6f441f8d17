#pragma once
// Opening a chat room by link, through the program registered for the aim: scheme.

#include <string>

#include "platform/chat_client.h"

namespace tv::aim {

// The link for a room: blanks removed and lower-cased; the exchange as given. Double quotes and
// control characters are percent-encoded, since the link travels on another program's command
// line; every other character, "&" and "?" included, goes in unchanged.
std::wstring RoomLink(const std::wstring& room, const std::wstring& exchange);

// Opens RoomLink(room, exchange) with the shell verb "open", hidden. The shell's answer is ignored.
void JoinRoom(const platform::ChatClientOs& os, const std::wstring& room,
              const std::wstring& exchange);

}  // namespace tv::aim
