#pragma once

#include <string>

#include "platform/platform.h"

// A copy check that keeps what it was shown and answers as told.
class RecordingCheck : public platform::CopyCheck {
 public:
  explicit RecordingCheck(bool accept = true) : m_accept(accept) {}
  void Piece(const char* data, size_t size) override {
    seen.append(data, size);
    ++pieces;
  }
  bool Accept() override {
    ++accepts;
    return m_accept;
  }

  std::string seen;
  int pieces = 0;
  int accepts = 0;

 private:
  bool m_accept;
};
