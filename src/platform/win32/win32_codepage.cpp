#include "platform/win32/win32_codepage.h"

#include <windows.h>

namespace tv::platform {

// The layout is read once: the ANSI code page is fixed for the life of a process.
Win32CodePage::Win32CodePage() : utf8_(::GetACP() == CP_UTF8) {
  CPINFO info{};
  if (::GetCPInfo(CP_ACP, &info) == 0) return;
  maxCharSize_ = info.MaxCharSize;
  // LeadByte holds up to five inclusive ranges, ended by a pair of zeros.
  for (std::size_t i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1] && b < 256; ++b) {
      leadBytes_[b] = true;
    }
  }
}

std::string Win32CodePage::ToAnsi(std::wstring_view text) const {
  if (text.empty()) return {};
  const int wide = static_cast<int>(text.size());
  const int size =
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, out.data(), size, nullptr, nullptr);
  return out;
}

std::optional<std::string> Win32CodePage::ToAnsiExact(std::wstring_view text) const {
  if (text.empty()) return std::string();
  const int wide = static_cast<int>(text.size());
  // UTF-8 holds every character but a lone surrogate, which WC_ERR_INVALID_CHARS refuses; it takes
  // neither of the default-character arguments.
  const DWORD flags = utf8_ ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const used = utf8_ ? nullptr : &usedDefault;
  const int size =
      ::WideCharToMultiByte(CP_ACP, flags, text.data(), wide, nullptr, 0, nullptr, used);
  if (size <= 0 || usedDefault != FALSE) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  if (::WideCharToMultiByte(CP_ACP, flags, text.data(), wide, out.data(), size, nullptr, used) !=
          size ||
      usedDefault != FALSE) {
    return std::nullopt;
  }
  return out;
}

std::wstring Win32CodePage::FromAnsi(std::string_view text) const {
  if (text.empty()) return {};
  const int narrow = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrow, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrow, out.data(), size);
  return out;
}

}  // namespace tv::platform
