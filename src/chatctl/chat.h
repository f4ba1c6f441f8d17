#pragma once
// The chat scanner: while scanning, each tick looks at the tail of the transcript of the chat room
// window found first and reports its newest line, once, through the aimchatscan handler. The
// window owns the 500 ms timer and calls chat_tymer_Timer when it fires; tests call it directly.
//
// Several rooms may be open, and the one found first changes as the user moves between them. So
// the scanner keeps what it has seen of each room apart: a line is reported once, in the room
// where it was said, and coming back to a room repeats nothing. A room counts only lines said
// after the scanner first read it while scanning (the room in front when scanning is switched on,
// a room already open that comes to the front later, a room opened by a link): lines said before
// scanning began never count, not even when the room could not be read at that moment.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "aim/chat_window.h"
#include "chatctl/line_parser.h"
#include "platform/chat_client.h"
#include "platform/timer.h"

namespace tv::chatctl {

inline constexpr std::chrono::milliseconds kScanInterval{500};
// A transcript that its witness shows unchanged is not read again, but at least every this many
// ticks (10 s) it is: a rewrite that keeps the length and the head shows within that time.
inline constexpr int kTicksBetweenFullReads = 20;

class Chat {
 public:
  // Receives each new line, synchronously inside the tick: the scanner's working copy, discarded
  // afterwards. It may call any member, scan_off included.
  using ScanHandler = std::function<void(ChatLine& line)>;

  Chat(platform::ChatClientOs os, platform::Timer& chatTymer);

  void SetScanHandler(ScanHandler handler) { aimchatscan_ = std::move(handler); }

  // Starts the timer and forgets every room, then reads the room in front, so that only lines
  // said from now on count.
  void scan_on();
  // Stops the timer.
  void scan_off();
  bool scanning() const { return scanning_; }

  // Sends a line into the room as it is (SendChatLine).
  void SendChat(const std::wstring& text);

  // One scan tick; does nothing while scanning is off.
  void chat_tymer_Timer();

 private:
  // What the scanner has seen of one room window.
  struct Room {
    platform::WindowHandle window = platform::kNoWindow;
    std::wstring fyrsttalk;    // the tail when the room was first read
    std::wstring oldlastlyne;  // the newest line, as last taken (reported, or there at first)
  };

  // The room's record; null when it has not been read since scanning began.
  Room* Seen(platform::WindowHandle window);
  // Remembers the room as it is now, and forgets the rooms that have closed.
  void FirstSight(platform::WindowHandle window, const std::wstring& tail);

  platform::ChatClientOs chatOs_;
  platform::Timer& chatTymer_;
  ScanHandler aimchatscan_;
  bool scanning_ = false;
  std::vector<Room> rooms_;      // the rooms read since scanning began that are still open
  aim::TranscriptWitness read_;  // the transcript as last read whole
  int ticksSinceRead_ = 0;
};

}  // namespace tv::chatctl
