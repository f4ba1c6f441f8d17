#pragma once
// What the system figures need of the operating system, bundled so that one composition root (the
// window, or a test) hands it around.

#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "platform/system_figures.h"
#include "platform/tick_count.h"
#include "platform/window_list.h"

namespace tv::platform {

struct SystemOs {
  SystemFigures& figures;
  Registry& registry;
  Environment& environment;
  WindowList& windows;
  TickCount& ticks;
  const CodePage& codePage;
};

}  // namespace tv::platform
