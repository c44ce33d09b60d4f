#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "install/eventloop.h"

// An event loop for tests: the test thread is the GUI thread. Synchronize
// queues the call and blocks the worker until ProcessMessages runs it;
// Terminating turns true after a chosen number of ProcessMessages calls.
class QueueEventLoop : public EventLoop {
 public:
  ~QueueEventLoop() override;

  void ProcessMessages() override;
  bool Terminating() override { return m_terminateAfter >= 0 && m_processed >= m_terminateAfter; }
  void Synchronize(const std::function<void()>& call) override;

  // Terminating() answers true from the n-th ProcessMessages call on.
  void TerminateAfter(int n) { m_terminateAfter = n; }
  // Waits until a worker has queued a call; false after a second.
  bool WaitForQueuedCall();
  int processed() const { return m_processed; }

 private:
  struct Call {
    std::function<void()> run;
    bool done = false;
  };
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::shared_ptr<Call>> m_queue;
  bool m_shutdown = false;
  int m_processed = 0;
  int m_terminateAfter = -1;
};
