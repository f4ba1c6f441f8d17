#include "fake_chat_room.h"

#include "transcript_markup.h"

namespace tv::testing {

using platform::FakeDesktop;
using platform::kNoWindow;

FakeChatRoom::FakeChatRoom(std::string userName) : userName_(std::move(userName)) { Open(); }

void FakeChatRoom::Open() {
  chat = desktop.AddWindow(kNoWindow, "AIM_ChatWnd", "Chat Room: Lobby");
  transcript = desktop.AddWindow(desktop.AddWindow(chat, "WndAte32Class"), "Ate32Class");
  input = desktop.AddWindow(desktop.AddWindow(chat, "WndAte32Class"), "Ate32Class");
  for (auto& button : buttons) button = desktop.AddWindow(chat, "_oscar_iconbtn");
  // The send button sends on button-up after button-down, or on space key-up while held down:
  // a down, key-up, up sequence sends once.
  desktop.SetHook(
      sendButton(), [this](const FakeDesktop::Message& m) -> std::optional<std::intptr_t> {
        if (m.message == platform::kWmLButtonDown) {
          buttonDown_ = true;
        } else if ((m.message == platform::kWmLButtonUp ||
                    (m.message == platform::kWmKeyUp && m.wParam == platform::kVkSpace)) &&
                   buttonDown_) {
          buttonDown_ = false;
          SendInput();
        }
        return 0;
      });
}

void FakeChatRoom::Say(const std::string& speaker, const std::string& message, bool red) {
  // Each line gets its own time, so that identical messages still differ, as in a real room.
  clock_ = (clock_ + 1) % 60;
  const std::string line = roomsim::FormatLine(speaker, message, red || speaker == userName_,
                                               roomsim::FormatClock(10, 0, clock_));
  desktop.SetText(transcript, desktop.Text(transcript) + line);
}

std::string FakeChatRoom::Transcript() const {
  return desktop.Exists(transcript) ? desktop.Text(transcript) : std::string();
}

void FakeChatRoom::SendInput() {
  const std::string text = desktop.Text(input);
  sent_.push_back(text);
  desktop.SetText(input, "");
  SayAsUser(text);
}

void FakeChatRoom::Close() { desktop.DestroyWindow(chat); }

}  // namespace tv::testing
