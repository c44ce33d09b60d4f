#include "tests/support/queue_event_loop.h"

#include <chrono>

QueueEventLoop::~QueueEventLoop() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_shutdown = true;
  m_changed.notify_all();
}

void QueueEventLoop::ProcessMessages() {
  ++m_processed;
  for (;;) {
    std::shared_ptr<Call> call;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_queue.empty()) return;
      call = m_queue.front();
      m_queue.pop_front();
    }
    call->run();
    std::lock_guard<std::mutex> lock(m_mutex);
    call->done = true;
    m_changed.notify_all();
  }
}

void QueueEventLoop::Synchronize(const std::function<void()>& run) {
  auto call = std::make_shared<Call>();
  call->run = run;
  std::unique_lock<std::mutex> lock(m_mutex);
  if (m_shutdown) return;
  m_queue.push_back(call);
  m_changed.notify_all();
  m_changed.wait(lock, [&] { return call->done || m_shutdown; });
}

bool QueueEventLoop::WaitForQueuedCall() {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::seconds(1), [&] { return !m_queue.empty(); });
}
