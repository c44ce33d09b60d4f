#include "setup/wizardloop.h"

#include <chrono>
#include <utility>

WizardLoop::WizardLoop(EventLoop& skin, std::function<bool()> closeRequested, Clock clock)
    : m_skin(skin), m_closeRequested(std::move(closeRequested)), m_clock(std::move(clock)) {}

void WizardLoop::ProcessMessages() {
  if (m_passed && m_clock() - m_lastPass < kPassInterval) return;
  m_skin.ProcessMessages();
  m_lastPass = m_clock();
  m_passed = true;
}

bool WizardLoop::Terminating() { return m_skin.Terminating() || (m_closeRequested && m_closeRequested()); }

int64_t WizardLoop::SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
