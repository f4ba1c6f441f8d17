#pragma once
// The real tick count: GetTickCount.

#include "platform/tick_count.h"

namespace tv::platform {

class Win32TickCount final : public TickCount {
 public:
  std::uint32_t GetTickCount() override;
};

}  // namespace tv::platform
