#include "support/room.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <optional>

#include "app/control_ids.h"
#include "roomsim_client.h"

namespace e2e {

RoomLines Lines() { return roomsim::ParseTranscript(Roomsim::Transcript()); }

int CountOwn(const RoomLines& lines, const std::string& message) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
    return line.ownLine && line.message == message;
  }));
}

RoomLines::const_reverse_iterator LastOwn(const RoomLines& lines, const std::string& message) {
  return std::find_if(lines.rbegin(), lines.rend(),
                      [&](const auto& line) { return line.ownLine && line.message == message; });
}

bool StartScan(const ToolProcess& tool, const std::string& user, const std::string& userKey) {
  const std::string found = "[Found User '" + user + "']";
  const int before = CountOwn(Lines(), found);
  return tool.Click(tv::app::kCheck1) && WaitFor([&] {
           const RoomLines lines = Lines();
           return CountOwn(lines, "[Tavik Varrow V.2][Searching User]") > 0 &&
                  CountOwn(lines, found) > before && tool.Text(tv::app::kText1) == userKey;
         });
}

bool ToolHasLooked() {
  const std::optional<std::size_t> before = roomsim::client::TranscriptPolls();
  return before && WaitFor([&] {
           const std::optional<std::size_t> now = roomsim::client::TranscriptPolls();
           return now && *now >= *before + 2;
         });
}

std::string Reply(const std::string& command, std::chrono::milliseconds deadline) {
  if (!roomsim::client::TypeAsUser(command)) return "<roomsim refused the line>";
  std::string reply = "<no reply>";
  const auto own = [](const roomsim::RenderedLine& line) { return line.ownLine; };
  WaitFor(
      [&] {
        const RoomLines lines = Lines();
        const auto typed = LastOwn(lines, command);
        const auto next = std::find_if(typed.base(), lines.end(), own);
        if (typed == lines.rend() || next == lines.end()) return false;
        reply = next->message;
        return true;
      },
      deadline);
  return reply;
}

std::vector<std::string> LinksIn(const std::filesystem::path& log) {
  std::ifstream file(log);
  std::vector<std::string> links;
  for (std::string link; std::getline(file, link);) links.push_back(link);
  return links;
}

}  // namespace e2e
