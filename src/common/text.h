#pragma once
// Small text helpers shared by the chat parsing and the interpreter. Lower-casing is done here
// rather than with the C library, whose result depends on the process locale and differs between
// the Windows and the native build.

#include <string>
#include <string_view>

namespace tv {

// Lower case of one character: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic capitals.
wchar_t LowerChar(wchar_t c);

std::wstring ToLower(std::wstring_view text);

// Every occurrence of `what` removed, scanning left to right; nothing when `what` is empty.
std::wstring RemoveAll(std::wstring_view text, std::wstring_view what);

}  // namespace tv
