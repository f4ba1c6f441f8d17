#pragma once
// One copy of the tool per log-on session: two would both answer every command in the room. The
// first copy holds a named mutex in the session's namespace; a later one finds the first copy's
// window by its class and hands over to it.

#include <windows.h>

namespace tv::app {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another copy already runs in this session. A mutex that cannot be made at all
  // lets this copy run.
  bool first() const { return first_; }

 private:
  HANDLE mutex_;
  bool first_;
};

// The message a later copy sends to the running copy's window, which then shows itself (restored
// from the tray if it was there) and comes to the front. The window answers 1.
UINT ActivateMessage();

// Sends ActivateMessage to the running copy, waiting a few seconds for a copy that is still
// starting to make its window. False when no window answered.
bool ActivateRunningCopy();

}  // namespace tv::app
