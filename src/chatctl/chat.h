#pragma once
// The chat scanner: while scanning, each tick looks at the transcript's tail and reports its
// newest line, once, through the aimchatscan handler. The window owns the 500 ms timer and calls
// chat_tymer_Timer when it fires; tests call it directly.

#include <chrono>
#include <functional>
#include <string>

#include "chatctl/line_parser.h"
#include "platform/chat_client.h"
#include "platform/timer.h"

namespace tv::chatctl {

inline constexpr std::chrono::milliseconds kScanInterval{500};

class Chat {
 public:
  // Receives each new line, synchronously inside the tick: the scanner's working copy, discarded
  // afterwards. It may call any member, scan_off included.
  using ScanHandler = std::function<void(ChatLine& line)>;

  Chat(platform::ChatClientOs os, platform::Timer& chatTymer);

  void SetScanHandler(ScanHandler handler) { aimchatscan_ = std::move(handler); }

  // Starts the timer and remembers the current tail, so that only lines said from now on count.
  void scan_on();
  // Stops the timer; the last reported line is kept.
  void scan_off();
  bool scanning() const { return scanning_; }

  // Sends a line into the room as it is (SendChatLine).
  void SendChat(const std::wstring& text);

  // One scan tick; does nothing while scanning is off.
  void chat_tymer_Timer();

  const std::wstring& oldlastlyne() const { return oldlastlyne_; }
  const std::wstring& fyrsttalk() const { return fyrsttalk_; }

 private:
  platform::ChatClientOs chatOs_;
  platform::Timer& chatTymer_;
  ScanHandler aimchatscan_;
  bool scanning_ = false;
  std::wstring oldlastlyne_;
  std::wstring newlastlyne_;
  std::wstring fyrsttalk_;
};

}  // namespace tv::chatctl
