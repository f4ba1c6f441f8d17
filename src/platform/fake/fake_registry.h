#pragma once
// An in-memory registry: values set by the test, names matched without regard to (ASCII) case as
// Windows does. Logs every query, in order.

#include <map>
#include <tuple>

#include "platform/registry.h"

namespace tv::platform {

class FakeRegistry final : public Registry {
 public:
  struct Query {
    RegistryRoot root = RegistryRoot::kCurrentUser;
    std::string subKey;
    std::string valueName;
  };

  void Set(RegistryRoot root, const std::string& subKey, const std::string& valueName,
           RegistryValue value);
  void SetDword(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                std::uint32_t value);
  void SetString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                 const std::string& value);  // stored with its NUL, as RegSetValueExA is told to

  const std::vector<Query>& Log() const { return log_; }

  std::optional<RegistryValue> QueryValue(RegistryRoot root, const std::string& subKey,
                                          const std::string& valueName) override;

 private:
  using Key = std::tuple<RegistryRoot, std::string, std::string>;
  static Key MakeKey(RegistryRoot root, const std::string& subKey, const std::string& valueName);

  std::map<Key, RegistryValue> values_;
  std::vector<Query> log_;
};

}  // namespace tv::platform
