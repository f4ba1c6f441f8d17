#include "transcript_markup.h"

#include <cstdio>

namespace roomsim {
namespace {

std::string WithoutTags(std::string_view text) {
  std::string out;
  bool inTag = false;
  for (char c : text) {
    if (c == '<') {
      inTag = true;
    } else if (c == '>') {
      inTag = false;
    } else if (!inTag) {
      out += c;
    }
  }
  return out;
}

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < what.size() && lower(text[i + k]) == lower(what[k])) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

RenderedLine ParseOne(std::string_view line) {
  RenderedLine out;
  const std::size_t stampOpen = line.find("<!-- (");
  const std::size_t stampClose =
      line.find(") -->", stampOpen == std::string_view::npos ? 0 : stampOpen);
  const std::string_view head = line.substr(0, stampOpen);
  out.ownLine = head.find(kOwnColour) != std::string_view::npos;
  std::string speaker = WithoutTags(head);
  if (!speaker.empty() && speaker.front() == ' ') speaker.erase(0, 1);
  out.speaker = speaker;
  if (stampOpen != std::string_view::npos && stampClose != std::string_view::npos) {
    out.clock = std::string(line.substr(stampOpen + 6, stampClose - stampOpen - 6));
    std::string_view rest = line.substr(stampClose + 5);
    if (rest.substr(0, 2) == ": ") rest.remove_prefix(2);
    out.message = WithoutTags(rest);
  } else {
    out.message = WithoutTags(line.substr(head.size()));
  }
  return out;
}

}  // namespace

std::string FormatClock(int hour24, int minute, int second) {
  const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, minute, second,
                hour24 < 12 ? "AM" : "PM");
  return buffer;
}

std::string FormatLine(std::string_view speaker, std::string_view message, bool ownLine,
                       std::string_view clock) {
  std::string line = "<BR> <FONT COLOR=\"";
  line += ownLine ? kOwnColour : kOtherColour;
  line += "\">";
  line += speaker;
  line += "</FONT><!-- (";
  line += clock;
  line += ") -->: <FONT COLOR=\"";
  line += kMessageColour;
  line += "\">";
  line += message;
  line += "</FONT>";
  return line;
}

std::vector<RenderedLine> ParseTranscript(std::string_view markup) {
  std::vector<RenderedLine> lines;
  std::size_t at = FindNoCase(markup, "<br>", 0);
  while (at != std::string_view::npos) {
    const std::size_t next = FindNoCase(markup, "<br>", at + 4);
    const std::size_t end = next == std::string_view::npos ? markup.size() : next;
    lines.push_back(ParseOne(markup.substr(at + 4, end - at - 4)));
    at = next;
  }
  return lines;
}

}  // namespace roomsim
