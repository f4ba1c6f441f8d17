#pragma once
// The system's 8-bit ANSI code page: text is wide inside the tool and ANSI where it crosses to
// another program.

#include <string>
#include <string_view>

namespace tv::platform {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Characters the code page lacks become its default character ("?").
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
  virtual std::wstring FromAnsi(std::string_view text) const = 0;
};

}  // namespace tv::platform
