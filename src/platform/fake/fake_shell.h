#pragma once
// A shell that records what it was asked to open.

#include <vector>

#include "platform/shell.h"

namespace tv::platform {

class FakeShell final : public Shell {
 public:
  struct Call {
    WindowHandle owner = kNoWindow;
    std::string verb;
    std::string file;
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
    int showCommand = -1;
  };

  std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& verb, const std::string& file,
                              const std::optional<std::string>& parameters,
                              const std::optional<std::string>& directory,
                              int showCommand) override {
    calls_.push_back(Call{owner, verb, file, parameters, directory, showCommand});
    return 42;  // any value above 32 is success
  }

  const std::vector<Call>& Calls() const { return calls_; }

 private:
  std::vector<Call> calls_;
};

}  // namespace tv::platform
