#pragma once
// The test commands that reach roomsim's hub as WM_COPYDATA, decoded without the window.

#include <cstdint>
#include <string_view>

namespace roomsim {

// What the hub can do. Each call answers whether it was carried out; the room commands act on
// the chat room that the tool would find first, and fail when no room is open.
class RoomHost {
 public:
  virtual ~RoomHost() = default;
  virtual bool SayAsOther(std::string_view speaker, std::string_view message) = 0;
  virtual bool TypeAsUser(std::string_view message) = 0;
  virtual bool SetTranscript(std::string_view markup) = 0;
  virtual bool OpenLink(std::string_view link) = 0;
  virtual bool OpenRoom(std::string_view room) = 0;
};

// Carries out one CopyDataCommand with its data (the bytes of COPYDATASTRUCT, one trailing NUL
// dropped if the sender counted it). Returns false for an unknown command, a kSayAsOther text
// without "\n" or with an empty speaker, a kOpenRoom without a name, and whatever the host
// refused.
bool RunCopyDataCommand(RoomHost& host, std::uintptr_t command, std::string_view data);

}  // namespace roomsim
