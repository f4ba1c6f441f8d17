#pragma once
// The whole tool but its window: the scanner, the tool state, the status labels, the window's
// model and the interpreter, wired as the program runs them. WinMain builds it on the real
// desktop, system and window; the native tests, the fuzzers and the benchmarks on fakes, so this
// one file of app/ is portable.

#include "chatctl/chat.h"
#include "form/form1.h"
#include "form/form_view.h"
#include "form/status_labels.h"
#include "interp/interpreter.h"
#include "model/tool_state.h"
#include "platform/chat_client.h"
#include "platform/system_os.h"
#include "platform/timer.h"

namespace tv::app {

// The window's timers: the tool switches them, and the window hands each tick to Form1.
struct Timers {
  platform::Timer& chatTymer;  // the scanner's poll
  platform::Timer& cleartmr;   // the clear timer
  platform::Timer& timer1;     // the status timer
};

struct Tool {
  // Everything passed in must outlive the tool. The form's Form_Load is the window's to run.
  Tool(const platform::ChatClientOs& chatOs, const platform::SystemOs& systemOs,
       const Timers& timers, form::FormView& view)
      : chat(chatOs, timers.chatTymer),
        state(timers.cleartmr),
        labels(systemOs),
        form({chatOs, chat, state, labels, timers.timer1}, view),
        interpreter(chatOs, chat, state, form) {
    // Each new chat line, raised inside the scanner's tick, goes to the interpreter.
    chat.SetScanHandler(
        [this](const chatctl::ChatLine& line) { interpreter.chat_aimchatscan(line); });
  }
  Tool(const Tool&) = delete;  // the scanner's handler points back here
  Tool& operator=(const Tool&) = delete;

  chatctl::Chat chat;
  model::ToolState state;
  form::StatusLabels labels;
  form::Form1 form;
  interp::Interpreter interpreter;
};

}  // namespace tv::app
