#include "install/hashpipe.h"

#include <algorithm>
#include <cstring>
#include <system_error>

HashPipe::~HashPipe() { Finish(); }

bool HashPipe::Start() {
  if (m_noThread) return false;
  for (auto& buffer : m_buffers) buffer.reset(new char[kBufferSize]);
  try {
    m_worker = std::thread([this] { Work(); });
  } catch (const std::system_error&) {
    m_noThread = true;
    return false;
  }
  m_running = true;
  return true;
}

void HashPipe::Update(const char* data, size_t size) {
  if (!m_running && (m_fed + size <= kBufferSize || !Start())) {
    m_hash.Update(data, size);
    m_fed += size;
    return;
  }
  m_fed += size;
  while (size > 0) {
    size_t& filled = m_sizes[m_filling];
    const size_t take = std::min(size, kBufferSize - filled);
    std::memcpy(m_buffers[m_filling].get() + filled, data, take);
    filled += take;
    data += take;
    size -= take;
    if (filled == kBufferSize) HandOver();
  }
}

void HashPipe::HandOver() {
  std::unique_lock<std::mutex> lock(m_mutex);
  ++m_full;
  m_changed.notify_all();
  m_changed.wait(lock, [this] { return m_full < kBuffers; });
  m_filling = (m_head + m_full) % kBuffers;
  m_sizes[m_filling] = 0;
}

void HashPipe::Work() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_full > 0 || m_closing; });
    if (m_full == 0) return;
    const int buffer = m_head;
    lock.unlock();
    m_hash.Update(m_buffers[buffer].get(), m_sizes[buffer]);
    lock.lock();
    m_head = (m_head + 1) % kBuffers;
    --m_full;
    m_changed.notify_all();
  }
}

void HashPipe::Finish() {
  if (!m_running) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    // HandOver left a free buffer, so the part-filled one fits in the ring.
    if (m_sizes[m_filling] > 0) ++m_full;
    m_closing = true;
  }
  m_changed.notify_all();
  m_worker.join();
  m_running = false;
}

std::string HashPipe::HexDigest() {
  Finish();
  return m_hash.HexDigest();
}
