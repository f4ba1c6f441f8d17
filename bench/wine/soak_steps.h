#pragma once
// What the soak needs to know of each command word: what the user types and how the soak sees the
// command obeyed. Which words there are is the tool's own command table; the soak refuses to
// start while its steps and that table differ, so that a new command cannot be left out.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wine_bench {

// How the soak sees that a command was obeyed.
enum class Effect {
  kReply,          // the reply line in the room
  kReplyHidden,    // the reply, and the window gone to the tray
  kReplyShown,     // the reply, and the window back
  kRoomClosed,     // the chat window closed
  kRoomRejoined,   // the chat window closed and opened again on a link the room logged
  kScanRestarted,  // the reply; then, "Chat Scan" ticked again, the user named anew
  kEnded,          // the reply and the process's exit
};

struct Step {
  std::wstring_view word;  // the command table's word
  const char* typed;
  const char* reply;  // how the reply line starts; null for none
  Effect effect;
};

// Every step: those of the round in the order the soak gives them, round after round, and the one
// that ends the tool (Effect::kEnded), given once to end the soak.
std::span<const Step> Steps();
std::vector<const Step*> Round();
const Step* Ending();  // null when no step ends the tool

// What keeps the soak from starting: a word of the tool's table without a step, a step whose word
// the table has not, a step that waits for a reply the table says never comes (or for none where
// one comes), a gated reply asked for while the soak has chat sends off. A line each.
std::vector<std::string> StepsAgainstTable();

// The soak may not end between this step and the one after it.
bool OpensPair(const Step& step);

}  // namespace wine_bench
