#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "install/sha256.h"

// SHA-256 of a stream fed in pieces, as a copy reads it. The first MiB is
// hashed at once; beyond it the pieces are copied into a few buffers that a
// second thread hashes while the caller goes on reading and writing, so on
// two cores the hash of a large file costs little more than its copy. A
// small file never starts the thread.
class HashPipe {
 public:
  HashPipe() = default;
  ~HashPipe();
  HashPipe(const HashPipe&) = delete;
  HashPipe& operator=(const HashPipe&) = delete;

  void Update(const char* data, size_t size);
  // The digest of everything fed, as 64 lower-case hex digits; once only.
  std::string HexDigest();

 private:
  static constexpr size_t kBufferSize = size_t{1} << 20;
  static constexpr int kBuffers = 4;

  // Starts the thread; false (and the hash stays on this thread) when the
  // system gives no thread.
  bool Start();
  // Hands the buffer being filled to the thread and waits for a free one.
  void HandOver();
  // Hands over what is left and waits until the thread has hashed it all.
  void Finish();
  void Work();

  Sha256 m_hash;  // the thread's alone while it runs
  uint64_t m_fed = 0;
  bool m_running = false;
  bool m_noThread = false;
  std::unique_ptr<char[]> m_buffers[kBuffers];
  size_t m_sizes[kBuffers] = {};
  int m_filling = 0;  // the buffer the caller fills
  std::thread m_worker;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  // Guarded by m_mutex: the buffers m_head, m_head + 1, ... (m_full of
  // them, in a ring) wait for the thread or are being hashed.
  int m_head = 0;
  int m_full = 0;
  bool m_closing = false;
};
