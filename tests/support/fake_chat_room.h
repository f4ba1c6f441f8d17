#pragma once
// A chat room on the fake desktop with the window tree of the AIM client: the chat window, the
// transcript and input panes with their text controls, and six icon buttons of which the fifth
// sends. A send (click or press) appends the input as the local user's line, as the real client
// and roomsim do, so replies come back through the transcript. More rooms can be opened beside
// it; the members name the room in front.

#include <string>
#include <vector>

#include "platform/chat_client.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/iconv_codepage.h"

namespace tv::testing {

class FakeChatRoom {
 public:
  explicit FakeChatRoom(std::string userName = "Tester");
  FakeChatRoom(const FakeChatRoom&) = delete;  // the send button's hook points back here
  FakeChatRoom& operator=(const FakeChatRoom&) = delete;

  platform::ChatClientOs Os() { return {desktop, shell, codePage}; }

  // Appends a line to the transcript as the room would: the local user's or somebody else's.
  // `red`: in the user's colour although somebody else's, as when "#ff0000" is in its markup.
  void Say(const std::string& speaker, const std::string& message, bool red = false);
  void SayAsUser(const std::string& message) { Say(userName_, message); }

  std::string Transcript() const;
  // The lines sent through the send button, in order.
  const std::vector<std::string>& Sent() const { return sent_; }
  void ClearSent() { sent_.clear(); }

  // Opens a room window in front, with an empty transcript; rooms already open stay behind it.
  void Open(const std::string& caption = "Chat Room: Lobby");
  // Brings an open room window to the front.
  void Front(platform::WindowHandle chatWindow);
  // Closes the room window (as the user would), with every control in it.
  void Close();
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
  void Name(const Windows& room);
  void Append(platform::WindowHandle transcriptControl, const std::string& speaker,
              const std::string& message, bool red);

  std::vector<Windows> rooms_;
  std::string userName_;
  std::vector<std::string> sent_;
  bool buttonDown_ = false;
  int clock_ = 0;
};

}  // namespace tv::testing
