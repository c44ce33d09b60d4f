// The wizard's real window offscreen: a full install from the first page to
// the success message, and one that fails mid-copy.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QHelpEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "gui/qt/qtcanvas.h"
#include "gui/qt/qtskin.h"
#include "gui/qt/tst_leaks.h"
#include "setup/layout.h"
#include "navigate/navigate.h"
#include "setup/meter.h"
#include "tests/support/meter_pixels.h"
#include "platform/fault_platform.h"
#include "platform/posix/posix_platform.h"

namespace {

// The wizard with the Qt skin, started and its window shown.
struct Shown {
  explicit Shown(platform::Platform& platform) : skin(platform), wizard(platform, skin) {}
  bool Start() {
    if (!wizard.Start(CommandLine{}, nullptr)) return false;
    skin.Window().show();
    return QTest::qWaitForWindowExposed(&skin.Window());
  }
  QtSkin skin;
  Wizard wizard;
};

class Recorder : public MessagePresenter {
 public:
  int32_t Show(const char* Text, const char* Caption, int32_t Flags) override {
    messages << QStringLiteral("%1|%2|%3").arg(QString::fromLatin1(Caption), QString::fromLatin1(Text)).arg(Flags);
    return IDOK;
  }
  QStringList messages;
};

}  // namespace

class TestWizard : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_temp;
  std::unique_ptr<platform::posix::PosixPlatform> m_platform;

  void MakeDrives() {
    const QString root = m_temp->path();
    for (const char* d : {"c/SIREL", "d", "e"}) QDir().mkpath(root + "/" + d);
    const QString medium = qEnvironmentVariable("SETUP_SOURCE_ROOT") + "/examples/medium/.";
    QVERIFY(std::system(("cp -a '" + medium + "' '" + root + "/d/'").toLocal8Bit().constData()) == 0);
    m_platform = std::make_unique<platform::posix::PosixPlatform>(
        platform::posix::DriveTable({{'C', (root + "/c").toStdString(), platform::kDriveFixed},
                                     {'D', (root + "/d").toStdString(), platform::kDriveCdRom},
                                     {'E', (root + "/e").toStdString(), platform::kDriveFixed}}),
        (root + "/d/SETUP.EXE").toStdString());
  }

  static void Shot(QWidget& w, const QString& name) {
    const QString dir = qEnvironmentVariable("SETUP_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    w.grab().save(dir + "/" + name);
  }

  template <typename T>
  static T* Find(QWidget& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
  }

  // Runs the wizard through every page; the DXF target is browsed to E:\CAD.
  void Tour(platform::Platform& platform, Recorder& recorder, bool screenshots) {
    QtSkin skin(platform);
    Wizard wizard(platform, skin);
    QVERIFY(wizard.Start(CommandLine{}, nullptr));
    MainWindow& window = skin.Window();
    VerzDialog& dialog = skin.Dialog();
    TVerzeichnisDlg& chooser = wizard.Chooser();
    const auto page = [&] { return wizard.Form().Controls().Page(); };
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (screenshots) {
      Shot(window, "page0-english.png");
      auto* language = Find<QComboBox>(window, "ComboBoxSprache");
      language->setCurrentIndex(1);
      QCOMPARE(window.windowTitle().contains(QStringLiteral("Sirel")), true);
      Shot(window, "page0-deutsch.png");
      language->setCurrentIndex(0);
    }
    QTest::keyClick(&window, Qt::Key_Return);
    QCOMPARE(page(), 1);
    QVERIFY(Find<QPlainTextEdit>(window, "eula_Memo")->toPlainText().contains(QStringLiteral("Kelva")));
    QTest::mouseClick(Find<QPushButton>(window, "accept_Button"), Qt::LeftButton);
    QCOMPARE(page(), 2);
    Find<QCheckBox>(window, "Beispiel_CheckBox")->click();
    Find<QCheckBox>(window, "DXF_CheckBox")->click();
    QTest::keyClick(&window, Qt::Key_Return);
    QCOMPARE(page(), 3);
    QCOMPARE(Find<QComboBox>(window, "drive_Combo")->currentText(), QStringLiteral("C:\\SIREL"));
    QVERIFY(!wizard.SideBar().List().Heights().GetEnabled(4));
    QDir().mkpath(m_temp->path() + "/e/CAD");
    QTimer::singleShot(0, &dialog, [&] {
      chooser.List().SetDirectory("E:\\CAD");
      Find<QPushButton>(dialog, "BtnOK")->click();
    });
    QTest::mouseClick(Find<QPushButton>(window, "DXFZiel_Button"), Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(window, "zielDXF_Edit")->text(), QStringLiteral("E:\\CAD"));
    QVERIFY(wizard.SideBar().List().Heights().GetEnabled(4));
    if (screenshots) Shot(window, "page3-destination.png");
    recorder.messages.clear();
    QTest::keyClick(&window, Qt::Key_Return);
    QCOMPARE(page(), 4);
    if (screenshots) Shot(window, "page4-copy.png");
    QVERIFY(!window.isVisible());
  }

  QString Host(const char* relative) const { return m_temp->path() + "/" + relative; }

 private slots:
  void init() {
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    MakeDrives();
  }

  // No window of a test outlives it (the hint's label is Qt's own).
  void cleanup() {
    const QString left = WindowsLeftBehind();
    QVERIFY2(left.isEmpty(), qPrintable(left));
  }

  void installsEverythingAndSaysSo() {
    Recorder recorder;
    SetMessagePresenter(&recorder);
    Tour(*m_platform, recorder, true);
    SetMessagePresenter(nullptr);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages[0].startsWith(QStringLiteral("Sirel 2.0 Setup|")), qPrintable(recorder.messages[0]));
    QVERIFY(recorder.messages[0].endsWith(QStringLiteral("|64")));
    QVERIFY(QFile::exists(Host("c/SIREL/README.TXT")));
    QVERIFY(QFile::exists(Host("c/SIREL/MACROS/draw/text/TITLE.MAC")));
    QVERIFY(QFile::exists(Host("c/SIREL/MACROS/.index")));
    QVERIFY(!QFile::exists(Host("c/SIREL/MACROS/.cache")));
    QVERIFY(QFile::exists(Host("c/SIREL/PROJECTS/SAMPLE/parts/sub/KEY.PRT")));
    QVERIFY(QFile::exists(Host("e/CAD/DRAWINGS/parts/WASHER.DXF")));
    QCOMPARE(m_platform->FileAttributes("C:\\SIREL\\MACROS\\.index"), 0x20u);
    QCOMPARE(m_platform->FileAttributes("E:\\CAD\\DRAWINGS\\FLANGE.DXF"), 0x20u);
  }

  void failedCopyGivesTwoMessages() {
    platform::FaultPlatform faults(*m_platform);
    faults.Add({platform::FaultOp::kCopy, "UNITS.MAC"});
    Recorder recorder;
    SetMessagePresenter(&recorder);
    Tour(faults, recorder, false);
    SetMessagePresenter(nullptr);
    QCOMPARE(recorder.messages.size(), 2);
    QVERIFY(recorder.messages[0].contains(QStringLiteral("could not be copied")));
    QVERIFY(recorder.messages[1].contains(QStringLiteral("cancel")));
    // The run is undone: the files copied before the failure are gone.
    QVERIFY(!QFile::exists(Host("c/SIREL/MACROS/START.MAC")));
    QVERIFY(!QFile::exists(Host("c/SIREL/MACROS/UNITS.MAC")));
    QVERIFY(!QFile::exists(Host("e/CAD/DRAWINGS")));
  }

  void hintsAppearBelowRightOfThePointerOnAqua() {
    Shown shown(*m_platform);
    QVERIFY(shown.Start());
    MainWindow& window = shown.skin.Window();
    auto* bar = window.findChild<QWidget*>(QStringLiteral("KelvaNavigate1"));
    const graphics::Rect next = shown.wizard.SideBar().Child(NavigatePart::kNext).bounds;
    const QPoint at(next.left + 5, next.top + 5);
    QVERIFY(!shown.wizard.SideBar().HintAt(at.x(), at.y()).empty());
    const QPoint cursor = bar->mapToGlobal(at);
    QHelpEvent help(QEvent::ToolTip, at, cursor);
    QApplication::sendEvent(bar, &help);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QStringLiteral("qtooltip_label") && w->isVisible()) tip = w;
    }
    QVERIFY(tip);
    QCOMPARE(tip->pos(), cursor + QPoint(10, 18));
    QCOMPARE(tip->palette().color(QPalette::ToolTipBase), QColor(0, 255, 255));
  }

  void textIsPlainTheFrameIsPlacedAndTheChooserIgnoresEscape() {
    Shown shown(*m_platform);
    QVERIFY(shown.Start());
    QtSkin& skin = shown.skin;
    MainWindow& window = skin.Window();
    // Text from SETUP.INF is shown as written, markup included.
    for (const ControlLayout& row : MainFormLayout()) {
      if (row.kind != ControlKind::kLabel && row.kind != ControlKind::kHeading) continue;
      auto* label = Find<QLabel>(window, ControlName(row.control));
      QVERIFY2(label && label->textFormat() == Qt::PlainText, ControlName(row.control));
    }
    for (QLabel* label : skin.Dialog().findChildren<QLabel*>()) QCOMPARE(label->textFormat(), Qt::PlainText);
    // The outer frame takes the place start-up asked for: the work area.
    const QRect work = QApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window.frameGeometry(), QRect(work.topLeft(), work.size().expandedTo(QSize(600, 480))));
    // The chooser's rows are 16 pixels high, and Escape leaves it open.
    auto* list = Find<QListWidget>(skin.Dialog(), "DirectoryListBox1");
    QVERIFY(list->count() > 0);
    skin.Dialog().show();
    QVERIFY(QTest::qWaitForWindowExposed(&skin.Dialog()));
    QCOMPARE(list->visualItemRect(list->item(0)).height(), 16);
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(skin.Dialog().isVisible());
    skin.Dialog().hide();
  }

  // A whole install by the keyboard alone: Tab, Space, Return and the arrow
  // keys, the chooser included. Tab on the first page reaches Cancel and the
  // side-bar and never the focus holder.
  void keyboardOnlyInstall() {
    Recorder recorder;
    SetMessagePresenter(&recorder);
    {
      Shown shown(*m_platform);
      QVERIFY(shown.Start());
      MainWindow& window = shown.skin.Window();
      window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      const auto page = [&] { return shown.wizard.Form().Controls().Page(); };
      const auto focus = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
      };
      const auto press = [](Qt::Key key) {
        if (QWidget* w = QApplication::focusWidget()) QTest::keyClick(w, key);
      };
      const auto tabTo = [&](const char* name) {
        for (int i = 0; i < 12 && focus() != QLatin1String(name); ++i) press(Qt::Key_Tab);
        return focus() == QLatin1String(name);
      };
      QCOMPARE(focus(), QStringLiteral("ComboBoxSprache"));
      QStringList visited;
      for (int i = 0; i < 3; ++i) {
        press(Qt::Key_Tab);
        visited << focus();
      }
      QCOMPARE(visited, QStringList({QStringLiteral("Btn_Cancel"), QStringLiteral("KelvaNavigate1"),
                                     QStringLiteral("ComboBoxSprache")}));
      auto* language = Find<QComboBox>(window, "ComboBoxSprache");
      press(Qt::Key_Down);  // the language box keeps its arrow keys
      QCOMPARE(page(), 0);
      QCOMPARE(language->currentIndex(), 1);
      press(Qt::Key_Up);
      QCOMPARE(language->currentIndex(), 0);
      press(Qt::Key_Return);
      QCOMPARE(page(), 1);
      QCOMPARE(focus(), QStringLiteral("eula_Memo"));
      press(Qt::Key_Return);  // nothing to step to before the licence is accepted
      QCOMPARE(page(), 1);
      QVERIFY(tabTo("accept_Button"));
      press(Qt::Key_Space);
      QCOMPARE(page(), 2);
      QCOMPARE(focus(), QStringLiteral("Sirel_CheckBox"));
      QVERIFY(tabTo("DXF_CheckBox"));
      press(Qt::Key_Space);
      press(Qt::Key_Return);
      QCOMPARE(page(), 3);
      QCOMPARE(focus(), QStringLiteral("KelvaNavigate1"));
      QVERIFY(tabTo("DXFZiel_Button"));
      // The chooser opens with the focus on OK; Return takes its folder.
      QTimer answer;
      QString chooserFocus;
      QObject::connect(&answer, &QTimer::timeout, [&] {
        QDialog& chooser = shown.skin.Dialog();
        if (!chooser.isVisible() || !chooser.focusWidget()) return;
        answer.stop();
        chooserFocus = chooser.focusWidget()->objectName();
        QTest::keyClick(chooser.focusWidget(), Qt::Key_Return);
      });
      answer.start(20);
      press(Qt::Key_Space);
      QCOMPARE(chooserFocus, QStringLiteral("BtnOK"));
      QVERIFY(!Find<QLineEdit>(window, "zielDXF_Edit")->text().isEmpty());
      // The window manager gives the window back its activation (the
      // offscreen platform has none).
      window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&window));
      QVERIFY(!focus().isEmpty());
      QVERIFY(tabTo("KelvaNavigate1"));
      press(Qt::Key_Return);
      QCOMPARE(page(), 4);
      QVERIFY(!window.isVisible());
    }
    SetMessagePresenter(nullptr);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.messages[0].contains(QStringLiteral("complete")), qPrintable(recorder.messages[0]));
    QVERIFY(QFile::exists(Host("c/SIREL/README.TXT")));
  }

  // What a screen reader is told of each control: names from the labels,
  // roles, states and the meter's value.
  void everyControlHasANameAndARole() {
    QAccessible::setActive(true);
    Shown shown(*m_platform);
    QVERIFY(shown.Start());
    MainWindow& window = shown.skin.Window();
    const auto iface = [&](const char* name) {
      return QAccessible::queryAccessibleInterface(Find<QWidget>(window, name));
    };
    const struct {
      const char* control;
      QAccessible::Role role;
      QString name;
    } cases[] = {
        {"KCLabel_1", QAccessible::StaticText, QStringLiteral("Sirel 2.0 Version 2.0.0.1")},
        {"eula_Memo", QAccessible::EditableText, QStringLiteral("Licence agreement")},
        {"zielDXF_Edit", QAccessible::EditableText, QStringLiteral("Target directory of the DXF drawings:")},
        {"KCMeter_File", QAccessible::ProgressBar, QStringLiteral("Installing files")},
        {"accept_Button", QAccessible::Button, QStringLiteral("I accept")},
    };
    for (const auto& c : cases) {
      QAccessibleInterface* a = iface(c.control);
      QVERIFY2(a, c.control);
      QCOMPARE(a->role(), c.role);
      QCOMPARE(a->text(QAccessible::Name), c.name);
    }
    // A list box is named by its value on Linux; its label is linked to it,
    // and that is what a screen reader says first.
    const std::pair<const char*, QString> lists[] = {
        {"ComboBoxSprache", QStringLiteral("Language:")},
        {"drive_Combo", QStringLiteral("Target directory of the Sirel macro library:")}};
    for (const auto& [control, label] : lists) {
      QCOMPARE(iface(control)->role(), QAccessible::ComboBox);
      const auto labelled = iface(control)->relations(QAccessible::Label);
      QVERIFY2(!labelled.isEmpty(), control);
      QCOMPARE(labelled.first().first->text(QAccessible::Name), label);
    }
    // A target field is read-only, not editable.
    const QAccessible::State field = iface("zielDXF_Edit")->state();
    QVERIFY(field.readOnly);
    QVERIFY(!field.editable);
    // The meter's value, and the focus holder is never in the way.
    shown.wizard.Meter().SetMaxValue(4);
    shown.wizard.Meter().SetUserValue(1);
    QAccessibleValueInterface* value = iface("KCMeter_File")->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 25);
    QVERIFY(!Find<QWidget>(window, "nutzloser_Button")->isVisibleTo(&window));
    QAccessible::setActive(false);
  }

  // No text is cut off by its control, in either language (run again by
  // the suite at a scale factor of 1.5).
  void textFitsItsControls() {
    Shown shown(*m_platform);
    QVERIFY(shown.Start());
    MainWindow& window = shown.skin.Window();
    auto* language = Find<QComboBox>(window, "ComboBoxSprache");
    int checked = 0;
    for (int i = 0; i < language->count(); ++i) {
      language->setCurrentIndex(i);
      for (const ControlLayout& row : MainFormLayout()) {
        QWidget* w = Find<QWidget>(window, ControlName(row.control));
        if (!w || row.wordWrap) continue;
        QString text;
        int room = w->width();
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
          text = button->text().remove(QLatin1Char('&'));
          room -= qobject_cast<QCheckBox*>(w) ? 20 : 6;  // the box, or the button's edges
        }
        if (text.isEmpty()) continue;
        const int needed = w->fontMetrics().horizontalAdvance(text);
        ++checked;
        QVERIFY2(needed <= room, qPrintable(QStringLiteral("%1 (%2): \"%3\" needs %4 of %5 pixels")
                                                .arg(QLatin1String(ControlName(row.control)))
                                                .arg(i)
                                                .arg(text)
                                                .arg(needed)
                                                .arg(room)));
      }
    }
    QVERIFY(checked >= 20);
  }

  void theMeterIsDrawnFromItsModel() {
    Shown shown(*m_platform);
    QVERIFY(shown.wizard.Start(CommandLine{}, nullptr));
    MainWindow& window = shown.skin.Window();
    TKCProgress& meter = shown.wizard.Meter();
    meter.SetMaxValue(4);
    meter.SetUserValue(2);  // 50 %: ten of twenty segments, split at x = 3 + 150
    QWidget* widget = Find<QWidget>(window, "KCMeter_File");
    const QImage image = widget->grab().toImage();
    const auto at = [&image](int x, int y) { return QtCanvas::FromQColor(QColor(image.pixel(x, y))); };
    for (const MeterPixel& p : HalfFullMeterPixels(image.width(), image.height())) {
      QVERIFY2(at(p.x, p.y) == p.colour, p.what);
    }
    const SplitInk ink = MeterSplitInk(at);
    QVERIFY2(ink.whiteLeft > 5, "white text left of the split");
    QVERIFY2(ink.navyRight > 5, "navy text right of the split");
  }

  void resizeCentresThePanel() {
    QtSkin skin(*m_platform);
    Wizard wizard(*m_platform, skin);
    QVERIFY(wizard.Start(CommandLine{}, nullptr));
    MainWindow& window = skin.Window();
    window.show();
    window.resize(700, 560);
    QCoreApplication::processEvents();
    const QRect panel = Find<QWidget>(window, "Panel_Gesamt")->geometry();
    QCOMPARE(panel.left(), (window.width() - 480) / 2);
    QCOMPARE(panel.top(), (window.height() - 400) / 2);
    QCOMPARE(Find<QWidget>(window, "KCLabel_1")->width(), window.width() - 187);
    QVERIFY(window.minimumWidth() <= 600 && window.minimumWidth() > 500);
  }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
