#include "app/single_instance.h"

#include "app/control_ids.h"

namespace tv::app {
namespace {

constexpr wchar_t kMutexName[] = L"Local\\TavikVarrowV2";
constexpr DWORD kWindowWaitMs = 5000;
constexpr DWORD kPollMs = 50;

}  // namespace

SingleInstance::SingleInstance()
    : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)),
      first_(mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {}

SingleInstance::~SingleInstance() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

UINT ActivateMessage() { return RegisterWindowMessageW(L"TavikVarrowV2.Activate"); }

bool ActivateRunningCopy() {
  const UINT message = ActivateMessage();
  for (DWORD waited = 0; waited < kWindowWaitMs; waited += kPollMs) {
    HWND form = FindWindowW(kFormClassName, nullptr);
    if (form != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(form, &process);
      // Only the program the user just started may hand the foreground on.
      AllowSetForegroundWindow(process);
      DWORD_PTR answer = 0;
      return SendMessageTimeoutW(form, message, 0, 0, SMTO_ABORTIFHUNG, kWindowWaitMs, &answer) !=
                 0 &&
             answer == 1;
    }
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace tv::app
