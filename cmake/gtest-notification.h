// Force-included into GoogleTest and its users where the C++ library has no std::mutex (GCC 12's
// win32 thread model): GoogleTest takes this stand-in instead of its own Notification, the one
// class of it built on std::mutex and std::condition_variable. Only its own tests use the class.
#pragma once

#include <atomic>
#include <thread>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_ = true; }
  void WaitForNotification() {
    while (!notified_) std::this_thread::yield();
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
