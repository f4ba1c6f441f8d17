#include "soak_steps.h"

#include <map>

#include "interp/interpreter.h"
#include "support/e2e.h"

namespace wine_bench {
namespace {

using tv::interp::Answer;

// "/ct 0.4" leads so that the clear timer runs from the start; "/ctoff" closes the round, so the
// next "/ct 0.4" follows it at once, as "/cson" follows "/csoff"; "/show" brings back what "/hide"
// sent to the tray.
constexpr Step kSteps[] = {
    {L"/ct", "/ct 0.4", "[Clear Timer Set To 0.4 Minute(s)]", Effect::kReply},
    {L"/help", "/help", "[Tavik Varrow V.2][Join Chat Room", Effect::kReply},
    {L"/more", "/more", "[More Options...", Effect::kReply},
    {L"/x", "/x", nullptr, Effect::kRoomClosed},
    {L"/rj", "/rj 4", nullptr, Effect::kRoomRejoined},
    {L"/join", "/join Lobby 4", "[Joining Chat '", Effect::kReply},
    {L"/disable", "/disable", "[Chatscan Disabled]", Effect::kScanRestarted},
    {L"/clear", "/clear", "[Chat Cleared]", Effect::kReply},
    {L"/hide", "/hide", "[Sent To Tray]", Effect::kReplyHidden},
    {L"/sysinfo", "/sysinfo", "[System Info] ", Effect::kReply},
    {L"/show", "/show", "[Retrieved From Tray]", Effect::kReplyShown},
    {L"/csoff", "/csoff", "[Chatsends Off]", Effect::kReply},
    {L"/cson", "/cson", "[Chatsends On]", Effect::kReply},
    {L"/ctoff", "/ctoff", "[Clear Timer Off]", Effect::kReply},
    {L"/end", "/end", "[Ending...]", Effect::kEnded},
};

std::string Name(std::wstring_view word) { return e2e::Ansi(std::wstring(word)); }

}  // namespace

std::span<const Step> Steps() { return kSteps; }

std::vector<const Step*> Round() {
  std::vector<const Step*> round;
  for (const Step& step : kSteps) {
    if (step.effect != Effect::kEnded) round.push_back(&step);
  }
  return round;
}

const Step* Ending() {
  for (const Step& step : kSteps) {
    if (step.effect == Effect::kEnded) return &step;
  }
  return nullptr;
}

bool OpensPair(const Step& step) { return step.word == L"/csoff" || step.word == L"/ctoff"; }

std::vector<std::string> StepsAgainstTable() {
  std::vector<std::string> wrong;
  std::map<std::wstring_view, const Step*> steps;
  for (const Step& step : kSteps) {
    if (!steps.emplace(step.word, &step).second) wrong.push_back(Name(step.word) + ": two steps");
  }
  const std::vector<const Step*> round = Round();
  const Step* const ending = Ending();
  if (ending == nullptr) wrong.emplace_back("no step ends the tool, and with it the soak");
  if (round.size() + 1 < std::size(kSteps)) wrong.emplace_back("more than one step ends the tool");

  std::map<std::wstring_view, Answer> table;
  for (const tv::interp::CommandWord& command : tv::interp::Interpreter::Commands()) {
    table.emplace(command.word, command.answer);
  }
  for (const auto& [word, answer] : table) {
    if (steps.count(word) == 0)
      wrong.push_back(Name(word) + ": a command the soak has no step for");
  }
  for (const auto& [word, step] : steps) {
    const auto command = table.find(word);
    if (command == table.end()) {
      wrong.push_back(Name(word) + ": a step for no command of the tool");
    } else if ((command->second == Answer::kNothing) != (step->reply == nullptr)) {
      wrong.push_back(Name(word) + (step->reply
                                        ? ": the step waits for a reply the tool never gives"
                                        : ": the tool replies, the step does not wait"));
    }
  }

  // Round after round: the switch as the previous round left it, so the second pass tells.
  const auto gated = [&](const Step& step) {
    const auto command = table.find(step.word);
    return command != table.end() && command->second == Answer::kGated;
  };
  bool sendsOff = false;
  for (std::size_t i = 0; i < 2 * round.size(); ++i) {
    const Step& step = *round[i % round.size()];
    const bool told = i >= round.size();
    if (told && sendsOff && gated(step)) {
      wrong.push_back(Name(step.word) +
                      ": given while chat sends are off, which withhold its reply");
    }
    if (step.word == L"/csoff") sendsOff = true;
    if (step.word == L"/cson") sendsOff = false;
    if (told && sendsOff && !OpensPair(step) && ending != nullptr && gated(*ending)) {
      wrong.push_back("the soak may end after " + Name(step.word) + " while chat sends are off, " +
                      "which withhold the reply of " + Name(ending->word));
    }
  }
  return wrong;
}

}  // namespace wine_bench
