#include "platform/fake/iconv_codepage.h"

#include <iconv.h>

#include <algorithm>
#include <stdexcept>

namespace tv::platform {
namespace {

// `bad` stands for each piece of `unit` bytes that does not convert; `failed` counts them.
std::string Convert(iconv_t cd, std::string_view in, std::size_t unit, std::string_view bad,
                    int* failed = nullptr) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(in.size() * 4 + 8, '\0');  // room for the worst case either way
  char* src = const_cast<char*>(in.data());
  char* dst = out.data();
  std::size_t left = in.size(), room = out.size();
  while (iconv(cd, &src, &left, &dst, &room) == static_cast<std::size_t>(-1)) {
    if (failed != nullptr) ++*failed;
    dst = std::copy(bad.begin(), bad.end(), dst);
    room -= bad.size();
    src += std::min(unit, left);
    left -= std::min(unit, left);
  }
  out.resize(out.size() - room);
  return out;
}

}  // namespace

std::shared_ptr<void> IconvCodePage::Open(const std::string& to, const std::string& from) {
  const iconv_t cd = iconv_open(to.c_str(), from.c_str());
  // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: " + from + " to " + to);
  return {cd, iconv_close};
}

std::string IconvCodePage::ToAnsi(std::wstring_view text) const {
  const std::u32string wide(text.begin(), text.end());
  return Convert(toAnsi_.get(), {reinterpret_cast<const char*>(wide.data()), wide.size() * 4}, 4,
                 "?");
}

std::optional<std::string> IconvCodePage::ToAnsiExact(std::wstring_view text) const {
  const std::u32string wide(text.begin(), text.end());
  int failed = 0;
  std::string out =
      Convert(toAnsi_.get(), {reinterpret_cast<const char*>(wide.data()), wide.size() * 4}, 4, "?",
              &failed);
  if (failed > 0) return std::nullopt;
  return out;
}

std::wstring IconvCodePage::FromAnsi(std::string_view text) const {
  const std::string units = Convert(fromAnsi_.get(), text, 1, "\xFD\xFF");
  std::wstring out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    out += static_cast<wchar_t>(static_cast<unsigned char>(units[i]) |
                                static_cast<unsigned char>(units[i + 1]) << 8);
  }
  return out;
}

}  // namespace tv::platform
