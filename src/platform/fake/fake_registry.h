#pragma once
// An in-memory registry: values set by the test, each query logged in order.

#include <map>
#include <tuple>

#include "platform/registry.h"

namespace tv::platform {

struct FakeRegistry final : Registry {
  struct Query {
    RegistryRoot root = RegistryRoot::kCurrentUser;
    std::string subKey;
    std::string valueName;
    auto operator<=>(const Query&) const = default;  // NOLINT(modernize-use-nullptr): no pointer
  };
  // Strings are stored with their NUL, as RegSetValueExA is told to store them.
  void Set(const Query& at, const std::string& text) {
    values[at] = {kRegSz, std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1)};
  }
  std::optional<RegistryValue> QueryValue(RegistryRoot root, const std::string& subKey,
                                          const std::string& valueName) override {
    log.push_back({root, subKey, valueName});
    const auto found = values.find(log.back());
    return found == values.end() ? std::nullopt : std::optional(found->second);
  }

  std::map<Query, RegistryValue> values;
  std::vector<Query> log;
};

}  // namespace tv::platform
