#pragma once
// Every fake the system figures need, owned together, handed out as a SystemOs.

#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system_figures.h"
#include "platform/fake/fake_tick_count.h"
#include "platform/fake/fake_window_list.h"
#include "platform/fake/iconv_codepage.h"
#include "platform/system_os.h"

namespace tv::platform {

struct FakeSystemOs {
  FakeSystemFigures figures;
  FakeRegistry registry;
  FakeEnvironment environment;
  FakeWindowList windows;
  FakeTickCount ticks;
  IconvCodePage codePage;

  SystemOs Os() { return SystemOs{figures, registry, environment, windows, ticks, codePage}; }
};

}  // namespace tv::platform
