#include "platform/fake/latin1_codepage.h"

namespace tv::platform {

std::string Latin1CodePage::ToAnsi(std::wstring_view text) const {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += (c >= 0 && c <= 0xFF) ? static_cast<char>(c) : '?';
  return out;
}

std::wstring Latin1CodePage::FromAnsi(std::string_view text) const {
  std::wstring out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

}  // namespace tv::platform
