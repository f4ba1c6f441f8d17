#include "chatctl/chat.h"

#include "aim/chat_window.h"

namespace tv::chatctl {

Chat::Chat(platform::ChatClientOs os, platform::Timer& chatTymer)
    : chatOs_(os), chatTymer_(chatTymer) {}

void Chat::scan_on() {
  scanning_ = true;
  chatTymer_.Start(kScanInterval);
  fyrsttalk_ = aim::GetTranscriptTail(chatOs_);
}

void Chat::scan_off() {
  scanning_ = false;
  chatTymer_.Stop();
}

void Chat::SendChat(const std::wstring& text) { aim::SendChatLine(chatOs_, text); }

void Chat::chat_tymer_Timer() {
  if (!scanning_) return;
  const std::wstring tail = aim::GetTranscriptTail(chatOs_);
  if (tail == fyrsttalk_ || tail.size() < 3) return;
  newlastlyne_ = GetLastLine(tail);
  if (oldlastlyne_ == newlastlyne_) return;
  oldlastlyne_ = newlastlyne_;
  ChatLine line = ParseLine(newlastlyne_);
  if (aimchatscan_) aimchatscan_(line);
}

}  // namespace tv::chatctl
