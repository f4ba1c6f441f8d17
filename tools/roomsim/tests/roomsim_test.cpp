// What the end-to-end suites cannot drive through roomsim: it takes over the aim: handler only
// from an empty slot or another roomsim, never from the user's own chat client; and whatever a
// link holds, it reaches roomsim as one link and never as options.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "aim_scheme.h"
#include "options.h"

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

TEST(ParseCommandLineTest, TheLinkIsTheRestOfTheLine) {
  struct Case {
    const char* commandLine;
    std::optional<std::string> link;
    std::string room;
    std::optional<std::string> linkLog;
  };
  const Case cases[] = {
      {R"("C:\Program Files\roomsim.exe" --link "aim:gochat?roomname=ab" --opt "cd&exchange=4")",
       R"(aim:gochat?roomname=ab" --opt "cd&exchange=4)", "Lobby", std::nullopt},
      {R"(roomsim.exe --link "aim:gochat?roomname=x" --link-log C:\evil.txt)",
       R"("aim:gochat?roomname=x" --link-log C:\evil.txt)", "Lobby", std::nullopt},
      {"roomsim.exe --link aim:gochat?roomname=a b&exchange=4",
       "aim:gochat?roomname=a b&exchange=4", "Lobby", std::nullopt},
      {R"(roomsim.exe --link-log "C:\my logs\l.txt" --room=Den --link="aim:x" "y")", R"(aim:x" "y)",
       "Den", R"(C:\my logs\l.txt)"},
      {R"(roomsim --room "say \"hi\"" --link=aim:x)", "aim:x", R"(say "hi")", std::nullopt},
      {R"("C:\a --link b\roomsim.exe" --room "x --link y")", std::nullopt, "x --link y",
       std::nullopt},
      {"roomsim.exe --link-log --link --room=--link", std::nullopt, "--link", "--link"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = ParseCommandLine(c.commandLine);
    ASSERT_TRUE(parsed.options) << c.commandLine << ": " << parsed.error;
    EXPECT_EQ(parsed.options->link, c.link) << c.commandLine;
    EXPECT_EQ(parsed.options->room, c.room) << c.commandLine;
    EXPECT_EQ(parsed.options->linkLog, c.linkLog) << c.commandLine;
  }
  for (const char* refused :
       {"roomsim.exe --link \"\"", "roomsim.exe --link", "roomsim.exe --link="}) {
    EXPECT_FALSE(ParseCommandLine(refused).options) << refused;
  }
}

}  // namespace
}  // namespace roomsim
