#pragma once

#include <QObject>
#include <functional>

#include "install/eventloop.h"
#include "stools/stools.h"

class QPoint;
class QString;
class QWidget;

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
  void ProcessMessages() override;
  // True while the application is closing down.
  bool Terminating() override;
  void Synchronize(const std::function<void()>& call) override;
};
