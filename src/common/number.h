#pragma once
// The number test of the chat commands ("/rj", "/ct", "/join") and of the join-by-name field.
// Only plain decimal notation counts: no thousands separators, currency signs, hexadecimal forms,
// "inf" or "nan". Parsing is locale-independent.

#include <optional>
#include <string>
#include <string_view>

namespace tv {

// The value of `text` when the whole of it is a decimal number: optional blanks (U+0020) around
// it, an optional sign, digits with at most one decimal point (at least one digit, before or
// after the point), and an optional exponent ("e" or "E", an optional sign, digits). A number too
// small for a double reads as 0; one too large for it is no number. Otherwise nothing.
std::optional<double> NumberValue(std::wstring_view text);

bool IsNumber(std::wstring_view text);

// The value of the longest decimal number (as above) at the start of `text`, after leading
// blanks: "4x" gives 4, "4.5.6" gives 4.5, "1e5x" 100000, "1ex" 1. 0 when the text starts with no
// number ("room4", "", "."), or with one too large for a double.
double LeadingNumberValue(std::wstring_view text);

// The shortest text that reads back as `value`, always in plain positional notation: "4", "4.5",
// "0.0001", "100000000000000000000". There is never an exponent, since the text goes into a room
// link, where the "+" of "1e+20" would read as a blank. Integers beyond 2^53 show every digit of
// their binary value. Negative zero gives "0".
std::wstring ShortestDecimal(double value);

}  // namespace tv
