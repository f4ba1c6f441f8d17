#pragma once
// roomsim's command line.

#include <optional>
#include <string>
#include <string_view>

#include "chat_room.h"

namespace roomsim {

struct Options {
  std::string userName = "Tester";     // --user
  std::string room = "Lobby";          // --room
  std::optional<std::string> link;     // --link, last: open the room this aim: link names instead
  std::optional<std::string> linkLog;  // --link-log, else the ROOMSIM_LINK_LOG variable
  std::optional<TimeOfDay> clock;      // --clock h:mm:ss: stamps from there, a second per line
  bool registerScheme = false;         // --register: claim the aim: scheme and exit
};

struct ParsedOptions {
  std::optional<Options> options;
  std::string error;  // why there are none
};

// The whole command line as Windows gives it (GetCommandLineA), program path first. Each option
// takes its value as the next argument or after "=", with the C runtime's rules for quotes and
// backslashes. `--link` ends the options: the link is the raw rest of the line after "--link="
// or after "--link" and one blank, without one pair of quotes around it, so that a link holding
// quotes cannot pass roomsim further options. `linkLogVariable` is the value of ROOMSIM_LINK_LOG,
// used when --link-log is absent.
ParsedOptions ParseCommandLine(std::string_view commandLine,
                               const std::optional<std::string>& linkLogVariable = std::nullopt);

// One line per option, for the usage message.
std::string UsageText();

}  // namespace roomsim
