#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_registry.h"
#include "platform/fake/latin1_codepage.h"
#include "sysinfo/registry_value.h"

namespace tv::sysinfo {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

struct ValueCase {
  const char* what;
  RegistryValue stored;
  std::wstring expected;
};

TEST(ReadRegistryValueTest, ConvertsNumbersAndStringsAndNothingElse) {
  const std::vector<ValueCase> cases = {
      {"dword 7", {platform::kRegDword, {7, 0, 0, 0}}, L"7"},
      {"dword 0", {platform::kRegDword, {0, 0, 0, 0}}, L"0"},
      {"dword 258", {platform::kRegDword, {2, 1, 0, 0}}, L"258"},
      {"dword max", {platform::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, L"4294967295"},
      {"qword 2^40", {platform::kRegQword, {0, 0, 0, 0, 0, 1, 0, 0}}, L"1099511627776"},
      {"qword max",
       {platform::kRegQword, std::vector<std::uint8_t>(8, 0xFF)},
       L"18446744073709551615"},
      {"string", {platform::kRegSz, Bytes(std::string("12\0", 3))}, L"12"},
      {"string without NUL", {platform::kRegSz, Bytes("abc")}, L"abc"},
      {"string with bytes after NUL", {platform::kRegSz, Bytes(std::string("ab\0cd", 5))}, L"ab"},
      {"empty string", {platform::kRegSz, {}}, L""},
      {"latin-1 string", {platform::kRegSz, Bytes("caf\xE9")}, L"caf\u00E9"},
      {"expand string", {platform::kRegExpandSz, Bytes("%windir%\\x")}, L"%windir%\\x"},
      {"short dword", {platform::kRegDword, {7, 0, 0}}, L""},
      {"long dword", {platform::kRegDword, {7, 0, 0, 0, 0, 0, 0, 0}}, L""},
      {"short qword", {platform::kRegQword, {7, 0, 0, 0}}, L""},
      {"big-endian dword", {platform::kRegDwordBigEndian, {0, 0, 0, 7}}, L""},
      {"multi string", {platform::kRegMultiSz, Bytes(std::string("a\0b\0\0", 5))}, L""},
      {"binary", {platform::kRegBinary, {1, 2, 3}}, L""},
      {"none", {0, {7, 0, 0, 0}}, L""},
  };
  const platform::Latin1CodePage codePage;
  for (const ValueCase& c : cases) {
    platform::FakeRegistry registry;
    registry.Set(RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount", c.stored);
    EXPECT_EQ(ReadRegistryValue(registry, codePage,
                                L"HKEY_CURRENT_USER\\SessionInformation\\ProgramCount"),
              c.expected)
        << c.what;
  }
}

struct PathCase {
  std::wstring path;
  bool queried;
  RegistryRoot root;
  std::string subKey;
  std::string valueName;
};

TEST(ReadRegistryValueTest, SplitsThePathIntoRootKeyAndValueName) {
  const std::vector<PathCase> cases = {
      {L"HKEY_CURRENT_USER\\SessionInformation\\ProgramCount", true, RegistryRoot::kCurrentUser,
       "SessionInformation", "ProgramCount"},
      {L"HKCU\\Software\\A\\B\\Val", true, RegistryRoot::kCurrentUser, "Software\\A\\B", "Val"},
      {L"hklm\\Software\\X\\", true, RegistryRoot::kLocalMachine, "Software\\X", ""},
      {L"HKEY_LOCAL_MACHINE\\k\\v", true, RegistryRoot::kLocalMachine, "k", "v"},
      {L"HKCR\\.txt\\", true, RegistryRoot::kClassesRoot, ".txt", ""},
      {L"Hkey_Classes_Root\\k\\v", true, RegistryRoot::kClassesRoot, "k", "v"},
      {L"HKEY_USERS\\.DEFAULT\\v", true, RegistryRoot::kUsers, ".DEFAULT", "v"},
      {L"HKEY_CURRENT_CONFIG\\k\\v", true, RegistryRoot::kCurrentConfig, "k", "v"},
      {L"HKCU\\Value", true, RegistryRoot::kCurrentUser, "", "Value"},
      {L"HKCU\\", true, RegistryRoot::kCurrentUser, "", ""},
      {L"HKCU\\caf\u00E9\\v", true, RegistryRoot::kCurrentUser, "caf\xE9", "v"},
      {L"", false, {}, "", ""},
      {L"ProgramCount", false, {}, "", ""},
      {L"HKEY_CURRENT_USER", false, {}, "", ""},
      {L"HKEY_NOWHERE\\a\\b", false, {}, "", ""},
      {L"HKU\\a\\b", false, {}, "", ""},
      {L"\\HKCU\\a", false, {}, "", ""},
      {L"HKCU\\Soft\u263A\\v", false, {}, "", ""},  // not in the code page: never "Soft?"
  };
  const platform::Latin1CodePage codePage;
  for (const PathCase& c : cases) {
    platform::FakeRegistry registry;
    ReadRegistryValue(registry, codePage, c.path);
    if (!c.queried) {
      EXPECT_TRUE(registry.Log().empty()) << std::string(c.path.begin(), c.path.end());
      continue;
    }
    ASSERT_EQ(registry.Log().size(), 1u) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(registry.Log()[0].root, c.root);
    EXPECT_EQ(registry.Log()[0].subKey, c.subKey);
    EXPECT_EQ(registry.Log()[0].valueName, c.valueName);
  }
}

TEST(ReadRegistryValueTest, AMissingValueGivesTheEmptyTextAndNothingIsCached) {
  const platform::Latin1CodePage codePage;
  platform::FakeRegistry registry;
  const std::wstring path = L"HKCU\\SessionInformation\\ProgramCount";
  EXPECT_EQ(ReadRegistryValue(registry, codePage, path), L"");
  registry.SetDword(RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount", 3);
  EXPECT_EQ(ReadRegistryValue(registry, codePage, path), L"3");
  registry.SetDword(RegistryRoot::kCurrentUser, "SessionInformation", "ProgramCount", 4);
  EXPECT_EQ(ReadRegistryValue(registry, codePage, path), L"4");
  EXPECT_EQ(registry.Log().size(), 3u);
}

}  // namespace
}  // namespace tv::sysinfo
