// The release installer, as a user meets it: a silent install into Program Files with a Start-menu
// folder and an uninstaller in Add/Remove Programs, the installed tool started from its Start-menu
// entry, and an uninstall that leaves nothing behind. The installer is the one of this program's
// bitness (win32 or win64) that scripts/package.sh made, in the folder named by TV_PACKAGE_DIR
// (scripts/e2e.sh sets it).

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "support/e2e.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr wchar_t kFolderName[] = L"Tavik Varrow V.2";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TavikVarrow";
// Where the installer keeps its folder and Start-menu choice.
constexpr wchar_t kVendorKey[] = L"Software\\Tavik Varrow authors";
const std::vector<std::wstring> kInstalledFiles = {
    L"tavik-varrow.exe", L"roomsim.exe",       L"README.md",    L"LICENSE",
    L"CHANGELOG.md",     L"roomsim-README.md", L"Uninstall.exe"};

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

fs::path ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                        : L"";
}

// The installer under test has this program's bitness. Windows files a 32-bit program into the
// 32-bit Program Files and registry view ("Program Files (x86)" and WOW6432Node on 64-bit
// Windows) and a 64-bit one into the native ones; a 32-bit process sees its own as the plain
// names, a 64-bit one names the 32-bit folder apart.
constexpr bool kInstaller64 = sizeof(void*) == 8;
constexpr const wchar_t* kArch = kInstaller64 ? L"win64" : L"win32";
constexpr REGSAM kView = kInstaller64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

fs::path InstallDir() { return ShellFolder(CSIDL_PROGRAM_FILES) / kFolderName; }

// Whether 32-bit and 64-bit programs have places of their own: on 64-bit Windows.
bool TwoBitnesses() {
  BOOL wow64 = FALSE;
  return kInstaller64 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

// The other bitness's folder, where this installer must put nothing.
fs::path OtherInstallDir() {
  if (kInstaller64) return ShellFolder(CSIDL_PROGRAM_FILESX86) / kFolderName;
  wchar_t native[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"ProgramW6432", native, MAX_PATH);
  return length > 0 && length < MAX_PATH ? fs::path(native) / kFolderName : fs::path();
}

// The installer puts its entries into all users' Start menu when it runs as an administrator and
// into the user's own otherwise; whichever holds them.
fs::path StartMenuDir() {
  for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    fs::path dir = ShellFolder(csidl) / kFolderName;
    if (fs::exists(dir)) return dir;
  }
  return {};
}

std::optional<std::wstring> UninstallValue(const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  const DWORD view = kInstaller64 ? RRF_SUBKEY_WOW6464KEY : RRF_SUBKEY_WOW6432KEY;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ | view, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool KeyExists(const wchar_t* path, REGSAM view = kView) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool Registered() { return KeyExists(kUninstallKey); }

// The product version in a program's version resource, "major.minor.patch".
std::string ProductVersion(const fs::path& exe) {
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (image == nullptr) return "";
  std::string version;
  HRSRC info = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  const auto* bytes =
      info ? static_cast<const BYTE*>(LockResource(LoadResource(image, info))) : nullptr;
  const DWORD size = info ? SizeofResource(image, info) : 0;
  // VS_FIXEDFILEINFO starts with its signature, 32-bit aligned, after the block's header.
  for (DWORD at = 0; bytes != nullptr && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO fixed;
    memcpy(&fixed, bytes + at, sizeof fixed);
    if (fixed.dwSignature != VS_FFI_SIGNATURE) continue;
    version = std::to_string(HIWORD(fixed.dwProductVersionMS)) + "." +
              std::to_string(LOWORD(fixed.dwProductVersionMS)) + "." +
              std::to_string(HIWORD(fixed.dwProductVersionLS));
    break;
  }
  FreeLibrary(image);
  return version;
}

// Runs a command line and waits for it; its exit code, or nothing when it did not start or end.
std::optional<DWORD> RunAndWait(const std::wstring& command,
                                std::chrono::milliseconds deadline = 60s) {
  PROCESS_INFORMATION process = e2e::Launch(command);
  std::optional<DWORD> result;
  DWORD code = 0;
  if (process.hProcess != nullptr &&
      WaitForSingleObject(process.hProcess, static_cast<DWORD>(deadline.count())) ==
          WAIT_OBJECT_0 &&
      GetExitCodeProcess(process.hProcess, &code)) {
    result = code;
  }
  e2e::End(process);
  return result;
}

bool NothingInstalled() {
  return !fs::exists(InstallDir()) && StartMenuDir().empty() && !Registered();
}

// One install for the suite, checked, started, installed again and finally uninstalled, in
// that order.
class PackageE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    PrepareWine();
    wchar_t dir[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TV_PACKAGE_DIR", dir, MAX_PATH) == 0) {
      problem_ = "TV_PACKAGE_DIR names no folder: run `make package`, then this through e2e.sh";
      return;
    }
    const std::wregex name(LR"(tavik-varrow-(\d+\.\d+\.\d+)-)" + std::wstring(kArch) + LR"(\.exe)");
    std::vector<fs::path> found;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir, ignored)) {
      std::wsmatch match;
      const std::wstring file = entry.path().filename().wstring();
      if (std::regex_match(file, match, name)) {
        found.push_back(entry.path());
        version_ = Narrow(match[1]);
      }
    }
    if (found.size() != 1) {
      problem_ = "want exactly one installer in " + Narrow(dir);
      return;
    }
    installer_ = found.front();
    e2e::KillAll(L"tavik-varrow.exe");
    Uninstall();  // an install that an earlier, broken run left behind
    if (!NothingInstalled()) {
      problem_ = "an earlier install is in the way";
    } else if (Install() != std::optional<DWORD>(0)) {
      problem_ = "the silent install failed";
    }
  }

  static void TearDownTestSuite() {
    // A program still running would keep its file from being removed.
    e2e::KillAll(L"tavik-varrow.exe");
    e2e::KillAll(L"roomsim.exe");
    Uninstall();
    RestoreWine();
  }

  void SetUp() override {
    ASSERT_EQ(problem_, "");
    RecordProperty("installer", Narrow(installer_.wstring()));
  }

  static std::optional<DWORD> Install() {
    return RunAndWait(L"\"" + installer_.wstring() + L"\" /S");
  }

  // The uninstaller hands over to a copy of itself in the temp folder and ends at once, so the
  // removal is awaited rather than the process.
  static bool Uninstall() {
    const std::optional<std::wstring> command = UninstallValue(L"UninstallString");
    if (!command) return NothingInstalled();
    RunAndWait(*command + L" /S");
    return e2e::WaitFor(NothingInstalled, 60s);
  }

  // Exactly the files meant to be installed.
  static void ExpectInstalledFiles() {
    for (const std::wstring& file : kInstalledFiles) {
      EXPECT_TRUE(fs::is_regular_file(InstallDir() / file)) << Narrow(file);
    }
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(InstallDir(), ignored)) {
      const std::wstring file = entry.path().filename().wstring();
      EXPECT_NE(std::find(kInstalledFiles.begin(), kInstalledFiles.end(), file),
                kInstalledFiles.end())
          << "not meant to be installed: " << Narrow(file);
    }
  }

  // Wine copies every new shortcut into the Linux desktop's menu, where no uninstaller reaches
  // it: while these tests run, its menu builder is switched off in the prefix (an override in the
  // environment does not reach the installer's children).
  static void PrepareWine() {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) return;
    if (kInstaller64) AddProgramFiles32();
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kWineOverridesKey, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &wineOverrides_,
                        nullptr) != ERROR_SUCCESS) {
      return;
    }
    DWORD size = 0;
    hadMenuBuilderOverride_ = RegQueryValueExW(wineOverrides_, kMenuBuilder, nullptr, nullptr,
                                               nullptr, &size) == ERROR_SUCCESS;
    if (!hadMenuBuilderOverride_) {
      RegSetValueExW(wineOverrides_, kMenuBuilder, 0, REG_SZ, reinterpret_cast<const BYTE*>(L""),
                     sizeof(wchar_t));
    }
  }

  static void RestoreWine() {
    HKEY key = nullptr;
    if (addedProgramFiles32_ &&
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                      &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, kProgramFilesDir);
      RegCloseKey(key);
    }
    addedProgramFiles32_ = false;
    if (wineOverrides_ == nullptr) return;
    if (!hadMenuBuilderOverride_) RegDeleteValueW(wineOverrides_, kMenuBuilder);
    RegCloseKey(wineOverrides_);
    wineOverrides_ = nullptr;
  }

  // Windows keeps ProgramFilesDir in both registry views; a Wine without its 32-bit half has it in
  // the 64-bit one only, which would hide a 64-bit installer that reads the 32-bit one (NSIS's
  // $PROGRAMFILES64 does). While these tests run, Wine has both.
  static void AddProgramFiles32() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
      return;
    }
    const std::wstring x86 = ShellFolder(CSIDL_PROGRAM_FILESX86).wstring();
    if (!x86.empty() && RegQueryValueExW(key, kProgramFilesDir, nullptr, nullptr, nullptr,
                                         nullptr) != ERROR_SUCCESS) {
      addedProgramFiles32_ =
          RegSetValueExW(key, kProgramFilesDir, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(x86.c_str()),
                         static_cast<DWORD>((x86.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
  }

  static constexpr wchar_t kWineOverridesKey[] = L"Software\\Wine\\DllOverrides";
  static constexpr wchar_t kMenuBuilder[] = L"winemenubuilder.exe";  // "": not to be loaded
  static inline HKEY wineOverrides_ = nullptr;
  static inline bool hadMenuBuilderOverride_ = false;
  static constexpr wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
  static constexpr wchar_t kProgramFilesDir[] = L"ProgramFilesDir";
  static inline bool addedProgramFiles32_ = false;

  static inline std::string problem_;
  static inline fs::path installer_;
  static inline std::string version_;
};

TEST_F(PackageE2E, InstallsIntoProgramFilesTheStartMenuAndAddRemovePrograms) {
  RecordProperty("install_dir", Narrow(InstallDir().wstring()));
  ExpectInstalledFiles();
  if (TwoBitnesses()) {
    const fs::path other = OtherInstallDir();
    EXPECT_FALSE(!other.empty() && fs::exists(other)) << Narrow(other.wstring());
    const REGSAM otherView = kInstaller64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    EXPECT_FALSE(KeyExists(kUninstallKey, otherView)) << "registered in the other view too";
  }
  // One version throughout: the installer's name, the registration and the program's resource.
  const std::wstring version(version_.begin(), version_.end());
  const std::pair<const wchar_t*, std::wstring> values[] = {
      {L"DisplayName", kFolderName},
      {L"Publisher", L"Tavik Varrow authors"},
      {L"UninstallString", L"\"" + (InstallDir() / L"Uninstall.exe").wstring() + L"\""},
      {L"DisplayVersion", version},
  };
  for (const auto& [name, value] : values) {
    EXPECT_EQ(UninstallValue(name), std::optional<std::wstring>(value)) << Narrow(name);
  }
  EXPECT_EQ(ProductVersion(InstallDir() / L"tavik-varrow.exe"), version_);
  const fs::path menu = StartMenuDir();
  ASSERT_FALSE(menu.empty()) << "no Start-menu folder " << Narrow(kFolderName);
  RecordProperty("start_menu", Narrow(menu.wstring()));
  for (const wchar_t* shortcut :
       {L"Tavik Varrow V.2.lnk", L"roomsim (stand-in chat room).lnk", L"Uninstall.lnk"}) {
    EXPECT_TRUE(fs::is_regular_file(menu / shortcut)) << Narrow(shortcut);
  }
}

// Opened as the shell does, each entry shows the window of the installed program, not of one from
// the build folder.
TEST_F(PackageE2E, StartMenuEntriesStartTheInstalledPrograms) {
  struct Entry {
    const wchar_t* shortcut;
    const wchar_t* windowClass;
    const wchar_t* exe;
  };
  for (const Entry& entry :
       {Entry{L"Tavik Varrow V.2.lnk", L"TavikVarrowForm1", L"tavik-varrow.exe"},
        Entry{L"roomsim (stand-in chat room).lnk", L"AIM_ChatWnd", L"roomsim.exe"}}) {
    SCOPED_TRACE(Narrow(entry.shortcut));
    e2e::KillAll(entry.exe);
    const fs::path link = StartMenuDir() / entry.shortcut;
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.lpFile = link.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open)) << "ShellExecuteEx failed: " << GetLastError();
    HWND window = nullptr;
    ASSERT_TRUE(e2e::WaitFor(
        [&] {
          window = FindWindowW(entry.windowClass, nullptr);
          return window != nullptr && IsWindowVisible(window);
        },
        60s));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    std::error_code ignored;
    EXPECT_TRUE(QueryFullProcessImageNameW(process, 0, image, &length) &&
                fs::equivalent(image, InstallDir() / entry.exe, ignored))
        << Narrow(image);
    // The tool ends when its window closes; a closed room would keep roomsim waiting for a
    // rejoin link for a while, so that one is ended.
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (entry.windowClass == std::wstring(L"AIM_ChatWnd")) e2e::KillAll(entry.exe);
    EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0) << "it did not end";
    CloseHandle(process);
  }
}

TEST_F(PackageE2E, InstallingAgainReplacesTheEarlierInstall) {
  ASSERT_EQ(Install(), std::optional<DWORD>(0));
  ExpectInstalledFiles();
  EXPECT_TRUE(Registered());
}

TEST_F(PackageE2E, TheUninstallerRemovesEverything) {
  const std::optional<std::wstring> command = UninstallValue(L"UninstallString");
  ASSERT_TRUE(command.has_value());
  RunAndWait(*command + L" /S");
  const std::pair<const char*, bool (*)()> gone[] = {
      {"the install folder", [] { return !fs::exists(InstallDir()); }},
      {"the Start-menu folder", [] { return StartMenuDir().empty(); }},
      {"the registration", [] { return !Registered(); }},
      {"its registry key", [] { return !KeyExists(kVendorKey); }},
  };
  for (const auto& [what, isGone] : gone) {
    EXPECT_TRUE(e2e::WaitFor(isGone, 60s)) << what << " is still there";
  }
}

}  // namespace
