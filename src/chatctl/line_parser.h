#pragma once
// Parsing of the chat transcript's markup: the newest line of a transcript tail, its time stamp,
// its text without tags, and the split into speaker and message. Pure functions; every input is
// valid.

#include <string>
#include <string_view>

namespace tv::chatctl {

// One reported chat line; the arguments of the scanner's event.
struct ChatLine {
  std::wstring whosaid;   // speaker, up to the first ":" of the stripped line
  std::wstring whatsaid;  // message, from the second character after that ":"
  std::wstring datesaid;  // "{" + time stamp + "}"
};

// The newest line of a tail: from its last "<BR>" (any letter case) up to, not including, the
// tail's last character. Empty when the tail has no "<BR>".
std::wstring GetLastLine(std::wstring_view tail);

// The text of the time-stamp comment "<!-- (h:mm:ss AM)": from after "<!-- (" (or from the
// sixth character when there is none) up to the first ")", never including the line's last
// character.
std::wstring ExtractTimeStamp(std::wstring_view line);

// The line's text without tags. The last character is never looked at, an unfinished tag drops
// the rest of the line, and any ">" is removed. Lines whose raw markup lacks "#ff0000" (the
// user's own colour) give the empty text.
std::wstring StripLineMarkup(std::wstring_view line);

// The whole ChatLine of a raw line.
ChatLine ParseLine(std::wstring_view line);

}  // namespace tv::chatctl
