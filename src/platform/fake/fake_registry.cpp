#include "platform/fake/fake_registry.h"

#include <algorithm>

namespace tv::platform {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return text;
}

}  // namespace

FakeRegistry::Key FakeRegistry::MakeKey(RegistryRoot root, const std::string& subKey,
                                        const std::string& valueName) {
  return {root, Lower(subKey), Lower(valueName)};
}

void FakeRegistry::Set(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                       RegistryValue value) {
  values_[MakeKey(root, subKey, valueName)] = std::move(value);
}

void FakeRegistry::SetDword(RegistryRoot root, const std::string& subKey,
                            const std::string& valueName, std::uint32_t value) {
  RegistryValue stored{kRegDword, {}};
  for (int i = 0; i < 4; ++i) stored.data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  Set(root, subKey, valueName, std::move(stored));
}

void FakeRegistry::SetString(RegistryRoot root, const std::string& subKey,
                             const std::string& valueName, const std::string& value) {
  RegistryValue stored{kRegSz, std::vector<std::uint8_t>(value.begin(), value.end())};
  stored.data.push_back(0);
  Set(root, subKey, valueName, std::move(stored));
}

std::optional<RegistryValue> FakeRegistry::QueryValue(RegistryRoot root, const std::string& subKey,
                                                      const std::string& valueName) {
  log_.push_back(Query{root, subKey, valueName});
  const auto it = values_.find(MakeKey(root, subKey, valueName));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

}  // namespace tv::platform
