#pragma once
// The real process environment: GetEnvironmentStrings (the ANSI block).

#include "platform/environment.h"

namespace tv::platform {

class Win32Environment final : public Environment {
 public:
  std::vector<std::string> EnvironmentStrings() override;
};

}  // namespace tv::platform
