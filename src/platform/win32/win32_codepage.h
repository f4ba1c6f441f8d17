#pragma once
// The system's ANSI code page (CP_ACP).

#include "platform/codepage.h"

namespace tv::platform {

class Win32CodePage final : public CodePage {
 public:
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view text) const override;
};

}  // namespace tv::platform
