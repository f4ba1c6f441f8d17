#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <cstring>

namespace tv::platform {

std::vector<std::string> Win32Environment::EnvironmentStrings() {
  // The ANSI block's function is plain GetEnvironmentStrings in the SDK; the A name is a macro.
  char* block = ::GetEnvironmentStrings();
  if (block == nullptr) return {};
  std::vector<std::string> entries;
  for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
    entries.emplace_back(entry);
  }
  ::FreeEnvironmentStringsA(block);
  return entries;
}

}  // namespace tv::platform
