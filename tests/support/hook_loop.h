#pragma once

#include <functional>
#include <string>

#include "install/eventloop.h"
#include "install/installengine.h"

// A loop that lets a test act when the copy reaches a file, and ask for the
// close at any point.
class HookLoop : public EventLoop {
 public:
  void ProcessMessages() override {
    if (onMessages) onMessages();
  }
  bool Terminating() override { return terminating; }
  void Synchronize(const std::function<void()>& call) override { call(); }
  std::function<void()> onMessages;
  bool terminating = false;
};

// Remembers the name of the file being copied.
class LabelView : public NullProgressView {
 public:
  void SetLabelFile(const std::string& Caption) override { label = Caption; }
  std::string label;
};
