#pragma once
// A shell that records what it was asked to open, and succeeds.

#include <vector>

#include "platform/shell.h"

namespace tv::platform {

class FakeShell final : public Shell {
 public:
  struct Call {
    WindowHandle owner;
    std::string verb, file;
    std::optional<std::string> parameters, directory;
    int showCommand;
  };
  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& verb, const std::string& file,
                              const std::optional<std::string>& parameters,
                              const std::optional<std::string>& directory,
                              int showCommand) override {
    calls_.push_back({owner, verb, file, parameters, directory, showCommand});
    return 42;  // any value above 32 is success
  }
  const std::vector<Call>& Calls() const { return calls_; }

 private:
  std::vector<Call> calls_;
};

}  // namespace tv::platform
