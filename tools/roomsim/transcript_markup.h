#pragma once
// The transcript markup of the substitute chat room, shared by roomsim and the native fake chat
// room so that both hand the scanner the same text. Text is ANSI, as the chat client keeps it.
//
// One line:
//   <BR> <FONT COLOR="#ff0000">Tester</FONT><!-- (1:23:45 AM) -->: <FONT COLOR="#000000">hi</FONT>
// The plain blank after <BR> is the character the scanner drops from the speaker; the speaker's
// colour is kOwnColour on the local user's lines and kOtherColour on everybody else's; the
// message goes in as typed, markup included.

#include <string>
#include <string_view>
#include <vector>

namespace roomsim {

inline constexpr std::string_view kOwnColour = "#ff0000";
inline constexpr std::string_view kOtherColour = "#0000ff";
inline constexpr std::string_view kMessageColour = "#000000";

// "h:mm:ss AM" for a time of day given in 24-hour parts.
std::string FormatClock(int hour24, int minute, int second);

// One transcript line, "<BR>" first.
std::string FormatLine(std::string_view speaker, std::string_view message, bool ownLine,
                       std::string_view clock);

// A line of the transcript as shown on screen.
struct RenderedLine {
  std::string speaker;
  bool ownLine = false;
  std::string clock;
  std::string message;  // tags removed
};

// Splits a transcript made of FormatLine lines back into its lines, for display.
std::vector<RenderedLine> ParseTranscript(std::string_view markup);

}  // namespace roomsim
