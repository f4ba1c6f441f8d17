#include "options.h"

#include <cstddef>
#include <utility>

namespace roomsim {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The arguments of a raw command line one at a time, keeping where each lies in the line.
class Reader {
 public:
  // Skips the program path, which has quotes but no escapes.
  explicit Reader(std::string_view line) : line_(line) {
    bool quoted = false;
    for (; at_ < line_.size() && (quoted || !IsBlank(line_[at_])); ++at_) {
      if (line_[at_] == '"') quoted = !quoted;
    }
    SkipBlanks();
  }

  bool Done() const { return at_ >= line_.size(); }

  // The next argument: blanks inside quotes are kept, 2n backslashes before a quote give n and
  // the quote opens or closes, 2n + 1 give n and a literal quote.
  std::string Take() {
    start_ = at_;
    std::string arg;
    bool quoted = false;
    while (at_ < line_.size() && (quoted || !IsBlank(line_[at_]))) {
      std::size_t backslashes = 0;
      for (; at_ < line_.size() && line_[at_] == '\\'; ++at_) ++backslashes;
      if (at_ < line_.size() && line_[at_] == '"') {
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          arg += '"';
        } else {
          quoted = !quoted;
        }
        ++at_;
      } else {
        arg.append(backslashes, '\\');
        if (at_ < line_.size() && (quoted || !IsBlank(line_[at_]))) arg += line_[at_++];
      }
    }
    end_ = at_;
    SkipBlanks();
    return arg;
  }

  // The raw line after the argument just taken: after its first "=" when `afterEquals`, else
  // after it and one blank; without one pair of quotes around it.
  std::string Rest(bool afterEquals) const {
    std::size_t from = afterEquals ? line_.find('=', start_) + 1 : end_;
    if (!afterEquals && from < line_.size()) ++from;  // the blank that ended the argument
    std::string_view rest = line_.substr(from);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
      rest = rest.substr(1, rest.size() - 2);
    }
    return std::string(rest);
  }

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
  void SkipBlanks() {
    while (at_ < line_.size() && IsBlank(line_[at_])) ++at_;
  }

  std::string_view line_;
  std::size_t at_ = 0;
  std::size_t start_ = 0;  // where the argument last taken begins
  std::size_t end_ = 0;    // and where it ends
};

ParsedOptions Fail(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedOptions ParseCommandLine(std::string_view commandLine,
                               const std::optional<std::string>& linkLogVariable) {
  Options options;
  Reader reader(commandLine);
  while (!reader.Done()) {
    const std::string arg = reader.Take();
    if (arg == "--register") {
      options.registerScheme = true;
      continue;
    }
    if (Reader::Is(arg, "--link")) {
      std::string link = reader.Rest(arg.size() > 6);
      if (link.empty()) return Fail("--link needs a value");
      options.link = std::move(link);
      break;
    }
    std::string_view name;
    for (std::string_view known : {"--user", "--room", "--link-log", "--clock"}) {
      if (Reader::Is(arg, known)) name = known;
    }
    if (name.empty()) return Fail("unknown argument: " + arg);
    auto value = reader.Value(arg, name);
    if (!value || value->empty()) return Fail(std::string(name) + " needs a value");
    if (name == "--user") {
      options.userName = std::move(*value);
    } else if (name == "--room") {
      options.room = std::move(*value);
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
  return "roomsim [options] [--link LINK]\n"
         "  --room NAME       the room to open (Lobby)\n"
         "  --user NAME       the local user's screen name (Tester)\n"
         "  --link-log FILE   append every link received to FILE (else $ROOMSIM_LINK_LOG)\n"
         "  --clock h:mm:ss   stamp lines from this time on, a second per line\n"
         "  --register        make roomsim the handler of aim: links, then exit\n"
         "  --link LINK       open the room of this aim:gochat link instead; last, as the rest\n"
         "                    of the line is the link\n";
}

}  // namespace roomsim
