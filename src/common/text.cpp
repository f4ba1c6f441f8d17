#include "common/text.h"

namespace tv {

wchar_t LowerChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  if (c < 0xC0) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) ||     // Latin-1 capitals
      (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||  // Greek
      (c >= 0x410 && c <= 0x42F)) {                // Cyrillic
    return static_cast<wchar_t>(c + 32);
  }
  if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
  if (c == 0x178) return 0xFF;
  // Latin Extended-A: capitals at even code points, except in the run 0x139-0x148 and
  // 0x179-0x17E, where they sit at odd ones; 0x130 and 0x138 have no simple pair.
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F) {
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool isCapital = oddCapitals ? (c % 2 == 1) : (c % 2 == 0);
    return isCapital ? static_cast<wchar_t>(c + 1) : c;
  }
  return c;
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = LowerChar(c);
  return out;
}

std::wstring RemoveAll(std::wstring_view text, std::wstring_view what) {
  if (what.empty()) return std::wstring(text);
  std::wstring out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(what); at != std::wstring_view::npos;
       at = text.find(what, from)) {
    out.append(text.substr(from, at - from));
    from = at + what.size();
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace tv
