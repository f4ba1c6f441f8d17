#pragma once
// Markup stripping of chat messages before they are compared with the command words.

#include <string>
#include <string_view>

namespace tv::interp {

// `strMessage` without its tags. A tag runs from the leftmost "<" to the first ">" after it;
// tags are removed one at a time until none is left. A ">" before every "<" is plain text, and a
// "<" with no ">" after it ends the stripping: it and the rest stay. Entities, comments and
// quoted ">" get no special treatment. Every text, the empty one included, is valid input.
std::wstring RemoveHTML(std::wstring_view strMessage);

}  // namespace tv::interp
