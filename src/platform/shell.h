#pragma once
// Opening documents and links with the program registered for them. Mirrors ShellExecuteA.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop.h"

namespace tv::platform {

inline constexpr int kSwHide = 0;

class Shell {
 public:
  virtual ~Shell() = default;

  // Hands `file` to the program registered for it with `verb`. Texts are ANSI. Returns the shell's
  // result: above 32 on success.
  virtual std::intptr_t ShellExecuteA(WindowHandle owner, const std::string& verb,
                                      const std::string& file,
                                      const std::optional<std::string>& parameters,
                                      const std::optional<std::string>& directory,
                                      int showCommand) = 0;
};

}  // namespace tv::platform
