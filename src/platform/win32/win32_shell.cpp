#include "platform/win32/win32_shell.h"

// <shellapi.h> needs the types of <windows.h> first.
#include <windows.h>

#include <shellapi.h>

namespace tv::platform {

std::intptr_t Win32Shell::ShellExecuteA(WindowHandle owner, const std::string& verb,
                                        const std::string& file,
                                        const std::optional<std::string>& parameters,
                                        const std::optional<std::string>& directory,
                                        int showCommand) {
  const HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(owner), verb.c_str(),
                                           file.c_str(), parameters ? parameters->c_str() : nullptr,
                                           directory ? directory->c_str() : nullptr, showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace tv::platform
