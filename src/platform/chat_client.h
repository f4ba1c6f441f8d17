#pragma once
// What the chat-window operations need of the operating system, bundled so that one composition
// root (the window, or a test) hands it around.

#include "platform/codepage.h"
#include "platform/desktop.h"
#include "platform/shell.h"

namespace tv::platform {

struct ChatClientOs {
  Desktop& desktop;
  Shell& shell;
  const CodePage& codePage;
};

}  // namespace tv::platform
