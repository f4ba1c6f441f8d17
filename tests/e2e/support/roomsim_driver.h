#pragma once
// Drives a real roomsim process from an end-to-end test: start it, find its windows, inject
// lines, hang it, read its link log, and make sure it is gone afterwards.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// The folder of the running test program; roomsim.exe and tavik-varrow.exe sit beside it.
std::filesystem::path BinDir();

// Where roomsim.exe is started from: the folder named by TV_ROOMSIM_DIR (a roomsim of the other
// bitness, for mixed runs), else BinDir().
std::filesystem::path RoomsimDir();

// Polls `condition` (pumping this thread's messages) until it holds or `deadline` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 20s);

// A fresh, empty file in the temp folder, removed by the destructor.
class TempFile {
 public:
  explicit TempFile(const std::string& stem);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::vector<std::string> Lines() const;

 private:
  std::filesystem::path path_;
};

// Every process of the given exe name is ended; tests start from a clean desktop.
void KillAll(const std::wstring& exeName);
// How many processes of the given exe name are running; -1 when the list cannot be read.
int ProcessCount(const std::wstring& exeName);

// Starts a command line: the process, or zeros when it did not start. End() ends it if it still
// runs and closes its handles.
PROCESS_INFORMATION Launch(std::wstring command);
void End(PROCESS_INFORMATION& process);

class Roomsim {
 public:
  struct Options {
    std::string room = "Lobby";
    std::string user = "Tester";
    std::string linkLog;  // empty: none
  };

  // Starts roomsim (ending any earlier one) and waits for its chat window.
  explicit Roomsim(const Options& options);
  Roomsim() : Roomsim(Options{}) {}
  ~Roomsim();
  Roomsim(const Roomsim&) = delete;
  Roomsim& operator=(const Roomsim&) = delete;

  bool started() const { return chat_ != nullptr; }
  HWND chatWindow() const { return chat_; }
  HWND hub() const;

  // Test commands; true when roomsim carried them out.
  bool SayAsOther(const std::string& speaker, const std::string& message);
  bool TypeAsUser(const std::string& message);
  bool SetTranscript(const std::string& markup);
  // roomsim's user-interface thread stops answering for `duration`; true once the hang began.
  bool Hang(std::chrono::milliseconds duration);

  // The transcript markup and the number of lines in it, read directly.
  std::string Transcript() const;
  int LineCount() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND chat_ = nullptr;
};

// Sends a test command (WM_COPYDATA) to the running roomsim's hub; true when carried out.
bool HubCommand(std::uintptr_t command, const std::string& text);

// Reads a window's text with plain WM_GETTEXT (no time-out), for checks.
std::string WindowText(HWND window);

}  // namespace e2e
