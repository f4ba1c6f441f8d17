#pragma once
// The real tool against a real roomsim, both started afresh for each test, with the room's links
// logged; the helpers read the room as the user sees it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "support/roomsim_driver.h"
#include "support/tool_process.h"
#include "transcript_markup.h"

namespace e2e {

constexpr char kHelpText[] =
    "[Tavik Varrow V.2][Join Chat Room = '/join chatroom ex', Close Window = '/x', Rejoin = '/rj "
    "ex', Chat Scan Off = '/disable', Clear = '/clear', Show = '/show', Hide = '/hide', End = "
    "'/end', More Options = '/more']";
constexpr char kMoreText[] =
    "[More Options... Clear Timer(m) = '/ct #', Clear Timer Off = '/ctoff', Chat Send On = "
    "'/cson', Chat Send Off = '/csoff'  System Info = /sysinfo]";

// Declared as a fixture's first member, so destroyed after the tool and roomsim: fails the test
// when any of their processes outlives it.
struct NoProcessLeftBehind {
  ~NoProcessLeftBehind() {
    EXPECT_EQ(ProcessCount(L"tavik-varrow.exe"), 0);
    EXPECT_EQ(ProcessCount(L"roomsim.exe"), 0);
  }
};

class RoomAndTool : public ::testing::Test {
 protected:
  explicit RoomAndTool(std::string user = "Tester") : user(std::move(user)) {}

  void SetUp() override {
    ASSERT_TRUE(room->started()) << "roomsim did not open its chat window; roomsim processes: "
                                 << ProcessCount(L"roomsim.exe");
    ASSERT_TRUE(tool.started()) << "the tool's window did not appear";
    RecordProperty("startup_ms", static_cast<int>(tool.startupTime().count()));
  }

  std::vector<roomsim::RenderedLine> Lines() const {
    return roomsim::ParseTranscript(room->Transcript());
  }

  // The user's own lines with exactly this message.
  int Count(const std::string& message) const {
    int count = 0;
    for (const roomsim::RenderedLine& line : Lines())
      count += line.ownLine && line.message == message;
    return count;
  }
  bool Said(const std::string& message) const { return Count(message) > 0; }

  bool WaitForOwn(const std::string& message, int atLeast = 1,
                  std::chrono::milliseconds deadline = 20s) const {
    return WaitFor([&] { return Count(message) >= atLeast; }, deadline);
  }

  // The user's first line after their last line `message`, if there is one yet.
  std::optional<std::string> OwnLineAfter(const std::string& message) const {
    const std::vector<roomsim::RenderedLine> lines = Lines();
    for (auto typed = lines.rbegin(); typed != lines.rend(); ++typed) {
      if (!typed->ownLine || typed->message != message) continue;
      for (auto it = typed.base(); it != lines.end(); ++it) {
        if (it->ownLine) return it->message;
      }
      break;
    }
    return std::nullopt;
  }

  // Ticks "Chat Scan" and waits until the tool has announced itself and named the user.
  bool StartScan() {
    return tool.Click(tv::app::kCheck1) && WaitFor([&] {
             return Said("[Tavik Varrow V.2][Searching User]") &&
                    Said("[Found User '" + user + "']");
           });
  }

  // Types `command` as the user and waits for the tool's reply: the user's next line.
  std::string Reply(const std::string& command) {
    if (!room->TypeAsUser(command)) return "<roomsim refused the line>";
    std::optional<std::string> reply;
    WaitFor([&] { return (reply = OwnLineAfter(command)).has_value(); });
    return reply.value_or("<no reply>");
  }

  // True when `holds` is true now and stays true while the scanner's 500 ms tick comes round
  // several times.
  static bool Stays(const std::function<bool()>& holds) {
    return holds() && !WaitFor([&] { return !holds(); }, 3s);
  }

  bool LastIs(const std::string& message) const {
    const std::vector<roomsim::RenderedLine> lines = Lines();
    return !lines.empty() && lines.back().message == message;
  }
  // Nothing is said after the room's last line, `message`.
  bool StaysLast(const std::string& message) const {
    return Stays([&] { return LastIs(message); });
  }

  bool WaitForLinks(std::size_t count) {
    return WaitFor([&] { return linkLog.Lines().size() >= count; }, 30s);
  }

  const std::string user;
  NoProcessLeftBehind noProcessLeftBehind;
  TempFile linkLog{"room-links"};
  std::unique_ptr<Roomsim> room =
      std::make_unique<Roomsim>(Roomsim::Options{"Lobby", user, linkLog.path().string()});
  ToolProcess tool;
};

}  // namespace e2e
