#pragma once
// An ANSI code page for native tests, converted by the C library's iconv as Windows converts:
// "?" for a character the page lacks, U+FFFD for a byte that starts no character, and wide text
// in UTF-16 units, surrogate pairs included. Latin-1 unless told otherwise.

#include <string>

#include "platform/codepage.h"

namespace tv::platform {

class IconvCodePage final : public CodePage {
 public:
  // `leadBytes`: the bytes that start a two-byte character, as "\x81-\x9f"-style ranges in pairs
  // (first, last); empty for single-byte pages and UTF-8.
  explicit IconvCodePage(std::string name = "ISO-8859-1", std::size_t maxCharSize = 1,
                         std::string leadBytes = {})
      : name_(std::move(name)), maxCharSize_(maxCharSize), leadBytes_(std::move(leadBytes)) {}

  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view text) const override;
  std::size_t MaxCharSize() const override { return maxCharSize_; }
  bool IsLeadByte(unsigned char byte) const override;

 private:
  std::string name_;
  std::size_t maxCharSize_;
  std::string leadBytes_;
};

}  // namespace tv::platform
