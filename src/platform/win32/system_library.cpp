#include "platform/win32/system_library.h"

#include <string>

namespace tv::platform {

HMODULE LoadSystemLibrary(const char* name) {
  // Systems without the flag refuse it as an invalid parameter.
  if (HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  return LoadFromSystemFolder(name);
}

HMODULE LoadFromSystemFolder(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return ::LoadLibraryA(path.c_str());
}

}  // namespace tv::platform
