#pragma once
// Opening a chat room by link, through the program registered for the aim: scheme.

#include <optional>
#include <string>

#include "platform/chat_client.h"

namespace tv::aim {

// The link for a room, as the bytes handed to the shell: "aim:gochat?roomname=" + the room
// lower-cased without blanks + "&exchange=" + the exchange as given. Both texts go into the ANSI
// code page without best fit, and every byte outside the link's safe set (letters, digits and
// -._~!$&'()*+,;=:@/?) is percent-encoded, so that nothing typed or pasted can end the link or
// reach the handler's command line as anything else. "&" and "?" stay, as room names have always
// passed them. Nothing when a character has no exact equivalent in the code page.
std::optional<std::string> RoomLink(const std::wstring& room, const std::wstring& exchange,
                                    const platform::CodePage& codePage);

// Opens RoomLink with the shell verb "open", hidden, and returns true; returns false, opening
// nothing, when the room has no link. The shell's answer is ignored.
bool JoinRoom(const platform::ChatClientOs& os, const std::wstring& room,
              const std::wstring& exchange);

}  // namespace tv::aim
