#include "soak_steps.h"

namespace wine_bench {
namespace {

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

}  // namespace wine_bench
