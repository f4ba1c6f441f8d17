#pragma once
// The chat command interpreter: handler of the scanner's aimchatscan event. It learns the user's
// screen name from the first line it is given, ignores every other speaker afterwards, and carries
// out the user's chat commands, answering with bracketed reply lines in the room.

#include <cstdint>
#include <optional>
#include <string>

#include "chatctl/chat.h"
#include "interp/tool_state.h"
#include "interp/window_commands.h"
#include "platform/chat_client.h"

namespace tv::interp {

// The shortest clear period "/ct" accepts, in minutes.
inline constexpr double kMinClearMinutes = 0.4;

// Minutes as a clear-timer period: milliseconds rounded to the nearest whole number, halves to
// the even neighbour. Nothing when the result does not fit a signed 32-bit integer.
std::optional<std::int32_t> ClearPeriodMs(double minutes);

class Interpreter {
 public:
  // Becomes `chat`'s line handler until destroyed. Everything passed in must outlive this object.
  Interpreter(platform::ChatClientOs os, chatctl::Chat& chat, ToolState& state,
              WindowCommands& window);
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  // Handles one reported line. `whosaid` comes back as the speaker without the character the
  // scanner keeps before the name; `datesaid` is not used. Reports nothing to the caller.
  void chat_aimchatscan(std::wstring& whosaid, std::wstring& whatsaid, std::wstring& datesaid);

 private:
  enum class Flow { kNext, kEnd };
  // `typed` is the message as delivered; `m` is it normalised and without markup.
  using Step = Flow (Interpreter::*)(const std::wstring& typed, const std::wstring& m);

  void RunCommands(const std::wstring& typed, const std::wstring& m);
  void Reply(const std::wstring& text);
  Flow GatedReply(const std::wstring& text);

  Flow Help(const std::wstring& typed, const std::wstring& m);
  Flow More(const std::wstring& typed, const std::wstring& m);
  Flow CloseWindow(const std::wstring& typed, const std::wstring& m);
  Flow Rejoin(const std::wstring& typed, const std::wstring& m);
  Flow Join(const std::wstring& typed, const std::wstring& m);
  Flow End(const std::wstring& typed, const std::wstring& m);
  Flow Disable(const std::wstring& typed, const std::wstring& m);
  Flow Clear(const std::wstring& typed, const std::wstring& m);
  Flow Hide(const std::wstring& typed, const std::wstring& m);
  Flow Show(const std::wstring& typed, const std::wstring& m);
  Flow SystemInfo(const std::wstring& typed, const std::wstring& m);
  Flow ClearTimer(const std::wstring& typed, const std::wstring& m);
  Flow ClearTimerOff(const std::wstring& typed, const std::wstring& m);
  Flow SendsOn(const std::wstring& typed, const std::wstring& m);
  Flow SendsOff(const std::wstring& typed, const std::wstring& m);

  platform::ChatClientOs os_;
  chatctl::Chat& chat_;
  ToolState& state_;
  WindowCommands& window_;
};

}  // namespace tv::interp
