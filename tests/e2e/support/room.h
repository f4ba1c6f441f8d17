#pragma once
// The room as the user sees it, and the tool at work in it: what the end-to-end tests and the
// benchmarks under Wine wait for and read, so that both drive the programs the same way.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/e2e.h"
#include "transcript_markup.h"

namespace e2e {

using RoomLines = std::vector<roomsim::RenderedLine>;

// The lines of the room in front.
RoomLines Lines();
// The user's own lines in `lines` with exactly this message.
int CountOwn(const RoomLines& lines, const std::string& message);
// The user's last line in `lines` with exactly this message, searched from the end; rend() when
// there is none, so that base() is where the lines after it begin, or the first line.
RoomLines::const_reverse_iterator LastOwn(const RoomLines& lines, const std::string& message);

// Ticks "Chat Scan" and waits until the tool has announced itself and named the user once more,
// in the room and in its box. `user` is the screen name in this process's ANSI code page,
// `userKey` the tool's name of it.
bool StartScan(const ToolProcess& tool, const std::string& user, const std::string& userKey);

// Call it after a room came to the front and before the user says something there, so that the
// tool has seen the room as it was. Waits until the tool's polls of the room in front have grown
// by two: the second begins only after the tool has read and taken in the first, which began
// after this call.
bool ToolHasLooked();

// Types `command` as the user and waits for the tool's reply: the user's next line after it.
std::string Reply(const std::string& command, std::chrono::milliseconds deadline = 20s);

// The links that roomsim logged to `log`, one a line.
std::vector<std::string> LinksIn(const std::filesystem::path& log);

}  // namespace e2e
