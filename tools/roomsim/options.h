#pragma once
// roomsim's command line.

#include <optional>
#include <string>
#include <vector>

#include "chat_room.h"

namespace roomsim {

struct Options {
  std::string userName = "Tester";     // --user
  std::string room = "Lobby";          // --room
  std::optional<std::string> link;     // --link: open the room this aim: link names instead
  std::optional<std::string> linkLog;  // --link-log, else the ROOMSIM_LINK_LOG variable
  std::optional<TimeOfDay> clock;      // --clock h:mm:ss: stamps from there, a second per line
  bool registerScheme = false;         // --register: claim the aim: scheme and exit
};

struct ParsedOptions {
  std::optional<Options> options;
  std::string error;  // why there are none
};

// The arguments after the program name. Each option takes its value as the next argument or
// after "="; `linkLogVariable` is the value of ROOMSIM_LINK_LOG, used when --link-log is absent.
ParsedOptions ParseOptions(const std::vector<std::string>& args,
                           const std::optional<std::string>& linkLogVariable = std::nullopt);

// One line per option, for the usage message.
std::string UsageText();

}  // namespace roomsim
