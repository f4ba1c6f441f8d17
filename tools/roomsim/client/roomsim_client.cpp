#include "roomsim_client.h"

#include <windows.h>

#include <cstdint>

#include "roomsim_protocol.h"

namespace roomsim::client {
namespace {

// A hub that does not answer within this time is taken for gone.
constexpr UINT kAnswerMs = 10000;

bool Send(std::uintptr_t command, const std::string& text) {
  HWND hub = FindWindowA(kHubClass, nullptr);
  COPYDATASTRUCT data{command, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
  DWORD_PTR result = 0;
  return hub != nullptr &&
         SendMessageTimeoutA(hub, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                             kAnswerMs, &result) != 0 &&
         result == 1;
}

}  // namespace

bool SayAsOther(const std::string& speaker, const std::string& message) {
  return Send(kSayAsOther, speaker + "\n" + message);
}

bool TypeAsUser(const std::string& message) { return Send(kTypeAsUser, message); }

bool SetTranscript(const std::string& markup) { return Send(kSetTranscript, markup); }

bool OpenLink(const std::string& link) { return Send(kOpenLink, link); }

bool OpenRoom(const std::string& room) { return Send(kOpenRoom, room); }

std::optional<std::size_t> TranscriptPolls() {
  HWND hub = FindWindowA(kHubClass, nullptr);
  DWORD_PTR count = 0;
  if (hub == nullptr ||
      SendMessageTimeoutA(hub, kPollCountMessage, 0, 0, SMTO_NORMAL, kAnswerMs, &count) == 0) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(count);
}

bool Hang(std::chrono::milliseconds duration) {
  HANDLE hung = OpenEventA(SYNCHRONIZE, FALSE, kHungEventName);
  HWND hub = FindWindowA(kHubClass, nullptr);
  const bool began =
      hung != nullptr && hub != nullptr &&
      PostMessageA(hub, kHangMessage, static_cast<WPARAM>(duration.count()), 0) != 0 &&
      WaitForSingleObject(hung, kAnswerMs) == WAIT_OBJECT_0;
  if (hung != nullptr) CloseHandle(hung);
  return began;
}

}  // namespace roomsim::client
