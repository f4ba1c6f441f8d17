#pragma once
// The chat command interpreter: handler of the scanner's aimchatscan event. It learns the user's
// screen name from the first line it is given, ignores every other speaker afterwards, and carries
// out the user's chat commands, answering with bracketed reply lines in the room.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chatctl/chat.h"
#include "form/tool_state.h"
#include "form/window_commands.h"
#include "platform/chat_client.h"

namespace tv::interp {

// The shortest clear period "/ct" accepts, in minutes.
inline constexpr double kMinClearMinutes = 0.4;

// Minutes as a clear-timer period: milliseconds rounded to the nearest whole number, halves to
// the even neighbour. Nothing when the result does not fit a signed 32-bit integer.
std::optional<std::int32_t> ClearPeriodMs(double minutes);

class Interpreter {
 public:
  // `chat` is the scanner, for the identification reply; the composition root hands its lines to
  // chat_aimchatscan. Everything passed in must outlive this object.
  Interpreter(platform::ChatClientOs os, chatctl::Chat& chat, form::ToolState& state,
              form::WindowCommands& window);

  // Handles one reported line; `datesaid` is not used. Reports nothing to the caller.
  void chat_aimchatscan(const chatctl::ChatLine& line);

 private:
  using Words = std::vector<std::wstring>;
  enum class Flow { kNext, kEnd };
  struct Command;

  void RunCommands(const std::wstring& typed, const std::wstring& m);
  Flow Run(const Command& command, const std::wstring& typed, const std::wstring& m);
  void Reply(const std::wstring& text);
  Flow GatedReply(const std::wstring& text);

  // The handlers of the command table; those of word commands get the message's words.
  Flow Help();
  Flow More();
  Flow CloseWindow();
  Flow Rejoin(const Words& words);
  Flow Join(const Words& words);
  Flow End();
  Flow Disable();
  Flow Clear();
  Flow Hide();
  Flow Show();
  Flow SystemInfo();
  Flow ClearTimer(const Words& words);
  Flow ClearTimerOff();
  Flow SendsOn();
  Flow SendsOff();

  platform::ChatClientOs chatOs_;
  chatctl::Chat& chat_;
  form::ToolState& state_;
  form::WindowCommands& window_;
};

}  // namespace tv::interp
