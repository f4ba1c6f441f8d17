#pragma once
// A chat room on the fake desktop with the window tree of the AIM client: the chat window, the
// transcript and input panes with their text controls, and six icon buttons of which the fifth
// sends. A send (click or press) appends the input as the local user's line, as the real client
// and roomsim do, so replies come back through the transcript. More rooms can be opened beside
// it; the members name the room in front.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/chat_client.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/iconv_codepage.h"
#include "transcript_markup.h"

namespace tv::testing {

class FakeChatRoom {
 public:
  explicit FakeChatRoom(std::string userName = "Tester") : userName_(std::move(userName)) {
    Open();
  }
  FakeChatRoom(const FakeChatRoom&) = delete;  // the send button's hook points back here
  FakeChatRoom& operator=(const FakeChatRoom&) = delete;

  platform::ChatClientOs Os() { return {desktop, shell, codePage}; }

  // Appends a line to the transcript as the room would: the local user's or somebody else's.
  // `red`: in the user's colour although somebody else's, as when "#ff0000" is in its markup.
  void Say(const std::string& speaker, const std::string& message, bool red = false) {
    Append(transcript, speaker, message, red);
  }
  void SayAsUser(const std::string& message) { Say(userName_, message); }

  std::string Transcript() const {
    return desktop.Exists(transcript) ? desktop.Text(transcript) : std::string();
  }
  // The lines sent through the send button, in order.
  const std::vector<std::string>& Sent() const { return sent_; }
  void ClearSent() { sent_.clear(); }

  // Opens a room window in front, with an empty transcript; rooms already open stay behind it.
  void Open(const std::string& caption = "Chat Room: Lobby") {
    Windows room{};
    room.chat = desktop.AddWindow(platform::kNoWindow, "AIM_ChatWnd", caption);
    room.transcript =
        desktop.AddWindow(desktop.AddWindow(room.chat, "WndAte32Class"), "Ate32Class");
    room.input = desktop.AddWindow(desktop.AddWindow(room.chat, "WndAte32Class"), "Ate32Class");
    for (auto& button : room.buttons) button = desktop.AddWindow(room.chat, "_oscar_iconbtn");
    // The send button sends on button-up after button-down, or on space key-up while held down:
    // a down, key-up, up sequence sends once.
    desktop.SetHook(room.buttons[4], [this, room](const platform::FakeDesktop::Message& m) {
      const bool up = m.message == platform::kWmLButtonUp ||
                      (m.message == platform::kWmKeyUp && m.wParam == platform::kVkSpace);
      if (up && buttonDown_) {
        sent_.push_back(desktop.Text(room.input));
        desktop.SetText(room.input, "");
        Append(room.transcript, userName_, sent_.back(), false);
      }
      buttonDown_ = m.message == platform::kWmLButtonDown || (buttonDown_ && !up);
      return std::optional<std::intptr_t>(0);
    });
    rooms_.push_back(room);
    Front(room.chat);
  }
  // Brings an open room window to the front.
  void Front(platform::WindowHandle chatWindow) {
    desktop.BringToTop(chatWindow);
    const Windows& room = *std::ranges::find(rooms_, chatWindow, &Windows::chat);
    chat = room.chat;
    transcript = room.transcript;
    input = room.input;
    std::ranges::copy(room.buttons, buttons);
  }
  // Closes the room window (as the user would), with every control in it.
  void Close() { desktop.DestroyWindow(chat); }
  bool IsOpen() const { return desktop.Exists(chat); }

  platform::FakeDesktop desktop;
  platform::FakeShell shell;
  platform::IconvCodePage codePage;

  platform::WindowHandle chat = platform::kNoWindow;
  platform::WindowHandle transcript = platform::kNoWindow;
  platform::WindowHandle input = platform::kNoWindow;
  platform::WindowHandle buttons[6] = {};
  platform::WindowHandle sendButton() const { return buttons[4]; }

 private:
  struct Windows {
    platform::WindowHandle chat, transcript, input;
    platform::WindowHandle buttons[6];
  };

  void Append(platform::WindowHandle control, const std::string& speaker,
              const std::string& message, bool red) {
    // Each line gets its own time, so that identical messages still differ, as in a real room.
    clock_ = (clock_ + 1) % 60;
    desktop.SetText(control, desktop.Text(control) +
                                 roomsim::FormatLine(speaker, message, red || speaker == userName_,
                                                     roomsim::FormatClock(10, 0, clock_)));
  }

  std::vector<Windows> rooms_;
  std::string userName_;
  std::vector<std::string> sent_;
  bool buttonDown_ = false;
  int clock_ = 0;
};

}  // namespace tv::testing
