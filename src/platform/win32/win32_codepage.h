#pragma once
// The system's ANSI code page (CP_ACP).

#include <array>

#include "platform/codepage.h"

namespace tv::platform {

class Win32CodePage final : public CodePage {
 public:
  Win32CodePage();
  std::string ToAnsi(std::wstring_view text) const override;
  std::optional<std::string> ToAnsiExact(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view text) const override;
  std::size_t MaxCharSize() const override { return maxCharSize_; }
  bool IsLeadByte(unsigned char byte) const override { return leadBytes_[byte]; }

 private:
  bool utf8_ = false;
  std::size_t maxCharSize_ = 0;
  std::array<bool, 256> leadBytes_{};
};

}  // namespace tv::platform
