#include "chat_room.h"

#include <cstring>
#include <utility>

#include "transcript_markup.h"

namespace roomsim {
namespace {

constexpr unsigned kVkSpace = 0x20;

std::optional<int> ReadPart(std::string_view& text, int limit, bool last) {
  std::size_t digits = 0;
  int value = 0;
  while (digits < text.size() && digits < 2 && text[digits] >= '0' && text[digits] <= '9') {
    value = value * 10 + (text[digits] - '0');
    ++digits;
  }
  if (digits == 0 || value >= limit) return std::nullopt;
  text.remove_prefix(digits);
  if (last) return text.empty() ? std::optional<int>(value) : std::nullopt;
  if (text.empty() || text.front() != ':') return std::nullopt;
  text.remove_prefix(1);
  return value;
}

int SecondsOf(const TimeOfDay& time) { return (time.hour * 60 + time.minute) * 60 + time.second; }

}  // namespace

std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text) {
  const auto hour = ReadPart(text, 24, false);
  if (!hour) return std::nullopt;
  const auto minute = ReadPart(text, 60, false);
  if (!minute) return std::nullopt;
  const auto second = ReadPart(text, 60, true);
  if (!second) return std::nullopt;
  return TimeOfDay{*hour, *minute, *second};
}

LineClock::LineClock(Source source) : source_(std::move(source)) {}

LineClock LineClock::Fixed(TimeOfDay start) {
  LineClock clock(nullptr);
  clock.last_ = (SecondsOf(start) + kDay - 1) % kDay;
  return clock;
}

std::string LineClock::Next() {
  int stamp = 0;
  if (!source_) {
    stamp = (*last_ + 1) % kDay;
  } else {
    stamp = SecondsOf(source_());
    // The source counts as having moved on when it is less than half a day ahead of the last
    // stamp, which also carries the stamps over midnight; otherwise the stamps run ahead of it.
    const int ahead = last_ ? (stamp - *last_ + kDay) % kDay : 1;
    if (ahead == 0 || ahead >= kDay / 2) stamp = (*last_ + 1) % kDay;
  }
  last_ = stamp;
  return FormatClock(stamp / 3600, stamp / 60 % 60, stamp % 60);
}

bool PressLatch::KeyUp(unsigned virtualKey) { return virtualKey == kVkSpace && Up(); }

ChatRoom::ChatRoom(std::string userName, std::string room, LineClock clock)
    : userName_(std::move(userName)), room_(std::move(room)), clock_(std::move(clock)) {}

void ChatRoom::SetTranscript(std::string markup) {
  transcript_ = std::move(markup);
  ++revision_;
}

void ChatRoom::SetInput(std::string text) {
  input_ = std::move(text);
  ++revision_;
}

void ChatRoom::SendInput() {
  const std::string message = std::exchange(input_, {});
  Append(userName_, message, true);
}

void ChatRoom::TypeAndSend(std::string message) {
  SetInput(std::move(message));
  SendInput();
}

void ChatRoom::SayAsOther(std::string_view speaker, std::string_view message) {
  Append(speaker, message, false);
}

void ChatRoom::Append(std::string_view speaker, std::string_view message, bool ownLine) {
  transcript_ += FormatLine(speaker, message, ownLine, clock_.Next());
  ++revision_;
}

std::size_t CopyOut(std::string_view text, char* buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return 0;
  const std::size_t count = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return count;
}

}  // namespace roomsim
