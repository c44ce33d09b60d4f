#include "gui/qt/qtsupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QToolTip>

#include "gui/qt/qtcanvas.h"
#include "setup/mainform.h"

int32_t QtMessagePresenter::Show(const char* Text, const char* Caption, int32_t Flags) {
  QMessageBox box(Flags & MB_ICONINFORMATION ? QMessageBox::Information : QMessageBox::NoIcon, DisplayText(Caption),
                  DisplayText(Text), QMessageBox::Ok, QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return IDOK;
}

void QtEventLoop::ProcessMessages() { QCoreApplication::processEvents(); }

bool QtEventLoop::Terminating() { return QCoreApplication::closingDown(); }

void QtEventLoop::Synchronize(const std::function<void()>& call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  if (QThread::currentThread() == app->thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(app, call, Qt::BlockingQueuedConnection);
}

void ShowHint(const QPoint& cursor, const QString& text, QWidget* widget) {
  static const bool paletteSet = [] {
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QColor(0, 255, 255));
    palette.setColor(QPalette::Window, QColor(0, 255, 255));
    QToolTip::setPalette(palette);
    return true;
  }();
  (void)paletteSet;
  if (text.isEmpty()) {
    QToolTip::hideText();
    return;
  }
  const graphics::Point at = TMainForm::AppShowHint(cursor.x(), cursor.y());
  // Qt places a tip 2 pixels right of and 16 below the point it is given.
  QToolTip::showText(QPoint(at.x, at.y) - QPoint(2, 16), text, widget);
}
