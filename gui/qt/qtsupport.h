#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>

#include "install/eventloop.h"
#include "stools/stools.h"

class QPoint;
class QString;
class QWidget;
class TMainForm;

// Shows a hint for the pointer at cursor (screen coordinates): 10 pixels to
// the right and 18 below it, on aqua. Every hint of the program goes here.
void ShowHint(const QPoint& cursor, const QString& text, QWidget* widget);

// The message boxes of ShowMsgBox as QMessageBox: information icon for
// flags 64, none for 0, modal for the whole program.
class QtMessagePresenter : public MessagePresenter {
 public:
  int32_t Show(const char* Text, const char* Caption, int32_t Flags) override;
};

// Qt's message loop as the engine sees it.
class QtEventLoop : public EventLoop {
 public:
  // Handles pending messages at most every few milliseconds: a copy loop asks
  // once per file, and painting the window that often would cost more than
  // the copy of a small file, while 60 passes a second keep it responsive.
  void ProcessMessages() override;
  // True while the application is closing down or the window was asked to close.
  bool Terminating() override;
  void Synchronize(const std::function<void()>& call) override;
  void SetForm(const TMainForm* form) { m_form = form; }

 private:
  const TMainForm* m_form = nullptr;
  QElapsedTimer m_sinceLastPass;
};
