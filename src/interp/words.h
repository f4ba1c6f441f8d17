#pragma once
// The normalised form in which speakers, messages and command words are compared, and the split
// of a message into the words of a command with arguments.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tv::interp {

// Lower case (locale-independent), then every blank (U+0020) removed. Tabs and line breaks stay.
std::wstring Normalise(std::wstring_view text);

// Splits `text` at single blanks into at most `maxPieces` pieces (1 when 0 is given), the last
// piece keeping the rest, blanks included; two blanks in a row give an empty piece. Each piece is
// then normalised. There is always at least one piece: the empty text gives one empty piece.
// "/join  lobby 4" in three pieces: "/join", "", "lobby4".
std::vector<std::wstring> SplitWords(std::wstring_view text, std::size_t maxPieces);

}  // namespace tv::interp
