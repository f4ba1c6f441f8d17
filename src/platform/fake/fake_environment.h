#pragma once
// An environment block set by the test, entries "NAME=value" in block order.

#include "platform/environment.h"

namespace tv::platform {

class FakeEnvironment final : public Environment {
 public:
  std::vector<std::string> entries;

  std::vector<std::string> EnvironmentStrings() override { return entries; }
};

}  // namespace tv::platform
