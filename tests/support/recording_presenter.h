#pragma once

#include <string>
#include <vector>

#include "stools/stools.h"

// Records every message box instead of showing it; installs itself for its
// lifetime and restores the previous presenter afterwards.
class RecordingPresenter : public MessagePresenter {
 public:
  struct Message {
    std::string caption;
    std::string text;
    int32_t flags;
  };

  RecordingPresenter() : m_previous(SetMessagePresenter(this)) {}
  ~RecordingPresenter() override { SetMessagePresenter(m_previous); }
  RecordingPresenter(const RecordingPresenter&) = delete;
  RecordingPresenter& operator=(const RecordingPresenter&) = delete;

  int32_t Show(const char* Text, const char* Caption, int32_t Flags) override {
    messages.push_back({Caption, Text, Flags});
    return IDOK;
  }

  std::vector<Message> messages;

 private:
  MessagePresenter* m_previous;
};
