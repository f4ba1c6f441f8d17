#include "sysinfo/registry_value.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "common/text.h"

namespace tv::sysinfo {
namespace {

struct SplitPath {
  platform::RegistryRoot root;
  std::wstring subKey;
  std::wstring valueName;
};

std::optional<platform::RegistryRoot> RootNamed(std::wstring_view name) {
  using platform::RegistryRoot;
  static constexpr std::array<std::pair<std::wstring_view, RegistryRoot>, 8> kRoots{{
      {L"hkey_current_user", RegistryRoot::kCurrentUser},
      {L"hkcu", RegistryRoot::kCurrentUser},
      {L"hkey_local_machine", RegistryRoot::kLocalMachine},
      {L"hklm", RegistryRoot::kLocalMachine},
      {L"hkey_classes_root", RegistryRoot::kClassesRoot},
      {L"hkcr", RegistryRoot::kClassesRoot},
      {L"hkey_users", RegistryRoot::kUsers},
      {L"hkey_current_config", RegistryRoot::kCurrentConfig},
  }};
  const std::wstring lower = ToLower(name);
  for (const auto& [rootName, root] : kRoots) {
    if (lower == rootName) return root;
  }
  return std::nullopt;
}

std::optional<SplitPath> Split(const std::wstring& path) {
  const std::size_t first = path.find(L'\\');
  if (first == std::wstring::npos) return std::nullopt;
  const std::optional<platform::RegistryRoot> root =
      RootNamed(std::wstring_view(path).substr(0, first));
  if (!root) return std::nullopt;
  const std::size_t last = path.rfind(L'\\');
  const std::wstring subKey = last > first ? path.substr(first + 1, last - first - 1) : L"";
  return SplitPath{*root, subKey, path.substr(last + 1)};
}

// Little-endian, as the registry stores its numbers; nullopt unless exactly `size` bytes.
std::optional<std::uint64_t> Number(const std::vector<std::uint8_t>& data, std::size_t size) {
  if (data.size() != size) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8) | data[i];
  return value;
}

std::wstring ValueText(const platform::RegistryValue& value, const platform::CodePage& codePage) {
  std::optional<std::uint64_t> number;
  switch (value.type) {
    case platform::kRegDword:
      number = Number(value.data, 4);
      break;
    case platform::kRegQword:
      number = Number(value.data, 8);
      break;
    case platform::kRegSz:
    case platform::kRegExpandSz: {
      // Stored strings need not be terminated, and may carry bytes after their NUL.
      const auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
      return codePage.FromAnsi(std::string(value.data.begin(), end));
    }
    default:
      return {};
  }
  return number ? std::to_wstring(*number) : std::wstring();
}

}  // namespace

std::wstring ReadRegistryValue(platform::Registry& registry, const platform::CodePage& codePage,
                               const std::wstring& path) {
  const std::optional<SplitPath> split = Split(path);
  if (!split) return {};
  const std::string subKey = codePage.ToAnsi(split->subKey);
  const std::string valueName = codePage.ToAnsi(split->valueName);
  // A name the code page cannot carry would reach the registry with "?" in it, and could read
  // some other value.
  if (codePage.FromAnsi(subKey) != split->subKey ||
      codePage.FromAnsi(valueName) != split->valueName)
    return {};
  const std::optional<platform::RegistryValue> value =
      registry.QueryValue(split->root, subKey, valueName);
  if (!value) return {};
  return ValueText(*value, codePage);
}

}  // namespace tv::sysinfo
