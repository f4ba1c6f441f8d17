#pragma once
// The tool wired as the program wires it (app::Tool), on a fake screen, a fake chat room, fake
// system figures and fake timers, loaded and ready.

#include <string>

#include "app/tool.h"
#include "fake_chat_room.h"
#include "fake_form_view.h"
#include "platform/fake/fake_system_os.h"
#include "platform/fake/fake_timer.h"

namespace tv::testing {

// Made before the tool, which is wired on them.
struct Fakes {
  explicit Fakes(const std::string& user) : room(user) {}
  FakeChatRoom room;
  platform::FakeSystemOs systemOs;
  platform::FakeTimer scanTimer, clearTimer, timer1;
  FakeFormView view;
};

struct WiredTool : Fakes, app::Tool {
  explicit WiredTool(const std::string& user = "Tester")
      : Fakes(user), app::Tool(room.Os(), systemOs.Os(), {scanTimer, clearTimer, timer1}, view) {
    view.Attach(form);
    form.Form_Load();
  }
};

}  // namespace tv::testing
