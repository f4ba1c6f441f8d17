// What the end-to-end suites cannot drive through roomsim: taking over the aim: handler only from
// an empty slot or another roomsim, and links the tool never sends.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "aim_scheme.h"
#include "gochat_link.h"

namespace roomsim {
namespace {

TEST(MayClaimAimSchemeTest, TakesOverOnlyAnEmptySlotOrARoomsim) {
  const std::pair<std::optional<std::string>, bool> cases[] = {
      {std::nullopt, true},
      {"", true},
      {"\"C:\\old build\\bin\\roomsim.exe\" \"%1\"", true},
      {"C:\\bin\\RoomSim.EXE %1", true},
      {"\"C:\\tools\\roomsim.exe", true},  // unclosed quote: the rest is the program
      {"\"C:\\Program Files\\AIM\\aim.exe\" -goto \"%1\"", false},
      {"C:\\bin\\notroomsim.exe %1", false},
      {"\"C:\\roomsim.exe.bak\\aim.exe\" %1", false},
  };
  for (const auto& [command, mayClaim] : cases) {
    EXPECT_EQ(MayClaimAimScheme(command), mayClaim) << command.value_or("(none)");
  }
}

TEST(GoChatLinkTest, ReadsRoomAndExchangeOfRoomLinksOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"AIM:GoChat?RoomName=Lobby&Exchange=5", "Lobby|5"},
      {"aim:gochat?roomname=a&b?c&exchange=4", "a&b?c|4"},  // unescaped inside a room name
      {"aim:gochat?roomname=x&exchange=1&exchange=2", "x&exchange=1|2"},
      {"aim:gochat?roomname=the main lobby", "the main lobby|"},
      {"aim:gochat?roomname=%22q%22%20x&exchange=%0A", "\"q\" x|\n"},
      {"aim:gochat?roomname=100%&exchange=4", "100%|4"},
      {"aim:gochat?roomname=a%zzb&exchange=4", "a%zzb|4"},
      {"aim:gochat?roomname=&exchange=4", "rejected"},
      {"aim:goim?screenname=x", "rejected"},
      {" aim:gochat?roomname=lobby&exchange=4", "rejected"},
      {"http://example.invalid/?roomname=lobby&exchange=4", "rejected"},
  };
  for (const auto& [link, address] : cases) {
    const auto parsed = ParseGoChatLink(link);
    EXPECT_EQ(parsed ? parsed->room + "|" + parsed->exchange : "rejected", address) << link;
  }
}

}  // namespace
}  // namespace roomsim
