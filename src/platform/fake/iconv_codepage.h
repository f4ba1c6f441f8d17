#pragma once
// An ANSI code page for native tests, converted by the C library's iconv as Windows converts:
// "?" for a character the page lacks (iconv knows no best fit, so ToAnsiExact refuses it), U+FFFD
// for a byte that starts no character, and wide text in UTF-16 units. Latin-1 unless told
// otherwise.

#include <memory>
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

  std::string ToAnsi(std::wstring_view text) const override;
  std::optional<std::string> ToAnsiExact(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view text) const override;
  std::size_t MaxCharSize() const override { return maxCharSize_; }
  bool IsLeadByte(unsigned char byte) const override { return isLead_ && isLead_(byte); }

 private:
  static std::shared_ptr<void> Open(const std::string& to, const std::string& from);

  std::size_t maxCharSize_;
  LeadTest isLead_;
  std::shared_ptr<void> toAnsi_, fromAnsi_;  // iconv descriptors, reset before each use
};

}  // namespace tv::platform
