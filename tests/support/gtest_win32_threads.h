// Forced into every GoogleTest translation unit of the Windows build.
//
// The win32 thread model of mingw-w64 (the one whose programs load on
// Windows XP) has no std::mutex or std::condition_variable, yet GoogleTest
// needs them for one class only: Notification, which its own thread tests
// use and ours never do. This stand-in lets GoogleTest keep its Win32 mutex
// and thread-local support.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing
