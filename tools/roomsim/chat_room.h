#pragma once
// One substitute chat room without its windows: the texts of the transcript and the input box,
// who the local user is, and what a send does. roomsim's window procedures only route messages
// here, so the behaviour can be tested natively.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace roomsim {

struct TimeOfDay {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// Reads "h:mm:ss" (24-hour, one or two digits per part); nullopt when out of range.
std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text);

// The time stamps that lines get. Each stamp is later than the one before, even for lines said
// within the same second: the scanner does not report a line whose markup repeats the line before
// it, and a real room rarely repeats a time with the same text, whereas tests do so all the time.
class LineClock {
 public:
  using Source = std::function<TimeOfDay()>;

  // Stamps follow the source, moved on by a second where it has not moved since the last stamp.
  explicit LineClock(Source source);
  // Stamps start at `start` and move on by one second per line; the wall clock is not read.
  static LineClock Fixed(TimeOfDay start);

  // "h:mm:ss AM" for the next line.
  std::string Next();

 private:
  static constexpr int kDay = 24 * 60 * 60;

  Source source_;            // empty for a fixed clock
  std::optional<int> last_;  // seconds since midnight of the last stamp
};

// The send button sends on button-up after button-down, or on space key-up while held down, so
// that a down, key-up, up sequence sends once.
class PressLatch {
 public:
  void Down() { down_ = true; }
  // True when this release sends.
  bool Up() { return std::exchange(down_, false); }
  bool KeyUp(unsigned virtualKey);
  bool IsDown() const { return down_; }

 private:
  bool down_ = false;
};

class ChatRoom {
 public:
  ChatRoom(std::string userName, std::string room, LineClock clock);

  const std::string& UserName() const { return userName_; }
  const std::string& Room() const { return room_; }
  // The window caption: "Chat Room: " + room, from which the tool reads the room name back.
  std::string Caption() const { return "Chat Room: " + room_; }

  const std::string& Transcript() const { return transcript_; }
  void SetTranscript(std::string markup);
  const std::string& Input() const { return input_; }
  void SetInput(std::string text);

  // The send button: the input becomes the local user's line and the input is emptied. An empty
  // input is sent as an empty line, as the tool's fake room does.
  void SendInput();
  // The user types `message` into the input and sends it.
  void TypeAndSend(std::string message);
  // A line of another speaker, in the other speakers' colour whatever the name.
  void SayAsOther(std::string_view speaker, std::string_view message);

  // Counts changes to either text, so that windows can tell when to repaint.
  std::size_t Revision() const { return revision_; }

 private:
  void Append(std::string_view speaker, std::string_view message, bool ownLine);

  std::string userName_;
  std::string room_;
  LineClock clock_;
  std::string transcript_;
  std::string input_;
  std::size_t revision_ = 0;
};

// WM_GETTEXT's contract: copies at most size - 1 characters and a NUL into the buffer and returns
// the number of characters copied. A null buffer or a size of 0 copies nothing.
std::size_t CopyOut(std::string_view text, char* buffer, std::size_t size);

}  // namespace roomsim
