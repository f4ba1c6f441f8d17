#pragma once
// Reading one registry value. Mirrors advapi32's RegOpenKeyExA (KEY_QUERY_VALUE),
// RegQueryValueExA and RegCloseKey in one call.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tv::platform {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };

// The value types, with their Win32 numbers.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

struct RegistryValue {
  std::uint32_t type = 0;
  // The stored bytes as they are: strings are ANSI and need not end in a NUL, and numbers are
  // whatever length the writer gave them.
  std::vector<std::uint8_t> data;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // The value `valueName` (empty: the key's default value) of the key `subKey` (empty: the root
  // itself). Names are ANSI and matched without regard to case. nullopt when the key or value
  // does not exist or cannot be read.
  virtual std::optional<RegistryValue> QueryValue(RegistryRoot root, const std::string& subKey,
                                                  const std::string& valueName) = 0;
};

}  // namespace tv::platform
