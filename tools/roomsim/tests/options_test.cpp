#include "options.h"

#include <gtest/gtest.h>

namespace roomsim {
namespace {

Options Parse(const std::vector<std::string>& args,
              const std::optional<std::string>& variable = std::nullopt) {
  const ParsedOptions parsed = ParseOptions(args, variable);
  EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
  return parsed.options.value_or(Options{});
}

TEST(OptionsTest, DefaultsOpenTheLobbyForTester) {
  const Options options = Parse({});
  EXPECT_EQ(options.userName, "Tester");
  EXPECT_EQ(options.room, "Lobby");
  EXPECT_FALSE(options.link.has_value());
  EXPECT_FALSE(options.linkLog.has_value());
  EXPECT_FALSE(options.clock.has_value());
  EXPECT_FALSE(options.registerScheme);
}

TEST(OptionsTest, ValuesComeAsNextArgumentOrAfterEquals) {
  const Options options = Parse({"--user", "Some Name", "--room=Main Lobby", "--link",
                                 "aim:gochat?roomname=x&exchange=4",
                                 "--link-log=C:\\logs\\links.txt", "--clock", "9:30:00"});
  EXPECT_EQ(options.userName, "Some Name");
  EXPECT_EQ(options.room, "Main Lobby");
  EXPECT_EQ(options.link, "aim:gochat?roomname=x&exchange=4");
  EXPECT_EQ(options.linkLog, "C:\\logs\\links.txt");
  ASSERT_TRUE(options.clock.has_value());
  EXPECT_EQ(options.clock->hour, 9);
  EXPECT_EQ(options.clock->minute, 30);
  EXPECT_TRUE(Parse({"--register"}).registerScheme);
}

TEST(OptionsTest, ALinkValueMayContainEqualsSigns) {
  EXPECT_EQ(Parse({"--link=aim:gochat?roomname=a=b&exchange=4"}).link,
            "aim:gochat?roomname=a=b&exchange=4");
}

TEST(OptionsTest, LinkLogFallsBackToTheVariable) {
  EXPECT_EQ(Parse({}, "from-env.txt").linkLog, "from-env.txt");
  EXPECT_EQ(Parse({"--link-log", "given.txt"}, "from-env.txt").linkLog, "given.txt");
  EXPECT_FALSE(Parse({}, "").linkLog.has_value());
}

TEST(OptionsTest, RejectsWhatItDoesNotKnow) {
  const std::vector<std::vector<std::string>> bad = {
      {"--user"},  {"--user="},      {"--room", ""},
      {"--link"},  {"--link-log"},   {"--clock", "25:00:00"},
      {"--clock"}, {"--users=x"},    {"--register=1"},
      {"lobby"},   {"aim:gochat?a"}, {"-u", "x"},
  };
  for (const auto& args : bad) {
    const ParsedOptions parsed = ParseOptions(args);
    EXPECT_FALSE(parsed.options.has_value()) << args.front();
    EXPECT_FALSE(parsed.error.empty()) << args.front();
  }
}

}  // namespace
}  // namespace roomsim
