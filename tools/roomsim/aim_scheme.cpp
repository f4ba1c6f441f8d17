#include "aim_scheme.h"

namespace roomsim {
namespace {

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

std::string AimOpenCommand(std::string_view exePath) {
  std::string command = "\"";
  command += exePath;
  command += "\" --link \"%1\"";
  return command;
}

bool MayClaimAimScheme(const std::optional<std::string>& currentCommand) {
  if (!currentCommand || currentCommand->empty()) return true;
  const std::string command = Lowered(*currentCommand);
  // The program is the first word, quoted or not; it is another roomsim if its file is one.
  std::string program;
  if (command.front() == '"') {
    const std::size_t close = command.find('"', 1);
    program = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  } else {
    program = command.substr(0, command.find(' '));
  }
  const std::size_t slash = program.find_last_of("\\/");
  const std::string file = slash == std::string::npos ? program : program.substr(slash + 1);
  return file == "roomsim.exe" || file == "roomsim";
}

}  // namespace roomsim
