#pragma once
// The window's model, the scanner and the interpreter wired as the program wires them, on a fake
// screen, a fake chat room and fake system figures, loaded and ready.

#include <string>

#include "chatctl/chat.h"
#include "fake_chat_room.h"
#include "fake_form_view.h"
#include "form/form1.h"
#include "interp/interpreter.h"
#include "platform/fake/fake_system_os.h"
#include "platform/fake/fake_timer.h"

namespace tv::testing {

struct WiredTool {
  explicit WiredTool(const std::string& user = "Tester") : room(user) {
    view.Attach(form);
    chat.SetScanHandler(
        [this](const chatctl::ChatLine& line) { interpreter.chat_aimchatscan(line); });
    form.Form_Load();
  }
  WiredTool(const WiredTool&) = delete;  // the handlers point back here
  WiredTool& operator=(const WiredTool&) = delete;

  FakeChatRoom room;
  platform::FakeSystemOs systemOs;
  platform::FakeTimer scanTimer;
  platform::FakeTimer clearTimer;
  platform::FakeTimer timer1;
  chatctl::Chat chat{room.Os(), scanTimer};
  form::ToolState state{clearTimer};
  form::StatusLabels labels{systemOs.Os()};
  FakeFormView view;
  form::Form1 form{{room.Os(), chat, state, labels, timer1}, view};
  interp::Interpreter interpreter{room.Os(), chat, state, form};
};

}  // namespace tv::testing
