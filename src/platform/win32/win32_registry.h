#pragma once
// The real registry: RegOpenKeyExA, RegQueryValueExA, RegCloseKey.

#include "platform/registry.h"

namespace tv::platform {

class Win32Registry final : public Registry {
 public:
  std::optional<RegistryValue> QueryValue(RegistryRoot root, const std::string& subKey,
                                          const std::string& valueName) override;
};

}  // namespace tv::platform
