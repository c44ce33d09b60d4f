#pragma once

#include <cstdio>

#include "stools/stools.h"

// The message boxes of ShowMsgBox as lines on a stream (the standard error
// stream of a run without a window): "Caption: text", line breaks of the
// text kept, nothing asked of anybody.
class StreamPresenter : public MessagePresenter {
 public:
  explicit StreamPresenter(std::FILE* stream) : m_stream(stream) {}
  int32_t Show(const char* Text, const char* Caption, int32_t Flags) override;

 private:
  std::FILE* m_stream;
};
