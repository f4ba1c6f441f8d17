#pragma once
// The real tool against a real roomsim, both started afresh for a test, with the room's links
// logged; the helpers read the room as the user sees it.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "roomsim_client.h"
#include "support/e2e.h"
#include "transcript_markup.h"

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

  static std::vector<roomsim::RenderedLine> Lines() {
    return roomsim::ParseTranscript(Roomsim::Transcript());
  }
  // The user's own lines with exactly this message.
  static int Count(const std::string& message) {
    int count = 0;
    for (const roomsim::RenderedLine& line : Lines())
      count += line.ownLine && line.message == message;
    return count;
  }
  static bool Said(const std::string& message) { return Count(message) > 0; }
  static bool LastIs(const std::string& message) {
    const std::vector<roomsim::RenderedLine> lines = Lines();
    return !lines.empty() && lines.back().message == message;
  }

  // Call it after a room came to the front and before the user says something there, so that the
  // tool has seen the room as it was. Waits until the tool's polls of the room in front have grown
  // by two: the second begins only after the tool has read and taken in the first, which began
  // after this call.
  static bool ToolHasLooked() {
    const std::optional<std::size_t> before = room::TranscriptPolls();
    return before && WaitFor([&] {
             const std::optional<std::size_t> now = room::TranscriptPolls();
             return now && *now >= *before + 2;
           });
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

  // Ticks "Chat Scan" and waits until the tool has announced itself and named the user once more,
  // in the room and in its box.
  bool StartScan() {
    const std::string found = "[Found User '" + user + "']";
    const int before = Count(found);
    return tool.Click(app::kCheck1) && WaitFor([&] {
             return Said("[Tavik Varrow V.2][Searching User]") && Count(found) > before &&
                    tool.Text(app::kText1) == userKey;
           });
  }

  // Types `command` as the user and waits for the tool's reply: the user's next line after it.
  static std::string Reply(const std::string& command) {
    if (!room::TypeAsUser(command)) return "<roomsim refused the line>";
    std::string reply = "<no reply>";
    const auto own = [](const roomsim::RenderedLine& line) { return line.ownLine; };
    WaitFor([&] {
      const std::vector<roomsim::RenderedLine> lines = Lines();
      const auto typed = std::find_if(lines.rbegin(), lines.rend(), [&](const auto& line) {
        return own(line) && line.message == command;
      });
      const auto next = std::find_if(typed.base(), lines.end(), own);
      if (typed == lines.rend() || next == lines.end()) return false;
      reply = next->message;
      return true;
    });
    return reply;
  }

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
    const auto read = [&] {
      std::ifstream log(linkLog);
      links.clear();
      for (std::string link; std::getline(log, link);) links.push_back(link);
      return links.size() >= count;
    };
    WaitFor(read, 30s);
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
