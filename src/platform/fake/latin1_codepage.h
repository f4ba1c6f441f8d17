#pragma once
// The ANSI code page of the fake desktop: ISO 8859-1, "?" for anything beyond it.

#include "platform/codepage.h"

namespace tv::platform {

class Latin1CodePage final : public CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view text) const override;
  std::size_t MaxCharSize() const override { return 1; }
  bool IsLeadByte(unsigned char /*byte*/) const override { return false; }
};

}  // namespace tv::platform
