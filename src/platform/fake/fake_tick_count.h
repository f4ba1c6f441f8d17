#pragma once
// A tick count that moves only when the test sets it.

#include "platform/tick_count.h"

namespace tv::platform {

class FakeTickCount final : public TickCount {
 public:
  std::uint32_t now = 0;

  std::uint32_t GetTickCount() override { return now; }
};

}  // namespace tv::platform
