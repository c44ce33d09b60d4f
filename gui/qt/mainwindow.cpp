#include "gui/qt/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>

#include "gui/qt/navigatewidget.h"
#include "gui/qt/qtcanvas.h"
#include "gui/qt/wizardwidgets.h"
#include "setup/layout.h"

namespace {

QFont ArialPixels(int pixels) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  return font;
}

void SetWhite(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, Qt::white);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

int VirtualKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    default: return -1;
  }
}

}  // namespace

MainWindow::MainWindow() {
  setObjectName(QStringLiteral("MainForm"));
  Build();
  Connect();
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (m_busy) QApplication::restoreOverrideCursor();
}

void MainWindow::Build() {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QPalette p = palette();
  p.setColor(QPalette::Window, QtCanvas::ToQColor(kWindowBackground));
  setPalette(p);
  setAutoFillBackground(true);
  setFont(ArialPixels(kWindowFontPixels));
  resize(kDesignWidth, kDesignHeight);

  for (const ControlLayout& row : MainFormLayout()) {
    QWidget* parent = this;
    if (row.parent == Control::Panel_Gesamt) parent = m_widgets.at(Control::Panel_Gesamt);
    if (row.parent == Control::Hauptseite) parent = m_notebook->widget(row.page);
    QWidget* w = nullptr;
    switch (row.kind) {
      case ControlKind::kBanner: w = new BannerLabel(parent); break;
      case ControlKind::kPanel:
        w = new QWidget(parent);
        SetWhite(w);
        break;
      case ControlKind::kPushButton: w = new QPushButton(parent); break;
      case ControlKind::kNotebook: {
        m_notebook = new QStackedWidget(parent);
        for (int i = 0; i < 5; ++i) {
          auto* page = new QWidget(m_notebook);
          SetWhite(page);
          m_notebook->addWidget(page);
        }
        w = m_notebook;
        break;
      }
      case ControlKind::kNavigate:
        m_navigate = new NavigateWidget(parent);
        w = m_navigate;
        break;
      case ControlKind::kHeading:
      case ControlKind::kLabel: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);  // SETUP.INF's text as written, never markup
        label->setWordWrap(row.wordWrap);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = label;
        break;
      }
      case ControlKind::kSpeedButton: {
        // Tab reaches it and Return or Space press it; a click leaves the
        // focus where it was.
        auto* button = new QPushButton(parent);
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(true);
        w = button;
        break;
      }
      case ControlKind::kComboBox: w = new QComboBox(parent); break;
      case ControlKind::kMemo: {
        auto* memo = new QPlainTextEdit(parent);
        memo->setReadOnly(true);
        memo->setFrameShape(QFrame::NoFrame);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        w = memo;
        break;
      }
      case ControlKind::kCheckBox: w = new QCheckBox(parent); break;
      case ControlKind::kEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(true);
        w = edit;
        break;
      }
      case ControlKind::kMeter: w = new QWidget(parent); break;  // replaced once the form exists
    }
    w->setObjectName(QString::fromLatin1(ControlName(row.control)));
    if (row.fontPixels) w->setFont(ArialPixels(row.fontPixels));
    if (row.kind == ControlKind::kBanner) {
      QPalette bp = w->palette();
      bp.setColor(QPalette::WindowText, Qt::white);
      w->setPalette(bp);
    }
    if (row.tabOrder < 0) w->setFocusPolicy(Qt::NoFocus);
    if (!row.visible) w->hide();
    w->setGeometry(row.bounds.left, row.bounds.top, row.bounds.width(), row.bounds.height());
    if (auto* box = qobject_cast<QCheckBox*>(w)) box->setChecked(row.checked);
    m_widgets[row.control] = w;
  }
  // Labels name the controls they stand for (a screen reader says the label).
  for (const ControlLayout& row : MainFormLayout()) {
    auto* label = qobject_cast<QLabel*>(widget(LabelOf(row.control)));
    if (label && !label->buddy()) label->setBuddy(m_widgets[row.control]);
  }
  // One chain for the whole window, as the table orders it.
  QWidget* previous = nullptr;
  for (Control control : TabChain()) {
    if (previous) setTabOrder(previous, m_widgets[control]);
    previous = m_widgets[control];
  }
}

void MainWindow::Attach(TMainForm* form) {
  m_form = form;
  if (!form || m_meter) return;
  // The meter shows the controller's model; it keeps the name given to the
  // widget it replaces.
  QWidget* placeholder = m_widgets[Control::KCMeter_File];
  const ControlLayout* meter = FindLayout(Control::KCMeter_File);
  m_meter = new MeterWidget(m_notebook->widget(meter->page), form->Meter());
  m_meter->setObjectName(QStringLiteral("KCMeter_File"));
  m_meter->setAccessibleName(placeholder->accessibleName());
  delete placeholder;
  m_meter->setGeometry(meter->bounds.left, meter->bounds.top, meter->bounds.width(), meter->bounds.height());
  m_meter->show();
  m_widgets[Control::KCMeter_File] = m_meter;
}

void MainWindow::Connect() {
  for (Control c : {Control::ComboBoxSprache, Control::drive_Combo}) {
    connect(qobject_cast<QComboBox*>(m_widgets[c]), qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this, c](int index) {
              if (m_form && !m_filling) m_form->UserSelected(c, index);
            });
  }
  for (Control c : {Control::Sirel_CheckBox, Control::Beispiel_CheckBox, Control::DXF_CheckBox}) {
    connect(qobject_cast<QCheckBox*>(m_widgets[c]), &QCheckBox::clicked, this, [this, c](bool checked) {
      if (m_form) m_form->UserChecked(c, checked);
    });
  }
  for (Control c : {Control::Btn_Cancel, Control::accept_Button, Control::SirelZiel_Button, Control::DXFZiel_Button}) {
    connect(qobject_cast<QPushButton*>(m_widgets[c]), &QPushButton::clicked, this, [this, c] { Clicked(c); });
  }
}

void MainWindow::Clicked(Control button) {
  if (!m_form) return;
  switch (button) {
    case Control::Btn_Cancel: m_form->Btn_CancelClick(); break;
    case Control::accept_Button: m_form->accept_ButtonClick(); break;
    case Control::SirelZiel_Button: m_form->SirelZiel_ButtonClick(); break;
    case Control::DXFZiel_Button: m_form->BtnZielverzeichnisClick(); break;
    default: break;
  }
}

Control MainWindow::ControlOf(QWidget* w) const {
  // A part of a control (a list's view, a memo's viewport) counts as it.
  for (; w && w != this; w = w->parentWidget()) {
    for (const auto& [control, widget] : m_widgets) {
      if (widget == w) return control;
    }
  }
  return Control::kCount;
}

void MainWindow::SetAccessibleName(Control control, const std::string& name) {
  if (QWidget* w = widget(control)) w->setAccessibleName(DisplayText(name));
}

QWidget* MainWindow::widget(Control control) const {
  const auto it = m_widgets.find(control);
  return it == m_widgets.end() ? nullptr : it->second;
}

void MainWindow::SetText(Control control, const std::string& text) {
  QWidget* w = widget(control);
  const QString shown = DisplayText(text);
  if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(shown);
    const ControlLayout* row = FindLayout(control);
    if (row && row->autoSize) label->adjustSize();
  } else if (auto* banner = qobject_cast<BannerLabel*>(w)) {
    banner->setText(shown);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(shown);
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(shown);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
    memo->setPlainText(shown);
  }
}

void MainWindow::SetVisible(Control control, bool visible) {
  QWidget* w = widget(control);
  if (!w) return;
  w->setVisible(visible);
  // A label names one control at a time: the one shown (the drive list and
  // the Sirel target field share theirs).
  if (auto* label = qobject_cast<QLabel*>(widget(LabelOf(control))); label && visible) label->setBuddy(w);
}

void MainWindow::SetChecked(Control control, bool checked) {
  if (auto* box = qobject_cast<QCheckBox*>(widget(control))) box->setChecked(checked);
}

void MainWindow::SetItems(Control control, const std::vector<std::string>& items) {
  auto* combo = qobject_cast<QComboBox*>(widget(control));
  if (!combo) return;
  m_filling = true;
  combo->clear();
  for (const std::string& item : items) combo->addItem(DisplayText(item));
  combo->setCurrentIndex(-1);
  m_filling = false;
}

void MainWindow::SetItemIndex(Control control, int index) {
  if (auto* combo = qobject_cast<QComboBox*>(widget(control))) {
    m_filling = true;
    combo->setCurrentIndex(index);
    m_filling = false;
  }
}

void MainWindow::SetBounds(Control control, const graphics::Rect& b) {
  if (QWidget* w = widget(control)) w->setGeometry(b.left, b.top, b.width(), b.height());
}

void MainWindow::SetFocus(Control control) {
  if (QWidget* w = widget(control)) w->setFocus();
}

void MainWindow::ShowPage(int page) { m_notebook->setCurrentIndex(page); }

void MainWindow::SetWindowCaption(const std::string& caption) { setWindowTitle(DisplayText(caption)); }

void MainWindow::SetApplicationTitle(const std::string& title) {
  QApplication::setApplicationDisplayName(DisplayText(title));
}

graphics::Rect MainWindow::ScreenRect() const {
  const QScreen* screen = QApplication::primaryScreen();
  const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, kDesignWidth, kDesignHeight);
  return graphics::RectAt(r.x(), r.y(), r.width(), r.height());
}

void MainWindow::SetWindowBounds(const graphics::Rect& b) {
  // The bounds are those of the outer frame, as on Windows.
  m_frame = QRect(b.left, b.top, std::max(b.width(), kMinTrackWidth), std::max(b.height(), kMinTrackHeight));
  PlaceFrame();
}

void MainWindow::PlaceFrame() {
  if (m_frame.isNull()) return;
  const QRect inner = geometry();
  const QRect outer = frameGeometry();
  setGeometry(m_frame.adjusted(inner.left() - outer.left(), inner.top() - outer.top(), inner.right() - outer.right(),
                               inner.bottom() - outer.bottom()));
  m_placed = geometry();
}

void MainWindow::SetBusyCursor(bool busy) {
  if (busy == m_busy) return;
  m_busy = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void MainWindow::RepaintMeter() {
  if (m_meter) m_meter->Changed();
}

void MainWindow::RepaintNavigateNow() { m_navigate->repaint(); }

void MainWindow::Close() { close(); }

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_form) m_form->FormResize();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The smallest outer size is 600 x 480; Qt limits the client area. The
  // frame is known once the window is shown: the place asked for is kept
  // unless the window was moved or sized since.
  const QSize frame = frameGeometry().size() - geometry().size();
  setMinimumSize(kMinTrackWidth - frame.width(), kMinTrackHeight - frame.height());
  if (geometry() == m_placed) PlaceFrame();
  m_frame = QRect();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (m_form && !m_form->FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Every hint of the program is placed by AppShowHint.
  if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    if (!w->toolTip().isEmpty()) {
      ShowHint(static_cast<QHelpEvent*>(event)->globalPos(), w->toolTip(), w);
      return true;
    }
  }
  // Key preview: the window sees every key before the focused control.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      (watched == this || isAncestorOf(static_cast<QWidget*>(watched)))) {
    int key = VirtualKey(static_cast<QKeyEvent*>(event)->key());
    if (key > 0 && m_form) {
      m_form->FormKeyDown(key, ControlOf(static_cast<QWidget*>(watched)));
      if (key == 0) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
