#pragma once

#include <cstdint>
#include <string>

// SHA-256 of a byte string, fed in pieces; the digest as 64 lower-case hex
// digits. Where the processor has the SHA instructions (x86), whole blocks
// go through them, about six times as fast as the portable rounds.
class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  void Update(const std::string& data) { Update(data.data(), data.size()); }
  std::string HexDigest();

  static std::string Of(const std::string& data) {
    Sha256 h;
    h.Update(data);
    return h.HexDigest();
  }

  // For tests: false makes every hash use the portable rounds, true the
  // processor's where it has them.
  static void UseProcessorRounds(bool use);

 private:
  void Blocks(const uint8_t* data, size_t count);

  uint32_t m_state[8];
  uint8_t m_buffer[64];
  size_t m_buffered = 0;
  uint64_t m_length = 0;
};
