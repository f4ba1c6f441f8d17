#include "options.h"

#include <cstddef>
#include <string_view>
#include <utility>

namespace roomsim {
namespace {

class Reader {
 public:
  explicit Reader(const std::vector<std::string>& args) : args_(args) {}

  bool Done() const { return next_ >= args_.size(); }
  const std::string& Take() { return args_[next_++]; }

  // True when `arg` is the option `name`, bare or with "=value".
  static bool Is(const std::string& arg, std::string_view name) {
    return arg.compare(0, name.size(), name) == 0 &&
           (arg.size() == name.size() || arg[name.size()] == '=');
  }

  // The option's value: after "=" in the same argument, else the next argument.
  std::optional<std::string> Value(const std::string& arg, std::string_view name) {
    if (arg.size() > name.size()) return arg.substr(name.size() + 1);
    if (Done()) return std::nullopt;
    return Take();
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
};

ParsedOptions Fail(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args,
                           const std::optional<std::string>& linkLogVariable) {
  Options options;
  Reader reader(args);
  while (!reader.Done()) {
    const std::string arg = reader.Take();
    if (arg == "--register") {
      options.registerScheme = true;
      continue;
    }
    std::string_view name;
    for (std::string_view known : {"--user", "--room", "--link", "--link-log", "--clock"}) {
      if (Reader::Is(arg, known)) name = known;
    }
    if (name.empty()) return Fail("unknown argument: " + arg);
    auto value = reader.Value(arg, name);
    if (!value || value->empty()) return Fail(std::string(name) + " needs a value");
    if (name == "--user") {
      options.userName = std::move(*value);
    } else if (name == "--room") {
      options.room = std::move(*value);
    } else if (name == "--link") {
      options.link = std::move(*value);
    } else if (name == "--link-log") {
      options.linkLog = std::move(*value);
    } else {
      options.clock = ParseTimeOfDay(*value);
      if (!options.clock) return Fail("--clock needs a time of day as h:mm:ss");
    }
  }
  if (!options.linkLog && linkLogVariable && !linkLogVariable->empty()) {
    options.linkLog = linkLogVariable;
  }
  return {std::move(options), {}};
}

std::string UsageText() {
  return "roomsim [options]\n"
         "  --room NAME       the room to open (Lobby)\n"
         "  --user NAME       the local user's screen name (Tester)\n"
         "  --link LINK       open the room of this aim:gochat link instead\n"
         "  --link-log FILE   append every link received to FILE (else $ROOMSIM_LINK_LOG)\n"
         "  --clock h:mm:ss   stamp lines from this time on, a second per line\n"
         "  --register        make roomsim the handler of aim: links, then exit\n";
}

}  // namespace roomsim
