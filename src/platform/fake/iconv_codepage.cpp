#include "platform/fake/iconv_codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace tv::platform {
namespace {

// Converts `in` from one encoding to another; `bad` stands for each character or byte that does
// not convert, which is then skipped (`unit` bytes of the input).
std::string Convert(const std::string& to, const std::string& from, std::string_view in,
                    std::size_t unit, std::string_view bad) {
  const iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no " + from + to);
  std::string out(in.size() * 4 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size(), room = out.size();
  char* dst = out.data();
  while (left > 0 && iconv(cd, &src, &left, &dst, &room) == static_cast<std::size_t>(-1)) {
    if (errno == E2BIG) throw std::logic_error("iconv: output too small");
    if (bad.size() > room) throw std::logic_error("iconv: output too small");
    dst = std::copy(bad.begin(), bad.end(), dst);
    room -= bad.size();
    const std::size_t skip = std::min(unit, left);
    src += skip;
    left -= skip;
  }
  iconv_close(cd);
  out.resize(out.size() - room);
  return out;
}

}  // namespace

std::string IconvCodePage::ToAnsi(std::wstring_view text) const {
  std::u32string wide;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
    wide += c;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * 4);
  return Convert(name_, "UTF-32LE", bytes, 4, "?");
}

std::wstring IconvCodePage::FromAnsi(std::string_view text) const {
  const std::string units = Convert("UTF-16LE", name_, text, 1, "\xFD\xFF");
  std::wstring out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    out += static_cast<wchar_t>(static_cast<unsigned char>(units[i]) |
                                static_cast<unsigned char>(units[i + 1]) << 8);
  }
  return out;
}

bool IconvCodePage::IsLeadByte(unsigned char byte) const {
  for (std::size_t i = 0; i + 1 < leadBytes_.size(); i += 2) {
    if (byte >= static_cast<unsigned char>(leadBytes_[i]) &&
        byte <= static_cast<unsigned char>(leadBytes_[i + 1]))
      return true;
  }
  return false;
}

}  // namespace tv::platform
