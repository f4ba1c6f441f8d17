#include "chatctl/chat.h"

#include <algorithm>

namespace tv::chatctl {

Chat::Chat(platform::ChatClientOs os, platform::Timer& chatTymer)
    : chatOs_(os), chatTymer_(chatTymer) {}

void Chat::scan_on() {
  scanning_ = true;
  chatTymer_.Start(kScanInterval);
  rooms_.clear();
  const aim::TranscriptTail tail = aim::ReadTranscriptTail(chatOs_);
  read_ = tail.read ? tail.witness : aim::TranscriptWitness();
  ticksSinceRead_ = 0;
  if (tail.read) FirstSight(tail.room, tail.text);
}

void Chat::scan_off() {
  scanning_ = false;
  chatTymer_.Stop();
}

void Chat::SendChat(const std::wstring& text) { aim::SendChatLine(chatOs_, text); }

Chat::Room* Chat::Seen(platform::WindowHandle window) {
  const auto it = std::ranges::find(rooms_, window, &Room::window);
  return it == rooms_.end() ? nullptr : &*it;
}

void Chat::FirstSight(platform::WindowHandle window, const std::wstring& tail) {
  std::erase_if(rooms_,
                [this](const Room& room) { return !chatOs_.desktop.IsWindow(room.window); });
  rooms_.push_back({window, tail, GetLastLine(tail)});
}

void Chat::chat_tymer_Timer() {
  if (!scanning_) return;
  const bool due = ++ticksSinceRead_ >= kTicksBetweenFullReads;
  const aim::TranscriptTail tail = aim::ReadTranscriptTail(chatOs_, due ? nullptr : &read_);
  // A room that could not be read is not seen: its newest line may be older than scanning.
  if (!tail.read || tail.unchanged) return;
  read_ = tail.witness;
  ticksSinceRead_ = 0;
  Room* room = Seen(tail.room);
  if (room == nullptr) {
    FirstSight(tail.room, tail.text);
    return;
  }
  if (tail.text == room->fyrsttalk || tail.text.size() < 3) return;
  std::wstring newlastlyne = GetLastLine(tail.text);
  if (room->oldlastlyne == newlastlyne) return;
  room->oldlastlyne = newlastlyne;
  ChatLine line = ParseLine(newlastlyne);
  if (aimchatscan_) aimchatscan_(line);
}

}  // namespace tv::chatctl
