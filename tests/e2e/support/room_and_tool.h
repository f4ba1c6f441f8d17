#pragma once
// The real tool against a real roomsim, both started afresh for a test, with the room's links
// logged; the helpers read the room as the user sees it, most of them through support/e2e.h,
// which the benchmarks under Wine share.

#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "support/e2e.h"

namespace e2e {

namespace app = tv::app;
namespace room = roomsim::client;

class RoomAndTool : public ::testing::Test {
 protected:
  // `user` is the screen name in this process's ANSI code page, `userKey` the tool's name of it.
  explicit RoomAndTool(std::string user = "Night Owl", std::string userKey = "nightowl")
      : user(std::move(user)), userKey(std::move(userKey)) {
    std::filesystem::remove(linkLog);  // roomsim would append to the last run's
  }

  void SetUp() override {
    ASSERT_TRUE(roomsim->started()) << "roomsim did not open its chat window";
    ASSERT_TRUE(tool.started()) << "the tool's window did not appear";
  }

  // The user's own lines with exactly this message.
  static int Count(const std::string& message) { return CountOwn(Lines(), message); }
  static bool Said(const std::string& message) { return Count(message) > 0; }
  static bool LastIs(const std::string& message) {
    const RoomLines lines = Lines();
    return !lines.empty() && lines.back().message == message;
  }

  // True when `holds` is true now and stays true while the scanner's 500 ms tick comes round
  // several times.
  static bool Stays(const std::function<bool()>& holds) {
    return holds() && !WaitFor([&] { return !holds(); }, 2s);
  }
  // Nothing is said after the room's last line, `message`.
  static bool StaysLast(const std::string& message) {
    return Stays([&] { return LastIs(message); });
  }

  // Ticks "Chat Scan" and waits until the tool has named the user once more (e2e::StartScan).
  bool StartScan() { return e2e::StartScan(tool, user, userKey); }

  // The "/sysinfo" line; its one group is the count of running programs.
  static const std::regex& SystemInfoLine() {
    static const std::regex line(R"(\[System Info\] \[OS - Windows_NT\] \[CPU - [^\]]+\] )"
                                 R"(\[Uptime - \d+ days, \d+ hours, \d+ minutes\] )"
                                 R"(\[RAM - Total = \d*[.,]\d{0,2} GB, Free = \d*[.,]\d{0,2} GB\] )"
                                 R"(\[Programs Running = ([1-9]\d*)\])");
    return line;
  }

  // The links roomsim was given, one a line, once there are at least `count`.
  std::vector<std::string> Links(std::size_t count) const {
    std::vector<std::string> links;
    WaitFor([&] { return (links = LinksIn(linkLog)).size() >= count; }, 30s);
    return links;
  }

  // By default capitals and a blank, which the tool's name of the user leaves out.
  const std::string user;
  const std::string userKey;
  const std::filesystem::path linkLog = std::filesystem::temp_directory_path() / "room-links.txt";
  std::unique_ptr<Roomsim> roomsim = std::make_unique<Roomsim>("Lobby", user, linkLog.string());
  ToolProcess tool;
};

}  // namespace e2e
