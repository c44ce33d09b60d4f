#include "gui/qt/verzdialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

#include "dialogs/verzlayout.h"
#include "gui/qt/qtcanvas.h"
#include "platform/platform.h"

namespace {

// A glyph drawn with the colour of its bottom-left pixel as transparent.
QIcon Glyph(const char* name) {
  QPixmap pixmap(QStringLiteral(":/resources/") + name);
  if (pixmap.isNull()) return QIcon();
  const QColor clear = pixmap.toImage().pixelColor(0, pixmap.height() - 1);
  pixmap.setMask(pixmap.createMaskFromColor(clear, Qt::MaskInColor));
  return QIcon(pixmap);
}

// A push button whose glyph and caption sit where the chooser places them.
class GlyphButton : public QPushButton {
 public:
  GlyphButton(DlgControl control, QWidget* parent) : QPushButton(parent), m_control(control) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);
    const int shift = isDown() ? 1 : 0;
    const int captionWidth = option.fontMetrics.horizontalAdvance(QString(caption).remove(QLatin1Char('&')));
    const GlyphPlacement place = PlaceGlyph(m_control, width(), height(), captionWidth);
    const QRect glyph(place.glyph.left + shift, place.glyph.top + shift, place.glyph.width(), place.glyph.height());
    painter.drawPixmap(glyph, icon().pixmap(glyph.size(), isEnabled() ? QIcon::Normal : QIcon::Disabled));
    const QRect text(place.caption.left + shift, shift, place.caption.width() + 1, height());
    painter.drawItemText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
  }

 private:
  DlgControl m_control;
};

QIcon DriveImage(unsigned type) {
  const char* name = "hard.xpm";
  switch (type) {
    case platform::kDriveRemovable: name = "floppy.xpm"; break;
    case platform::kDriveRemote: name = "network.xpm"; break;
    case platform::kDriveCdRom: name = "cdrom.xpm"; break;
    case platform::kDriveRamDisk: name = "ram.xpm"; break;
    default: break;
  }
  return QIcon(QPixmap(QStringLiteral(":/resources/") + name));
}

}  // namespace

VerzDialog::VerzDialog(platform::Platform& platform, QWidget* parent) : QDialog(parent), m_platform(platform) {
  setObjectName(QStringLiteral("VerzeichnisDlg"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(kDlgClientWidth, kDlgClientHeight);
  // Liberation Sans Bold stands in for MS Sans Serif bold at 11 pixels.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(kDlgFontPixels);
  font.setBold(true);
  setFont(font);

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(kDlgBevel.left, kDlgBevel.top, kDlgBevel.width(), kDlgBevel.height());
  m_path = new QLabel(this);
  m_list = new QListWidget(this);
  m_drives = new QComboBox(this);
  m_abort = new GlyphButton(DlgControl::BtnAbort, this);
  m_ok = new GlyphButton(DlgControl::BtnOK, this);
  m_ok->setText(QStringLiteral("&OK"));
  m_default = new GlyphButton(DlgControl::BtnDefault, this);
  m_path->setTextFormat(Qt::PlainText);
  m_list->setUniformItemSizes(true);
  m_ok->setDefault(true);
  static const char* const kNames[] = {"BtnOK",          "BtnAbort", "BtnDefault", "DirectoryListBox1",
                                       "DriveComboBox1", "LblPath"};
  std::vector<std::pair<int, QWidget*>> tabOrder;
  for (const DlgControlLayout& row : VerzeichnisDlgLayout()) {
    QWidget* w = Widget(row.control);
    w->setObjectName(QString::fromLatin1(kNames[static_cast<int>(row.control)]));
    w->setGeometry(row.bounds.left, row.bounds.top, row.bounds.width(), row.bounds.height());
    w->setVisible(row.visible);
    if (row.tabOrder >= 0) tabOrder.emplace_back(row.tabOrder, w);
  }
  std::sort(tabOrder.begin(), tabOrder.end());
  for (size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
  m_abort->setIcon(Glyph("glyph_cross.xpm"));
  m_ok->setIcon(Glyph("glyph_tick.xpm"));
  m_default->setIcon(Glyph("glyph_return.xpm"));
  for (QPushButton* b : {m_abort, m_ok, m_default}) b->setIconSize(QSize(kDlgGlyphSize, kDlgGlyphSize));

  connect(m_ok, &QPushButton::clicked, this, [this] {
    if (m_controller) m_controller->BtnOKClick();
  });
  connect(m_abort, &QPushButton::clicked, this, [this] {
    if (m_controller) m_controller->BtnAbortClick();
  });
  connect(m_default, &QPushButton::clicked, this, [this] {
    if (m_controller) m_controller->BtnDefaultClick();
  });
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
    if (m_controller && !m_filling && row >= 0) m_controller->List().Select(row);
  });
  connect(m_drives, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    const QString text = m_drives->itemText(index);
    if (m_controller && !text.isEmpty()) m_controller->DriveComboBox1Change(text[0].toLatin1());
  });
}

void VerzDialog::Attach(TVerzeichnisDlg* controller) {
  m_controller = controller;
  ListChanged();
}

void VerzDialog::keyPressEvent(QKeyEvent* event) {
  // No button answers Escape: only OK, the abort button and the close box end
  // the chooser.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void VerzDialog::SetCaption(const std::string& caption) {
  setWindowTitle(DisplayText(caption));
  m_list->setAccessibleName(DisplayText(caption));  // the folder list is what the chooser is for
}

QWidget* VerzDialog::Widget(DlgControl control) const {
  switch (control) {
    case DlgControl::DirectoryListBox1: return m_list;
    case DlgControl::DriveComboBox1: return m_drives;
    case DlgControl::LblPath: return m_path;
    default: return Button(control);
  }
}

QPushButton* VerzDialog::Button(DlgControl control) const {
  switch (control) {
    case DlgControl::BtnOK: return m_ok;
    case DlgControl::BtnAbort: return m_abort;
    case DlgControl::BtnDefault: return m_default;
    default: return nullptr;
  }
}

void VerzDialog::SetText(DlgControl control, const std::string& text) {
  if (QPushButton* b = Button(control)) b->setText(DisplayText(text));
}

void VerzDialog::SetVisible(DlgControl control, bool visible) {
  if (QPushButton* b = Button(control)) b->setVisible(visible);
}

int VerzDialog::RunModal() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  (m_lastFocus ? m_lastFocus : static_cast<QWidget*>(m_ok))->setFocus();
  const int result = exec();
  m_lastFocus = focusWidget();
  return result;
}

void VerzDialog::ListChanged() {
  if (!m_controller) return;
  const DirectoryListModel& model = m_controller->List();
  m_filling = true;
  m_list->clear();
  static const char* const kIcons[] = {"openfolder.xpm", "currentfolder.xpm", "closedfolder.xpm"};
  for (const DirectoryListModel::Entry& e : model.Entries()) {
    auto* item = new QListWidgetItem(QString(e.depth * 2, QLatin1Char(' ')) + DisplayText(e.name), m_list);
    item->setSizeHint(QSize(0, kDlgItemHeight));
    const QPixmap icon(QStringLiteral(":/resources/") + kIcons[static_cast<int>(e.kind)]);
    if (!icon.isNull()) item->setIcon(icon);
  }
  m_list->setCurrentRow(model.SelectedIndex());
  m_drives->clear();
  int current = -1;
  for (const DriveEntry& d : DriveBoxEntries(m_platform)) {
    if (d.letter == model.Directory()[0]) current = m_drives->count();
    m_drives->addItem(DriveImage(d.type), QStringLiteral("%1:").arg(QChar::fromLatin1(d.letter)));
  }
  m_drives->setCurrentIndex(current);
  const QFontMetrics metrics(font());
  m_path->setText(DisplayText(ShortenPath(model.Directory(), kDlgPathWidth, [&](const std::string& s) {
    return metrics.horizontalAdvance(DisplayText(s));
  })));
  m_path->adjustSize();
  m_filling = false;
}
