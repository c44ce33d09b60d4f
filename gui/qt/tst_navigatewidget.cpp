// The side-bar widget rendered offscreen: real font wrapping, pixels of each
// step state, hover, accessibility, and screenshots for the docs.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "gui/qt/navigatewidget.h"

class TestNavigateWidget : public QObject {
  Q_OBJECT

 private:
  // A side-bar 400 high with five steps, step 1 current, step 3 disabled.
  static std::unique_ptr<NavigateWidget> MakeSideBar(const QStringList& captions) {
    auto bar = std::make_unique<NavigateWidget>();
    bar->resize(143, 400);
    bar->show();
    TKelvaNavigate& nav = bar->model();
    nav.SetSelectLinear(false);
    for (const QString& c : captions) nav.AddLine(c.toStdString());
    return bar;
  }

  static int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (qGray(image.pixel(x, y)) < 100) ++dark;
      }
    }
    return dark;
  }

  static void Save(QWidget& widget, const QString& name) {
    const QString dir = qEnvironmentVariable("SETUP_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    widget.grab().scaled(widget.size() * 2).save(dir + QStringLiteral("/") + name);
  }

 private slots:
  void arialIsLiberationSans() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
  }

  void realFontWrapping_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("secondLineStart");
    QTest::newRow("fits") << "Language" << 1 << "";
    QTest::newRow("two lines at a blank") << "Licence agreement" << 2 << "agreement";
    QTest::newRow("before a hyphen") << "Installations-verzeichnis" << 2 << "-";
    QTest::newRow("before a colon") << "Zielverzeichnis:Sirel" << 2 << ":";
    QTest::newRow("word wider than a line") << "Installationsverzeichnisauswahl" << 2 << "";
  }

  void realFontWrapping() {
    QFETCH(QString, caption);
    QFETCH(int, lines);
    QFETCH(QString, secondLineStart);
    auto bar = MakeSideBar({caption});
    const TListHeights& heights = bar->model().FList->FHeights;
    QCOMPARE(heights.GetLineCount(0), lines);
    const QStringList pieces = QString::fromStdString(heights.GetText(0)).split(QLatin1Char('\r'));
    QCOMPARE(pieces.size(), lines);
    QFontMetrics metrics(bar->font());
    for (const QString& piece : pieces) QVERIFY2(metrics.horizontalAdvance(piece) <= 86, qPrintable(piece));
    if (!secondLineStart.isEmpty()) QVERIFY(pieces.value(1).startsWith(secondLineStart));
  }

  void pixelsOfEachState() {
    auto bar = MakeSideBar({"Step", "Step", "Hot", "Off", "Last"});
    TKelvaNavigate& nav = bar->model();
    nav.SetItemIndex(1);
    nav.SetItemEnabled(3, false);
    nav.FList->FHotIndex = 2;
    const QImage image = bar->grab().toImage();
    const int boxTop = nav.FScrollBox.bounds.top;
    const TListHeights& h = nav.FList->FHeights;
    const QColor window = bar->palette().color(QPalette::Base);
    const QColor face = bar->palette().color(QPalette::Button);
    auto at = [&](int x, int step, int dy) { return QColor(image.pixel(x, boxTop + h.ItemTop(step) + dy)); };
    QCOMPARE(at(130, 1, 8), window);   // current, selectable: window band
    QCOMPARE(at(130, 2, 8), window);   // hot
    QCOMPARE(at(130, 0, 8), face);     // other
    QCOMPARE(at(130, 3, 8), face);     // disabled
    QCOMPARE(at(35, 1, 5), QColor(Qt::black));  // the bracket
    QCOMPARE(at(37, 1, 1), QColor(Qt::black));
    QCOMPARE(at(35, 3, 5), QColor(128, 128, 128));
    const QRect caption0(42, boxTop + h.ItemTop(0) + 4, 60, 15);
    const QRect caption1(42, boxTop + h.ItemTop(1) + 4, 60, 15);
    QVERIFY2(DarkPixels(image, caption1) > DarkPixels(image, caption0) + 5, "the current caption is bold");
  }

  void hoverSetsHintAndCursor() {
    auto bar = MakeSideBar({"Language", "Licence", "Selection"});
    bar->model().SetHints({"Choose the language", "Read the licence"});
    bar->show();
    QWidget* list = bar->findChild<QWidget*>(QStringLiteral("NavList"));
    QVERIFY(list);
    const int top = bar->model().FList->FHeights.ItemTop(1);
    QTest::mouseMove(list, QPoint(60, top + 5));
    QCOMPARE(QString::fromStdString(bar->model().HintText()), QStringLiteral("Read the licence"));
    QCOMPARE(list->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(list->cursor().hotSpot(), QPoint(6, 1));
    bar->model().SetItemEnabled(2, false);
    QTest::mouseMove(list, QPoint(60, bar->model().FList->FHeights.ItemTop(2) + 5));
    QCOMPARE(QString::fromStdString(bar->model().HintText()), QString());
    QCOMPARE(list->cursor().shape(), Qt::ArrowCursor);
  }

  void clickSelectsAndButtonsStep() {
    auto bar = MakeSideBar({"A", "B", "C"});
    bar->show();
    QList<int> offered;
    bar->model().SetOnSelect([&](void*, int tab, bool&) { offered << tab; });
    QWidget* list = bar->findChild<QWidget*>(QStringLiteral("NavList"));
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(60, bar->model().FList->FHeights.ItemTop(2) + 5));
    QCOMPARE(bar->model().ItemIndex(), 2);
    auto* prev = bar->findChild<QToolButton*>(QStringLiteral("PrevButton"));
    QVERIFY(prev->isEnabled());
    QTest::mouseClick(prev, Qt::LeftButton);
    QCOMPARE(bar->model().ItemIndex(), 1);
    QCOMPARE(offered, (QList<int>{2, 1}));
  }

  void accessibility() {
    auto bar = MakeSideBar({"Language", "Licence\ragreement", "Selection"});
    bar->model().SetHintPrevious("Previous step");
    bar->model().SetHintNext("Next step");
    bar->model().SetItemIndex(1);
    bar->model().SetItemEnabled(2, false);
    bar->show();
    QWidget* list = bar->findChild<QWidget*>(QStringLiteral("NavList"));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::List);
    QCOMPARE(iface->childCount(), 3);
    QCOMPARE(iface->child(0)->text(QAccessible::Name), QStringLiteral("Language"));
    QCOMPARE(iface->child(1)->text(QAccessible::Name), QStringLiteral("Licence agreement"));
    QVERIFY(iface->child(1)->state().selected);
    QVERIFY(!iface->child(0)->state().selected);
    QVERIFY(iface->child(2)->state().disabled);
    QCOMPARE(iface->indexOfChild(iface->child(2)), 2);
    auto* next = bar->findChild<QToolButton*>(QStringLiteral("NextButton"));
    QCOMPARE(QAccessible::queryAccessibleInterface(next)->text(QAccessible::Name), QStringLiteral("Next step"));
    QCOMPARE(next->toolTip(), QStringLiteral("Next step"));
  }

  void screenshots() {
    auto bar = MakeSideBar({"Language", "Licence agreement", "Selection", "Destination directory", "Copy"});
    TKelvaNavigate& nav = bar->model();
    nav.SetItemEnabled(3, false);
    nav.SetItemEnabled(4, false);
    nav.SetItemIndex(1);
    nav.FList->FHotIndex = 2;
    Save(*bar, QStringLiteral("sidebar-states.png"));
    auto small = MakeSideBar({"Language", "Licence agreement", "Selection", "Destination directory",
                              "Copy", "Finish"});
    small->resize(143, 250);
    QCoreApplication::processEvents();
    small->model().StopAutoScroll();
    small->model().FList->Top = 0;
    small->model().StartAutoScroll(&small->model().FDownButton);
    small->model().StopAutoScroll();
    Save(*small, QStringLiteral("sidebar-scrolled.png"));
    QVERIFY(small->model().FDownButton.visible);
    QCOMPARE(small->model().FList->Top, -8);
  }
};

QTEST_MAIN(TestNavigateWidget)
#include "tst_navigatewidget.moc"
