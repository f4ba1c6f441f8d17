#include "interp/clear_timer.h"

#include "aim/chat_window.h"

namespace tv::interp {

void ClearTimerTick(const platform::ChatClientOs& os, const ToolState& state) {
  aim::SetTranscriptText(os, L"");
  if (!state.sendsOff()) aim::SendChatText(os, L"[Chat Cleared]");
}

}  // namespace tv::interp
