#include "fake_chat_room.h"

#include <algorithm>

#include "transcript_markup.h"

namespace tv::testing {

using platform::FakeDesktop;
using platform::kNoWindow;

FakeChatRoom::FakeChatRoom(std::string userName) : userName_(std::move(userName)) { Open(); }

void FakeChatRoom::Open(const std::string& caption) {
  Windows room{};
  room.chat = desktop.AddWindow(kNoWindow, "AIM_ChatWnd", caption);
  room.transcript = desktop.AddWindow(desktop.AddWindow(room.chat, "WndAte32Class"), "Ate32Class");
  room.input = desktop.AddWindow(desktop.AddWindow(room.chat, "WndAte32Class"), "Ate32Class");
  for (auto& button : room.buttons) button = desktop.AddWindow(room.chat, "_oscar_iconbtn");
  // The send button sends on button-up after button-down, or on space key-up while held down:
  // a down, key-up, up sequence sends once.
  desktop.SetHook(
      room.buttons[4], [this, room](const FakeDesktop::Message& m) -> std::optional<std::intptr_t> {
        if (m.message == platform::kWmLButtonDown) {
          buttonDown_ = true;
        } else if ((m.message == platform::kWmLButtonUp ||
                    (m.message == platform::kWmKeyUp && m.wParam == platform::kVkSpace)) &&
                   buttonDown_) {
          buttonDown_ = false;
          sent_.push_back(desktop.Text(room.input));
          desktop.SetText(room.input, "");
          Append(room.transcript, userName_, sent_.back(), false);
        }
        return 0;
      });
  desktop.BringToTop(room.chat);
  rooms_.push_back(room);
  Name(room);
}

void FakeChatRoom::Front(platform::WindowHandle chatWindow) {
  desktop.BringToTop(chatWindow);
  Name(*std::ranges::find(rooms_, chatWindow, &Windows::chat));
}

void FakeChatRoom::Name(const Windows& room) {
  chat = room.chat;
  transcript = room.transcript;
  input = room.input;
  std::ranges::copy(room.buttons, buttons);
}

void FakeChatRoom::Say(const std::string& speaker, const std::string& message, bool red) {
  Append(transcript, speaker, message, red);
}

void FakeChatRoom::Append(platform::WindowHandle transcriptControl, const std::string& speaker,
                          const std::string& message, bool red) {
  // Each line gets its own time, so that identical messages still differ, as in a real room.
  clock_ = (clock_ + 1) % 60;
  const std::string line = roomsim::FormatLine(speaker, message, red || speaker == userName_,
                                               roomsim::FormatClock(10, 0, clock_));
  desktop.SetText(transcriptControl, desktop.Text(transcriptControl) + line);
}

std::string FakeChatRoom::Transcript() const {
  return desktop.Exists(transcript) ? desktop.Text(transcript) : std::string();
}

void FakeChatRoom::Close() { desktop.DestroyWindow(chat); }

}  // namespace tv::testing
