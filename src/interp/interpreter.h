#pragma once
// The chat command interpreter: handler of the scanner's aimchatscan event. It learns the user's
// screen name from the first line it is given, ignores every other speaker afterwards, and carries
// out the user's chat commands, answering with bracketed reply lines in the room.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chatctl/chat.h"
#include "model/tool_state.h"
#include "model/window_commands.h"
#include "platform/chat_client.h"

namespace tv::interp {

// What a command says in the room.
enum class Answer {
  kNothing,  // no reply
  kAlways,   // its reply goes out whatever the chat-sends switch says
  kGated,    // while chat sends are off its reply is withheld, and the handling of the line ends
};

struct CommandWord {
  std::wstring_view word;  // normalised, as the user's line is compared with it
  Answer answer;
};

class Interpreter {
 public:
  // `chat` is the scanner, for the identification reply; the composition root hands its lines to
  // chat_aimchatscan. Everything passed in must outlive this object.
  Interpreter(platform::ChatClientOs os, chatctl::Chat& chat, model::ToolState& state,
              model::WindowCommands& window);

  // The command table, in the order a line is tested against it.
  static std::span<const CommandWord> Commands();

  // The help texts of "/help" and "/more", which name the commands.
  static const std::wstring_view kHelpText;
  static const std::wstring_view kMoreText;

  // Handles one reported line; `datesaid` is not used. Reports nothing to the caller.
  void chat_aimchatscan(const chatctl::ChatLine& line);

 private:
  using Words = std::vector<std::wstring>;
  struct Command;
  static const Command kCommands[];

  void RunCommands(const std::wstring& typed, const std::wstring& m);
  // The running command's reply; while sends are off it is withheld if the command's row of the
  // table says so.
  void Say(const std::wstring& text);

  // The handlers of the command table; those of word commands get the message's words.
  void Help();
  void More();
  void CloseWindow();
  void Rejoin(const Words& words);
  void Join(const Words& words);
  void End();
  void Disable();
  void Clear();
  void Hide();
  void Show();
  void SystemInfo();
  void ClearTimer(const Words& words);
  void ClearTimerOff();
  void SendsOn();
  void SendsOff();

  platform::ChatClientOs chatOs_;
  chatctl::Chat& chat_;
  model::ToolState& state_;
  model::WindowCommands& window_;
  const Command* running_ = nullptr;
};

}  // namespace tv::interp
