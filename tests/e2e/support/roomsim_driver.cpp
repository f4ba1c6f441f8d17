#include "roomsim_driver.h"

#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <thread>

#include "roomsim_protocol.h"

namespace e2e {
namespace {

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

HWND FindTranscript(HWND chat) {
  HWND pane = FindWindowExA(chat, nullptr, "WndAte32Class", nullptr);
  return pane ? FindWindowExA(pane, nullptr, "Ate32Class", nullptr) : nullptr;
}

}  // namespace

std::filesystem::path BinDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

std::filesystem::path RoomsimDir() {
  char dir[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("TV_ROOMSIM_DIR", dir, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::filesystem::path(dir) : BinDir();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    std::this_thread::sleep_for(20ms);
  }
}

TempFile::TempFile(const std::string& stem) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  path_ = std::filesystem::path(dir) / (stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                                        std::to_string(GetTickCount64()) + ".txt");
  std::ofstream(path_, std::ios::trunc).flush();
}

TempFile::~TempFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

std::vector<std::string> TempFile::Lines() const {
  std::vector<std::string> lines;
  std::ifstream in(path_);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

namespace {

// Calls `each` with every process of that exe name; how many there were, -1 when the list cannot
// be read.
int ForEachProcess(const std::wstring& exeName, const std::function<void(DWORD)>& each) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName.c_str()) != 0) continue;
    ++count;
    each(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return count;
}

}  // namespace

int ProcessCount(const std::wstring& exeName) {
  return ForEachProcess(exeName, [](DWORD) {});
}

void KillAll(const std::wstring& exeName) {
  ForEachProcess(exeName, [](DWORD id) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  });
}

PROCESS_INFORMATION Launch(std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "CreateProcess failed with error %lu\n", GetLastError());
  }
  return process;
}

void End(PROCESS_INFORMATION& process) {
  if (process.hProcess == nullptr) return;
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = {};
}

Roomsim::Roomsim(const Options& options) {
  KillAll(L"roomsim.exe");
  WaitFor([] {
    return FindWindowA("AIM_ChatWnd", nullptr) == nullptr &&
           FindWindowA(roomsim::kHubClass, nullptr) == nullptr;
  });
  std::string arguments = " --room " + Quote(options.room) + " --user " + Quote(options.user);
  if (!options.linkLog.empty()) arguments += " --link-log " + Quote(options.linkLog);
  process_ = Launch(L"\"" + (RoomsimDir() / "roomsim.exe").wstring() + L"\"" +
                    std::filesystem::path(arguments).wstring());  // ANSI, as the A calls take it
  if (process_.hProcess == nullptr) return;
  WaitFor([this] {
    HWND chat = FindWindowA("AIM_ChatWnd", nullptr);
    DWORD pid = 0;
    if (chat) GetWindowThreadProcessId(chat, &pid);
    if (chat && pid == process_.dwProcessId && FindTranscript(chat)) chat_ = chat;
    return chat_ != nullptr && hub() != nullptr;
  });
}

Roomsim::~Roomsim() {
  End(process_);
  // Rooms opened through links may have started another roomsim.
  KillAll(L"roomsim.exe");
}

HWND Roomsim::hub() const { return FindWindowA(roomsim::kHubClass, nullptr); }

bool HubCommand(std::uintptr_t command, const std::string& text) {
  COPYDATASTRUCT data{};
  data.dwData = command;
  data.cbData = static_cast<DWORD>(text.size());
  data.lpData = const_cast<char*>(text.data());
  DWORD_PTR result = 0;
  HWND hub = FindWindowA(roomsim::kHubClass, nullptr);
  if (!hub) return false;
  if (!SendMessageTimeoutA(hub, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000,
                           &result)) {
    return false;
  }
  return result == 1;
}

bool Roomsim::SayAsOther(const std::string& speaker, const std::string& message) {
  return HubCommand(roomsim::kSayAsOther, speaker + "\n" + message);
}

bool Roomsim::TypeAsUser(const std::string& message) {
  return HubCommand(roomsim::kTypeAsUser, message);
}

bool Roomsim::SetTranscript(const std::string& markup) {
  return HubCommand(roomsim::kSetTranscript, markup);
}

bool Roomsim::Hang(std::chrono::milliseconds duration) {
  HANDLE hung = OpenEventA(SYNCHRONIZE, FALSE, roomsim::kHungEventName);
  if (!hung) return false;
  PostMessageA(hub(), roomsim::kHangMessage, static_cast<WPARAM>(duration.count()), 0);
  const bool began = WaitForSingleObject(hung, 10000) == WAIT_OBJECT_0;
  CloseHandle(hung);
  return began;
}

std::string WindowText(HWND window) {
  if (!window) return {};
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
  return text;
}

std::string Roomsim::Transcript() const {
  return WindowText(FindTranscript(FindWindowA("AIM_ChatWnd", nullptr)));
}

int Roomsim::LineCount() const {
  const std::string text = Transcript();
  int count = 0;
  for (std::size_t at = text.find("<BR>"); at != std::string::npos;
       at = text.find("<BR>", at + 4)) {
    ++count;
  }
  return count;
}

}  // namespace e2e
