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
#include "gui/qt/tst_leaks.h"
#include "navigate/pictures.h"

// The side-bar's widget with a model of its own, as the wizard gives it one.
class SideBar : public NavigateWidget {
 public:
  SideBar() { SetModel(&m_model); }
  ~SideBar() override { SetModel(nullptr); }

 private:
  TKelvaNavigate m_model{&Host()};
};

class TestNavigateWidget : public QObject {
  Q_OBJECT

 private:
  // A side-bar 400 high with five steps, step 1 current, step 3 disabled.
  static std::unique_ptr<SideBar> MakeSideBar(const QStringList& captions) {
    auto bar = std::make_unique<SideBar>();
    bar->resize(143, 400);
    bar->show();
    TKelvaNavigate& nav = bar->model();
    nav.SetSelectLinear(false);
    for (const QString& c : captions) nav.AddLine(c.toStdString());
    return bar;
  }

  // The centre of a child of the side-bar, or of step index of its list.
  static QPoint Centre(const graphics::Rect& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  static QPoint StepCentre(const TKelvaNavigate& nav, int index) {
    const graphics::Rect item = nav.List().ItemRect(index);
    const graphics::Point origin = nav.ListOrigin();
    return Centre(
        graphics::Rect{origin.x + item.left, origin.y + item.top, origin.x + item.right, origin.y + item.bottom});
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
  // No window of a test outlives it.
  void cleanup() {
    const QString left = WindowsLeftBehind();
    QVERIFY2(left.isEmpty(), qPrintable(left));
  }

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
    const TListHeights& heights = bar->model().List().Heights();
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
    QTest::mouseMove(bar.get(), StepCentre(nav, 2));
    QCOMPARE(nav.List().HotIndex(), 2);
    const QImage image = bar->grab().toImage();
    const int boxTop = nav.ListOrigin().y;
    const TListHeights& h = nav.List().Heights();
    const QColor window = bar->palette().color(QPalette::Base);
    const QColor face = bar->palette().color(QPalette::Button);
    auto at = [&](int x, int step, int dy) { return QColor(image.pixel(x, boxTop + h.ItemTop(step) + dy)); };
    QCOMPARE(at(130, 1, 8), window);            // current, selectable: window band
    QCOMPARE(at(130, 2, 8), window);            // hot
    QCOMPARE(at(130, 0, 8), face);              // other
    QCOMPARE(at(130, 3, 8), face);              // disabled
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
    QTest::mouseMove(bar.get(), StepCentre(bar->model(), 1));
    QCOMPARE(QString::fromStdString(bar->model().HintText()), QStringLiteral("Read the licence"));
    QCOMPARE(bar->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(bar->cursor().hotSpot(), QPoint(6, 1));
    bar->model().SetItemEnabled(2, false);
    QTest::mouseMove(bar.get(), StepCentre(bar->model(), 2));
    QCOMPARE(QString::fromStdString(bar->model().HintText()), QString());
    QCOMPARE(bar->cursor().shape(), Qt::ArrowCursor);
  }

  void clickSelectsAndButtonsStep() {
    auto bar = MakeSideBar({"A", "B", "C"});
    bar->show();
    QList<int> offered;
    bar->model().SetOnSelect([&](void*, int tab, bool&) { offered << tab; });
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, StepCentre(bar->model(), 2));
    QCOMPARE(bar->model().ItemIndex(), 2);
    const NavigateChild& prev = bar->model().Child(NavigatePart::kPrev);
    QVERIFY(prev.enabled);
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, Centre(prev.bounds));
    QCOMPARE(bar->model().ItemIndex(), 1);
    // Any button selects a step; only the primary one presses a button.
    QTest::mouseClick(bar.get(), Qt::RightButton, {}, StepCentre(bar->model(), 0));
    QCOMPARE(bar->model().ItemIndex(), 0);
    QTest::mouseClick(bar.get(), Qt::RightButton, {}, Centre(bar->model().Child(NavigatePart::kNext).bounds));
    QCOMPARE(bar->model().ItemIndex(), 0);
    QCOMPARE(offered, (QList<int>{2, 1, 0}));
  }

  void accessibility() {
    auto bar = MakeSideBar({"Language", "Licence\ragreement", "Selection"});
    bar->model().SetHintPrevious("Previous step");
    bar->model().SetHintNext("Next step");
    bar->model().SetItemIndex(1);
    bar->model().SetItemEnabled(2, false);
    bar->show();
    QAccessibleInterface* side = QAccessible::queryAccessibleInterface(bar.get());
    QVERIFY(side);
    QCOMPARE(side->childCount(), 5);
    QAccessibleInterface* iface = side->child(1);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::List);
    QCOMPARE(side->indexOfChild(iface), 1);
    QCOMPARE(iface->childCount(), 3);
    QCOMPARE(iface->child(0)->text(QAccessible::Name), QStringLiteral("Language"));
    QCOMPARE(iface->child(1)->text(QAccessible::Name), QStringLiteral("Licence agreement"));
    QVERIFY(iface->child(1)->state().selected);
    QVERIFY(!iface->child(0)->state().selected);
    QVERIFY(iface->child(2)->state().disabled);
    QCOMPARE(iface->indexOfChild(iface->child(2)), 2);
    QCOMPARE(iface->focusChild(), iface->child(1));
    const QRect stepRect = iface->child(1)->rect();
    QCOMPARE(stepRect.center(), bar->mapToGlobal(StepCentre(bar->model(), 1)));

    // The buttons: up and down (hidden while the steps fit), previous, next.
    struct Button {
      int child;
      NavigatePart part;
      QString name;
    };
    for (const Button& b :
         {Button{0, NavigatePart::kUp, ""}, Button{2, NavigatePart::kDown, ""},
          Button{3, NavigatePart::kPrev, "Previous step"}, Button{4, NavigatePart::kNext, "Next step"}}) {
      QAccessibleInterface* button = side->child(b.child);
      const NavigateChild& child = bar->model().Child(b.part);
      QCOMPARE(button->role(), QAccessible::Button);
      QCOMPARE(button->text(QAccessible::Name), b.name);
      QCOMPARE(button->state().invisible, !child.visible);
      QCOMPARE(button->state().disabled, !child.enabled);
      QCOMPARE(button->rect(), QRect(bar->mapToGlobal(QPoint(child.bounds.left, child.bounds.top)),
                                     QSize(child.bounds.width(), child.bounds.height())));
      QCOMPARE(side->childAt(button->rect().center().x(), button->rect().center().y()),
               child.visible && child.enabled ? button : nullptr);
    }
    // Once step 2 can be chosen, next shows its hint and presses through its action.
    QAccessibleActionInterface* press = side->child(4)->actionInterface();
    QVERIFY(press);
    QCOMPARE(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    press->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(bar->model().ItemIndex(), 1);
    bar->model().SetItemEnabled(2, true);
    const QPoint next = Centre(bar->model().Child(NavigatePart::kNext).bounds);
    QCOMPARE(QString::fromStdString(bar->model().HintAt(next.x(), next.y())), QStringLiteral("Next step"));
    press->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(bar->model().ItemIndex(), 2);
  }

  void picturesMatchTheirResources() {
    for (const graphics::Picture& picture : navigate::kAllPictures) {
      const QPixmap pixmap(QStringLiteral(":/resources/") + QString::fromLatin1(picture.name).toLower() +
                           QStringLiteral(".xpm"));
      QVERIFY2(!pixmap.isNull(), picture.name);
      QCOMPARE(pixmap.size(), QSize(picture.width, picture.height));
    }
  }

  void screenshots() {
    auto bar = MakeSideBar({"Language", "Licence agreement", "Selection", "Destination directory", "Copy"});
    TKelvaNavigate& nav = bar->model();
    nav.SetItemEnabled(3, false);
    nav.SetItemEnabled(4, false);
    nav.SetItemIndex(1);
    nav.MouseMove(130, StepCentre(nav, 2).y(), 0);
    Save(*bar, QStringLiteral("sidebar-states.png"));
    auto small = MakeSideBar({"Language", "Licence agreement", "Selection", "Destination directory", "Copy", "Finish"});
    small->resize(143, 250);
    QCoreApplication::processEvents();
    small->model().StopAutoScroll();
    small->model().StartAutoScroll(NavigatePart::kDown);
    small->model().StopAutoScroll();
    Save(*small, QStringLiteral("sidebar-scrolled.png"));
    QVERIFY(small->model().Child(NavigatePart::kDown).visible);
    QCOMPARE(small->model().List().Bounds().top, -8);
  }
};

QTEST_MAIN(TestNavigateWidget)
#include "tst_navigatewidget.moc"
