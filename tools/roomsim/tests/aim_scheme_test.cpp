#include "aim_scheme.h"

#include <gtest/gtest.h>

namespace roomsim {
namespace {

TEST(AimOpenCommandTest, QuotesProgramAndLink) {
  EXPECT_EQ(AimOpenCommand("C:\\tools\\roomsim.exe"), "\"C:\\tools\\roomsim.exe\" --link \"%1\"");
}

struct ClaimCase {
  std::optional<std::string> current;
  bool mayClaim;
};

TEST(MayClaimAimSchemeTest, TakesOverOnlyEmptyOrRoomsimRegistrations) {
  const ClaimCase cases[] = {
      {std::nullopt, true},
      {"", true},
      {"\"C:\\old build\\bin\\roomsim.exe\" \"%1\"", true},
      {"C:\\bin\\RoomSim.EXE %1", true},
      {"\"/home/x/roomsim\" \"%1\"", true},
      {"\"C:\\Program Files\\AIM\\aim.exe\" -goto \"%1\"", false},
      {"C:\\bin\\notroomsim.exe %1", false},
      {"\"C:\\roomsim.exe.bak\\aim.exe\" %1", false},
      {"\"C:\\tools\\roomsim.exe", true},  // unclosed quote: the rest is the program
  };
  for (const ClaimCase& c : cases) {
    EXPECT_EQ(MayClaimAimScheme(c.current), c.mayClaim) << c.current.value_or("(none)");
  }
}

}  // namespace
}  // namespace roomsim
