#pragma once
// One registry value as text, by its full path.

#include <string>

#include "platform/codepage.h"
#include "platform/registry.h"

namespace tv::sysinfo {

// `path` is a root key ("HKEY_CURRENT_USER" or "HKCU", "HKEY_LOCAL_MACHINE" or "HKLM",
// "HKEY_CLASSES_ROOT" or "HKCR", "HKEY_USERS", "HKEY_CURRENT_CONFIG", any case), the key path and
// the value name, separated by "\"; a path ending in "\" names the key's default value.
// A DWORD or QWORD gives its unsigned decimal digits, a string (REG_SZ, REG_EXPAND_SZ) is given
// unchanged up to its first NUL. Anything else (binary, lists, a number of the wrong length), a
// malformed path, and a missing key or value give the empty text. Nothing is cached.
std::wstring ReadRegistryValue(platform::Registry& registry, const platform::CodePage& codePage,
                               const std::wstring& path);

}  // namespace tv::sysinfo
