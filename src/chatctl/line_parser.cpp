#include "chatctl/line_parser.h"

#include <algorithm>

#include "common/text.h"

namespace tv::chatctl {
namespace {

constexpr std::wstring_view kLineMark = L"<br>";
constexpr std::wstring_view kTimeStampOpen = L"<!-- (";
constexpr std::wstring_view kOwnColour = L"#ff0000";

}  // namespace

std::wstring GetLastLine(std::wstring_view tail) {
  const std::size_t at = ToLower(tail).rfind(kLineMark);
  if (at == std::wstring::npos) return {};
  return std::wstring(tail.substr(at, tail.size() - at - 1));
}

std::wstring ExtractTimeStamp(std::wstring_view line) {
  const std::size_t open = line.find(kTimeStampOpen);
  // Without the comment the collection starts at the sixth character, as the 1-based search
  // result 0 plus the comment's length would have it.
  std::size_t at =
      open == std::wstring_view::npos ? kTimeStampOpen.size() - 1 : open + kTimeStampOpen.size();
  std::wstring stamp;
  for (; at + 1 < line.size() && line[at] != L')'; ++at) stamp += line[at];
  return stamp;
}

std::wstring StripLineMarkup(std::wstring_view line) {
  if (line.find(kOwnColour) == std::wstring_view::npos) return {};
  std::wstring text;
  const std::size_t examined = line.empty() ? 0 : line.size() - 1;
  for (std::size_t i = 0; i < examined; ++i) {
    if (line[i] != L'<') {
      if (line[i] != L'>') text += line[i];
      continue;
    }
    while (i < examined && line[i] != L'>') ++i;
    if (i >= examined) break;  // an unfinished tag drops the rest of the line
  }
  return text;
}

ChatLine ParseLine(std::wstring_view line) {
  ChatLine parsed;
  parsed.datesaid = L"{" + ExtractTimeStamp(line) + L"}";
  const std::wstring stripped = StripLineMarkup(line);
  const std::size_t colon = stripped.find(L':');
  if (colon == std::wstring::npos) {
    if (!stripped.empty()) parsed.whatsaid = stripped.substr(1);
  } else {
    parsed.whosaid = stripped.substr(0, colon);
    parsed.whatsaid = stripped.substr(std::min(colon + 2, stripped.size()));
  }
  return parsed;
}

}  // namespace tv::chatctl
