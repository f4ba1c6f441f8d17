#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace tv::platform {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
    case RegistryRoot::kCurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& subKey) {
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~OpenKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<RegistryValue> Win32Registry::QueryValue(RegistryRoot root, const std::string& subKey,
                                                       const std::string& valueName) {
  const HKEY rootKey = RootKey(root);
  if (rootKey == nullptr) return std::nullopt;
  const OpenKey key(rootKey, subKey);
  if (key.get() == nullptr) return std::nullopt;

  // The value can grow between asking for its size and reading it; ask again when it did.
  RegistryValue value;
  DWORD size = 0;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    LONG result = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    result = ::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                value.data.empty() ? nullptr : value.data.data(), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return std::nullopt;
    value.type = type;
    value.data.resize(size);
    return value;
  }
  return std::nullopt;
}

}  // namespace tv::platform
