#pragma once
// The process environment. Mirrors kernel32's GetEnvironmentStringsA: the whole block, so that
// the lookup rules (names matched without regard to case, first entry wins) live in portable code.

#include <string>
#include <vector>

namespace tv::platform {

class Environment {
 public:
  virtual ~Environment() = default;

  // Every entry, "NAME=value", ANSI, in block order. Windows keeps per-drive folders as entries
  // whose name starts with "=" ("=C:=C:\Work"); they are passed on too.
  virtual std::vector<std::string> EnvironmentStrings() = 0;
};

}  // namespace tv::platform
