// The program entry of the Qt skin.
#include <QApplication>

#include "gui/qt/mainwindow.h"
#include "gui/qt/qtsupport.h"
#include "gui/qt/verzdialog.h"
#include "platform/posix/posix_platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sirel_Setup"));
  QApplication::setApplicationDisplayName(QStringLiteral("Setup"));
  QApplication::setApplicationVersion(QStringLiteral(SETUP_VERSION));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/mainicon.xpm")));
  QtMessagePresenter presenter;
  SetMessagePresenter(&presenter);

  const auto platform = platform::posix::PosixPlatform::ForThisProcess();
  QtEventLoop loop;
  MainWindow window(*platform, loop);
  if (!window.form().FormCreate()) return 0;
  // The chooser is created after the main window; its list starts at C:\.
  TVerzeichnisDlg chooser(*platform, [](const std::string& error) {
    ShowMsgBox(QApplication::applicationDisplayName().toStdString(), error, 0x10);
  });
  VerzDialog dialog(chooser, *platform, &window);
  window.form().SetDialog(&chooser);
  window.show();
  const int result = app.exec();
  window.form().FormDestroy();
  return result;
}
