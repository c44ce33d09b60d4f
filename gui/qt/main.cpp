// The program entry of the Qt skin.
#include <QApplication>

#include "gui/qt/qtskin.h"
#include "platform/this_process.h"
#include "setup/installlog.h"
#include "setup/runlog.h"
#include "setup/silentrun.h"
#include "stools/streampresenter.h"

int main(int argc, char** argv) {
  // The command line is read before any window: the usage, a bad command
  // line and the install without a window need no display.
  const auto platform = platform::MakeProcessPlatform();
  CommandLine options;
  InstallLog log(*platform);
  {
    StreamPresenter errors(stderr);
    MessagePresenter* previous = SetMessagePresenter(&errors);
    int exitCode = 0;
    const bool ended = RunCommandLine(
        *platform, std::vector<std::string>(argv + 1, argv + argc),
        [](const std::string& text) { std::fputs(text.c_str(), stdout); },
        [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }, &options, &exitCode);
    const bool logOpen = ended || OpenRunLog(*platform, options, &log);
    SetMessagePresenter(previous);
    if (ended) return exitCode;
    if (!logOpen) return kExitCommandLine;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sirel_Setup"));
  QApplication::setApplicationDisplayName(QStringLiteral("Setup"));
  QApplication::setApplicationVersion(QStringLiteral(SETUP_VERSION));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/mainicon.xpm")));
  QtMessagePresenter presenter;
  SetMessagePresenter(&presenter);

  QtSkin skin(*platform);
  Wizard wizard(*platform, skin);
  if (!wizard.Start(options, &log)) return kExitSetupInf;
  skin.Window().show();
  return wizard.Finish(app.exec(), &log);
}
