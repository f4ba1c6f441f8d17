#include "hub_commands.h"

#include "roomsim_protocol.h"

namespace roomsim {

bool RunCopyDataCommand(RoomHost& host, std::uintptr_t command, std::string_view data) {
  if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
  switch (command) {
    case kSayAsOther: {
      const std::size_t newline = data.find('\n');
      if (newline == std::string_view::npos || newline == 0) return false;
      return host.SayAsOther(data.substr(0, newline), data.substr(newline + 1));
    }
    case kTypeAsUser:
      return host.TypeAsUser(data);
    case kSetTranscript:
      return host.SetTranscript(data);
    case kOpenLink:
      return host.OpenLink(data);
    case kOpenRoom:
      return !data.empty() && host.OpenRoom(data);
    default:
      return false;
  }
}

}  // namespace roomsim
