// wizardtour: runs the real wizard window through every page on a medium
// (a sample delivery staged next to this program), installs into a temporary
// drive, and saves a screenshot of each page. With --measure N it instead
// times a copy of N files through the window against the engine alone.
//
// Usage: wizardtour MEDIUM SCREENSHOT_DIR
//        wizardtour --measure N
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>

#include "gui/qt/qtskin.h"
#include "install/installengine.h"
#include "navigate/navigate.h"
#include "platform/posix/posix_platform.h"
#include "setupdata/memini.h"

namespace {

class Recorder : public MessagePresenter {
 public:
  int32_t Show(const char* Text, const char* Caption, int32_t) override {
    std::printf("message: %s: %s\n", Caption, Text);
    return IDOK;
  }
};

template <typename T>
T* Find(QWidget& w, const char* name) {
  return w.findChild<T*>(QString::fromLatin1(name));
}

void Shot(QWidget& w, const QString& dir, const QString& name) {
  QCoreApplication::processEvents();
  w.grab().save(dir + "/" + name);
  std::printf("screenshot: %s/%s\n", qPrintable(dir), qPrintable(name));
}

int Tour(const QString& medium, const QString& shots) {
  QTemporaryDir temp;
  QDir().mkpath(temp.path() + "/c/SIREL");
  QDir().mkpath(temp.path() + "/e/CAD");
  QDir().mkpath(shots);
  platform::posix::PosixPlatform platform(
      platform::posix::DriveTable({{'C', (temp.path() + "/c").toStdString(), platform::kDriveFixed},
                                   {'D', QDir(medium).absolutePath().toStdString(), platform::kDriveCdRom},
                                   {'E', (temp.path() + "/e").toStdString(), platform::kDriveFixed}}),
      (QDir(medium).absolutePath() + "/SETUP.EXE").toStdString());
  Recorder recorder;
  SetMessagePresenter(&recorder);
  QtSkin skin(platform);
  Wizard wizard(platform, skin);
  if (!wizard.Start(CommandLine{}, nullptr)) return 1;
  MainWindow& window = skin.Window();
  VerzDialog& dialog = skin.Dialog();
  TVerzeichnisDlg& chooser = wizard.Chooser();
  window.resize(800, 600);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  Shot(window, shots, "page0-english.png");
  Find<QComboBox>(window, "ComboBoxSprache")->setCurrentIndex(1);
  Shot(window, shots, "page0-deutsch.png");
  Find<QComboBox>(window, "ComboBoxSprache")->setCurrentIndex(0);
  QTest::keyClick(&window, Qt::Key_Return);
  Shot(window, shots, "page1-licence.png");
  QTest::mouseClick(Find<QPushButton>(window, "accept_Button"), Qt::LeftButton);
  Find<QCheckBox>(window, "Beispiel_CheckBox")->click();
  Find<QCheckBox>(window, "DXF_CheckBox")->click();
  Shot(window, shots, "page2-selection.png");
  QTest::keyClick(&window, Qt::Key_Return);
  QTimer::singleShot(100, &dialog, [&] {
    chooser.List().SetDirectory("E:\\CAD");
    QCoreApplication::processEvents();
    Shot(dialog, shots, "chooser.png");
    Find<QPushButton>(dialog, "BtnOK")->click();
  });
  QTest::mouseClick(Find<QPushButton>(window, "DXFZiel_Button"), Qt::LeftButton);
  Shot(window, shots, "page3-destination.png");
  QTest::keyClick(&window, Qt::Key_Return);
  Shot(window, shots, "page4-copy.png");
  const bool ok = !wizard.Form().InstallAborted() && QFile::exists(temp.path() + "/c/SIREL/README.TXT");
  std::printf("install %s\n", ok ? "complete" : "FAILED");
  SetMessagePresenter(nullptr);
  return ok ? 0 : 1;
}

int Measure(int files) {
  QTemporaryDir temp;
  const QString medium = temp.path() + "/d";
  for (int i = 0; i < files; ++i) {
    const QString dir = QStringLiteral("%1/files/d%2").arg(medium).arg(i / 100);
    if (i % 100 == 0) QDir().mkpath(dir);
    QFile f(QStringLiteral("%1/f%2.mac").arg(dir).arg(i));
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(600, 'x'));
  }
  QFile inf(medium + "/SETUP.INF");
  inf.open(QIODevice::WriteOnly);
  inf.write(
      "[Languages]\r\n1=English\r\n[English]\r\nTxt_024=failed\r\nTxt_031=done\r\n"
      "Txt_063=a\r\nTxt_064=b\r\nTxt_065=c\r\nTxt_066=d\r\nTxt_067=e\r\nTxt_600=files\\;OUT\r\n");
  inf.close();
  const auto makePlatform = [&](const QString& target) {
    QDir().mkpath(target + "/SIREL");
    return std::make_unique<platform::posix::PosixPlatform>(
        platform::posix::DriveTable(
            {{'C', target.toStdString(), platform::kDriveFixed}, {'D', medium.toStdString(), platform::kDriveCdRom}}),
        (medium + "/SETUP.EXE").toStdString());
  };
  Recorder recorder;
  SetMessagePresenter(&recorder);
  double engineSeconds = 0;
  double windowSeconds = 0;
  for (int round = 0; round < 3; ++round) {
    {
      auto platform = makePlatform(temp.path() + QStringLiteral("/engine%1").arg(round));
      TMemIniFile ini(std::string("[L]\nTxt_024=failed\nTxt_600=files\\;OUT\n"));
      TextCatalogue texts(ini);
      texts.SetCurrentLanguage("L");
      DirectEventLoop direct;
      NullProgressView view;
      InstallEngine engine(*platform, direct, view, texts, "D:", [] { return std::string(); });
      CopyRequest request;
      request.Sirel = true;
      request.SirelTargetBase = "C:\\SIREL";
      QElapsedTimer timer;
      timer.start();
      engine.BuildCopyPlan(request);
      const double s = timer.nsecsElapsed() / 1e9;
      engineSeconds = round == 0 ? s : std::min(engineSeconds, s);
    }
    {
      auto platform = makePlatform(temp.path() + QStringLiteral("/window%1").arg(round));
      QtSkin skin(*platform);
      Wizard wizard(*platform, skin);
      if (!wizard.Start(CommandLine{}, nullptr)) return 1;
      MainWindow& window = skin.Window();
      window.resize(800, 600);
      window.show();
      if (!QTest::qWaitForWindowExposed(&window)) return 1;
      wizard.Form().DestinationPageAction();
      window.ShowPage(4);
      QElapsedTimer timer;
      timer.start();
      wizard.Form().CopyPageAction();
      const double s = timer.nsecsElapsed() / 1e9;
      windowSeconds = round == 0 ? s : std::min(windowSeconds, s);
    }
  }
  SetMessagePresenter(nullptr);
  std::printf("files %d: engine alone %.3f s, through the window %.3f s (best of 3)\n", files, engineSeconds,
              windowSeconds);
  std::printf("gui cost per file: %.1f us\n", (windowSeconds - engineSeconds) / files * 1e6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sirel_Setup"));
  const QStringList args = QCoreApplication::arguments();
  if (args.size() == 3 && args[1] == QStringLiteral("--measure")) return Measure(args[2].toInt());
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: wizardtour MEDIUM SCREENSHOT_DIR | wizardtour --measure N\n");
    return 2;
  }
  return Tour(args[1], args[2]);
}
