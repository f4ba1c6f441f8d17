// The release installer as a user meets it: silent installs of this program's bitness (the one
// scripts/package.sh made, in the folder that TV_PACKAGE_DIR names; scripts/e2e.sh sets it), what
// they put where, the option that starts the tool at log-on, running copies of the tool closed
// before their files are replaced, and an uninstall that leaves nothing, roomsim's registration for
// aim: links included.

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/e2e.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kName[] = L"Tavik Varrow V.2";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TavikVarrow";
// Windows files a 32-bit installer into the 32-bit Program Files and registry view of 64-bit
// Windows and a 64-bit one into the native ones; each test program sees its own as the plain names.
constexpr bool k64 = sizeof(void*) == 8;
const std::wstring kVersion = fs::path(TV_VERSION).wstring();  // of this build and its packages

fs::path Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                        : L"";
}
fs::path InstallDir() { return Folder(CSIDL_PROGRAM_FILES) / kName; }
// All users' Start menu when the installer ran as an administrator, else the user's own.
fs::path StartMenu() {
  const fs::path common = Folder(CSIDL_COMMON_PROGRAMS) / kName;
  return fs::exists(common) ? common : Folder(CSIDL_PROGRAMS) / kName;
}

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A value of the uninstall entry (or another key), in the installer's registry view; empty where
// there is none.
std::wstring Entry(const wchar_t* name, HKEY root = HKEY_LOCAL_MACHINE,
                   const wchar_t* key = kUninstallKey) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  const DWORD view = k64 ? RRF_SUBKEY_WOW6464KEY : RRF_SUBKEY_WOW6432KEY;
  RegGetValueW(root, key, name, RRF_RT_REG_SZ | view, nullptr, value, &size);
  return value;
}
// The current user's entry that starts the tool at log-on.
std::wstring Autostart() { return Entry(kName, HKEY_CURRENT_USER, kRunKey); }

// roomsim's registration as the handler of aim: links in one hive, by its command (empty where
// there is none). scripts/wine-env.sh registers the build's roomsim in both, for the chat tests,
// so one that a step takes away is copied back from the other.
constexpr wchar_t kAimKey[] = L"Software\\Classes\\aim";
constexpr wchar_t kAimCommandKey[] = L"Software\\Classes\\aim\\shell\\open\\command";
std::wstring AimHandler(HKEY hive) { return Entry(L"", hive, kAimCommandKey); }
void SetAimHandler(HKEY hive, const std::wstring& command) {
  RegSetKeyValueW(hive, kAimCommandKey, nullptr, REG_SZ, command.c_str(),
                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}
void CopyAimKey(HKEY from, HKEY to) {
  HKEY source = nullptr;
  HKEY target = nullptr;
  if (RegOpenKeyExW(from, kAimKey, 0, KEY_READ, &source) == ERROR_SUCCESS &&
      RegCreateKeyExW(to, kAimKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
          ERROR_SUCCESS) {
    RegCopyTreeW(source, nullptr, target);
  }
  RegCloseKey(source);
  RegCloseKey(target);
}

// What an install has left: its registration and folders, by name.
std::string Left() {
  return std::string(Entry(L"UninstallString").empty() ? "" : " registration") +
         (fs::exists(InstallDir()) ? " folder" : "") + (fs::exists(StartMenu()) ? " menu" : "") +
         (Autostart().empty() ? "" : " autostart");
}

// The uninstaller hands over to a copy of itself in the temp folder and ends at once: the removal
// is awaited rather than the process.
bool Uninstall() {
  const std::wstring command = Entry(L"UninstallString");
  if (!command.empty()) RunToEnd(command + L" /S");
  return WaitFor([] { return Left().empty(); }, 60s);
}

class PackageE2E : public ::testing::Test {
 protected:
  // The prefix that scripts/wine-env.sh makes is set up for installers as Windows is.
  void SetUp() override {
    KillAll(L"tavik-varrow.exe");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kName);  // no uninstaller may be left for it
    ASSERT_TRUE(Uninstall()) << "an earlier install is in the way:" << Left();
  }

  void TearDown() override {
    KillAll(L"tavik-varrow.exe");  // a running program would keep its file
    Uninstall();
  }
};

TEST_F(PackageE2E, InstallsOverRunningCopiesKeepsTheUsersChoicesAndUninstallsCleanly) {
  wchar_t dir[MAX_PATH] = {};
  GetEnvironmentVariableW(L"TV_PACKAGE_DIR", dir, MAX_PATH);
  const fs::path installer =
      fs::path(dir) / (L"tavik-varrow-" + kVersion + (k64 ? L"-win64.exe" : L"-win32.exe"));
  ASSERT_TRUE(fs::exists(installer)) << installer << ": make package";
  const std::wstring install = L"\"" + installer.wstring() + L"\" /S";
  // A copy running from elsewhere (as from the zip) is closed by the installer itself.
  const ToolProcess unpacked;
  ASSERT_TRUE(unpacked.started());
  ASSERT_EQ(RunToEnd(install), 0u);
  EXPECT_TRUE(unpacked.Ends());
  EXPECT_EQ(Autostart(), L"") << "not asked for";
  std::vector<std::wstring> files;
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(InstallDir(), ignored)) {
    files.push_back(entry.path().filename().wstring());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files,
            (std::vector<std::wstring>{L"CHANGELOG.md", L"LICENSE", L"README.md", L"Uninstall.exe",
                                       L"roomsim-README.md", L"roomsim.exe", L"tavik-varrow.exe"}));
  const std::pair<const wchar_t*, std::wstring> entries[] = {
      {L"DisplayName", kName},
      {L"Publisher", L"Tavik Varrow authors"},
      {L"UninstallString", L"\"" + (InstallDir() / L"Uninstall.exe").wstring() + L"\""},
      {L"DisplayVersion", kVersion},
  };
  for (const auto& [name, value] : entries) EXPECT_EQ(Entry(name), value) << name;
  for (const wchar_t* link :
       {L"Tavik Varrow V.2.lnk", L"roomsim (stand-in chat room).lnk", L"Uninstall.lnk"}) {
    EXPECT_TRUE(fs::is_regular_file(StartMenu() / link)) << link;
  }

  // Opened as the shell opens it, the tool's entry starts the installed program.
  const fs::path link = StartMenu() / L"Tavik Varrow V.2.lnk";
  ASSERT_GT(reinterpret_cast<INT_PTR>(
                ShellExecuteW(nullptr, nullptr, link.c_str(), nullptr, nullptr, SW_SHOWNORMAL)),
            32);
  HWND form = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (form = FindWindowW(L"TavikVarrowForm1", nullptr)); }, 60s));

  // roomsim registered as the aim: handler from the installed folder, the path in other case and
  // with other arguments. The uninstall removes it, while the build's roomsim in the other hive
  // stays (and is then copied back). Upgrades keep it, as roomsim comes back.
  std::wstring roomsim = (InstallDir() / L"roomsim.exe").wstring();
  CharUpperW(roomsim.data());
  const std::wstring mine = L"\"" + roomsim + L"\" \"%1\"";
  SetAimHandler(HKEY_CURRENT_USER, mine);

  // Installed again while it runs, each time silently: the tool is closed first (by the earlier
  // install's uninstaller, which the installer runs), and the start at log-on stays as it was
  // unless the command line says.
  const std::wstring tool = L"\"" + (InstallDir() / L"tavik-varrow.exe").wstring() + L"\"";
  const std::pair<const wchar_t*, std::wstring> upgrades[] = {
      {L" /AUTOSTART=1", tool}, {L"", tool}, {L" /AUTOSTART=0", L""}, {L"", L""}};
  for (const auto& [options, autostart] : upgrades) {
    EXPECT_EQ(RunToEnd(install + options), 0u) << options;
    EXPECT_EQ(Autostart(), autostart) << options;
  }
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(form); }));
  EXPECT_EQ(AimHandler(HKEY_CURRENT_USER), mine);

  // A copy whose process the installer cannot wait for (see close_copy.nsi), here a window of this
  // thread: its going on WM_CLOSE is enough. No race: the wait fails at once, every time, and the
  // window goes while RunToEnd, pumping this thread's messages, has the WM_CLOSE handled.
  WNDCLASSW formClass{};
  formClass.lpfnWndProc = DefWindowProcW;
  formClass.hInstance = GetModuleHandleW(nullptr);
  formClass.lpszClassName = L"TavikVarrowForm1";
  RegisterClassW(&formClass);
  const HWND copy = CreateWindowW(formClass.lpszClassName, kName, WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, formClass.hInstance, nullptr);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(RunToEnd(L"\"" + (BinDir() / L"close_copy.exe").wstring() + L"\" /S"), 0u);
  EXPECT_FALSE(IsWindow(copy));

  const std::wstring elsewhere = AimHandler(HKEY_LOCAL_MACHINE);
  ASSERT_NE(elsewhere, L"") << "scripts/wine-env.sh registers the build's roomsim";
  EXPECT_TRUE(Uninstall()) << "left:" << Left();
  EXPECT_EQ(AimHandler(HKEY_CURRENT_USER), L"");
  EXPECT_EQ(AimHandler(HKEY_LOCAL_MACHINE), elsewhere);
  CopyAimKey(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER);
}

}  // namespace
}  // namespace e2e
