#include "platform/win32/win32_codepage.h"

#include <windows.h>

namespace tv::platform {

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
