// What the end-to-end suites cannot drive through roomsim: it takes over the aim: handler only
// from an empty slot or another roomsim, never from the user's own chat client.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "aim_scheme.h"

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

}  // namespace
}  // namespace roomsim
