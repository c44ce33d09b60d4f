#pragma once

#include <functional>

// What the engine needs of the GUI's message loop. The skins implement it;
// tests and the command-line tools use a loop without a window.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Handles the window messages that are pending, then returns.
  virtual void ProcessMessages() = 0;
  // True once the program is ending (a close request during the install
  // counts): long loops stop at their next check.
  virtual bool Terminating() = 0;
  // Called from a worker thread: runs call on the GUI thread and returns when
  // it has run, or without running it when the loop shuts down first.
  virtual void Synchronize(const std::function<void()>& call) = 0;
};

// A loop without a window: nothing is ever pending; Synchronize runs the call
// on the calling thread.
class DirectEventLoop : public EventLoop {
 public:
  void ProcessMessages() override {}
  bool Terminating() override { return false; }
  void Synchronize(const std::function<void()>& call) override { call(); }
};
