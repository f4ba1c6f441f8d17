#pragma once
// roomsim as the program that the shell hands aim: links to.

#include <optional>
#include <string>
#include <string_view>

namespace roomsim {

// The shell's open command for the scheme: the quoted program path, --link and the quoted link,
// last, so that roomsim takes the rest of the line, whatever quotes the link holds, as the link.
std::string AimOpenCommand(std::string_view exePath);

// Whether roomsim may register itself for the aim: scheme, given the open command registered now
// (nullopt when there is none). Only an empty slot or another roomsim's registration is taken
// over: a real chat client's handler is left alone.
bool MayClaimAimScheme(const std::optional<std::string>& currentCommand);

}  // namespace roomsim
