#pragma once
// Milliseconds since the operating system started. Mirrors kernel32's GetTickCount.

#include <cstdint>

namespace tv::platform {

class TickCount {
 public:
  virtual ~TickCount() = default;
  // Wraps to 0 after 2^32 ms (about 49.7 days).
  virtual std::uint32_t GetTickCount() = 0;
};

}  // namespace tv::platform
