#include "win32/scheme_registry.h"

#include <windows.h>

#include <optional>
#include <string>

#include "aim_scheme.h"
#include "win32/handles.h"

namespace roomsim::win32 {
namespace {

constexpr char kSchemeKey[] = "Software\\Classes\\aim";
constexpr char kCommandPath[] = "aim\\shell\\open\\command";

// The default value of HKEY_CLASSES_ROOT\aim\shell\open\command, which merges the user's and the
// machine's registrations.
std::optional<std::string> CurrentOpenCommand() {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kCommandPath, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const UniqueKey key(raw);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::string value(size, '\0');
  if (::RegQueryValueExA(key.get(), nullptr, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(std::min<std::size_t>(size, value.size()));
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

bool SetString(HKEY parent, const char* subKey, const char* name, const std::string& value) {
  HKEY raw = nullptr;
  if (::RegCreateKeyExA(parent, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const UniqueKey key(raw);
  return ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool Register(HKEY root, const std::string& openCommand) {
  const std::string commandKey = std::string(kSchemeKey) + "\\shell\\open\\command";
  return SetString(root, kSchemeKey, nullptr, "URL:AIM Protocol") &&
         SetString(root, kSchemeKey, "URL Protocol", "") &&
         SetString(root, commandKey.c_str(), nullptr, openCommand);
}

}  // namespace

bool ClaimAimScheme() {
  if (!MayClaimAimScheme(CurrentOpenCommand())) return false;
  const std::string exe = ExePath();
  if (exe.empty()) return false;
  const std::string command = AimOpenCommand(exe);
  if (!Register(HKEY_CURRENT_USER, command)) return false;
  return !RunningUnderWine() || Register(HKEY_LOCAL_MACHINE, command);
}

}  // namespace roomsim::win32
