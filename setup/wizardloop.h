#pragma once

#include <cstdint>
#include <functional>

#include "install/eventloop.h"

// The message loop as the wizard's copy sees it: the skin's loop, passed at
// most once every kPassInterval (the copy asks once per file, and painting
// the window that often would cost more than copying a small file, while 60
// passes a second keep it responsive), and ending also once the user asked
// to close the window during the copy.
class WizardLoop : public EventLoop {
 public:
  static constexpr int64_t kPassInterval = 16;  // milliseconds
  // Milliseconds from any fixed point.
  using Clock = std::function<int64_t()>;

  WizardLoop(EventLoop& skin, std::function<bool()> closeRequested, Clock clock = SteadyMilliseconds);

  void ProcessMessages() override;
  bool Terminating() override;
  void Synchronize(const std::function<void()>& call) override { m_skin.Synchronize(call); }

  static int64_t SteadyMilliseconds();

 private:
  EventLoop& m_skin;
  std::function<bool()> m_closeRequested;
  Clock m_clock;
  bool m_passed = false;
  int64_t m_lastPass = 0;
};
