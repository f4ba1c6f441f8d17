#pragma once
// The system's 8-bit ANSI code page: text is wide inside the tool and ANSI where it crosses to
// another program.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tv::platform {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Characters the code page lacks become its default character ("?").
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
  // Nothing when a character has no exact equivalent in the code page: never a best-fit look-alike
  // (a fullwidth quotation mark for '"') nor the default character.
  virtual std::optional<std::string> ToAnsiExact(std::wstring_view text) const = 0;
  virtual std::wstring FromAnsi(std::string_view text) const = 0;

  // The most bytes one character takes (GetCPInfo's MaxCharSize): 1 for single-byte pages, 2 for
  // the double-byte ones (932, 936, 949, 950), 4 for UTF-8 (65001); 0 when unknown.
  virtual std::size_t MaxCharSize() const = 0;
  // Whether the byte opens a two-byte character (the lead-byte ranges of a double-byte page).
  virtual bool IsLeadByte(unsigned char byte) const = 0;
};

}  // namespace tv::platform
