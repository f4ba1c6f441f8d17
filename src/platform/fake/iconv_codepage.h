#pragma once
// An ANSI code page for native tests, converted by the C library's iconv as Windows converts:
// "?" for a character the page lacks (iconv knows no best fit, so ToAnsiExact refuses it), U+FFFD
// for a byte that starts no character, and wide text in UTF-16 units. Latin-1 unless told
// otherwise.

#include <iconv.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/codepage.h"

namespace tv::platform {

class IconvCodePage final : public CodePage {
 public:
  using LeadTest = bool (*)(unsigned char);
  explicit IconvCodePage(const std::string& name = "ISO-8859-1", std::size_t maxCharSize = 1,
                         LeadTest isLead = nullptr)
      : maxCharSize_(maxCharSize),
        isLead_(isLead),
        toAnsi_(Open(name, "UTF-32LE")),
        fromAnsi_(Open("UTF-16LE", name)) {}

  std::string ToAnsi(std::wstring_view text) const override {
    return ToAnsiCounting(text, nullptr);
  }
  std::optional<std::string> ToAnsiExact(std::wstring_view text) const override {
    int failed = 0;
    std::string out = ToAnsiCounting(text, &failed);
    return failed > 0 ? std::nullopt : std::optional(std::move(out));
  }
  std::wstring FromAnsi(std::string_view text) const override {
    const std::string units = Convert(fromAnsi_.get(), text, 1, "\xFD\xFF");
    std::wstring out;
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
      out += static_cast<wchar_t>(static_cast<unsigned char>(units[i]) |
                                  static_cast<unsigned char>(units[i + 1]) << 8);
    }
    return out;
  }
  std::size_t MaxCharSize() const override { return maxCharSize_; }
  bool IsLeadByte(unsigned char byte) const override { return isLead_ && isLead_(byte); }

 private:
  static std::shared_ptr<void> Open(const std::string& to, const std::string& from) {
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value
    if (cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv: " + from + " to " + to);
    return {cd, iconv_close};
  }

  // `bad` stands for each piece of `unit` bytes that does not convert; `failed` counts them.
  static std::string Convert(void* cd, std::string_view in, std::size_t unit, std::string_view bad,
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

  std::string ToAnsiCounting(std::wstring_view text, int* failed) const {
    const std::u32string wide(text.begin(), text.end());
    return Convert(toAnsi_.get(), {reinterpret_cast<const char*>(wide.data()), wide.size() * 4}, 4,
                   "?", failed);
  }

  std::size_t maxCharSize_;
  LeadTest isLead_;
  std::shared_ptr<void> toAnsi_, fromAnsi_;  // iconv descriptors, reset before each use
};

}  // namespace tv::platform
