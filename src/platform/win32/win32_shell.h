#pragma once
// The real shell: ShellExecuteA.

#include "platform/shell.h"

namespace tv::platform {

class Win32Shell final : public Shell {
 public:
  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& verb, const std::string& file,
                              const std::optional<std::string>& parameters,
                              const std::optional<std::string>& directory,
                              int showCommand) override;
};

}  // namespace tv::platform
