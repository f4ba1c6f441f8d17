#pragma once
// What one tick of the clear timer does; the window calls it when its clear timer fires.

#include "interp/tool_state.h"
#include "platform/chat_client.h"

namespace tv::interp {

// Empties the chat transcript, then announces "[Chat Cleared]" in the room unless the sends
// switch is off. Does nothing visible when no chat room window is open.
void ClearTimerTick(const platform::ChatClientOs& os, const ToolState& state);

}  // namespace tv::interp
