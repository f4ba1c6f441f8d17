#include "platform/win32/win32_codepage.h"

#include <windows.h>

namespace tv::platform {

// The layout is read once: the ANSI code page is fixed for the life of a process.
Win32CodePage::Win32CodePage() {
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

std::wstring Win32CodePage::FromAnsi(std::string_view text) const {
  if (text.empty()) return {};
  const int narrow = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrow, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), narrow, out.data(), size);
  return out;
}

}  // namespace tv::platform
