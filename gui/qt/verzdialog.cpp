#include "gui/qt/verzdialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

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

VerzDialog::VerzDialog(TVerzeichnisDlg& controller, platform::Platform& platform, QWidget* parent)
    : QDialog(parent), m_controller(controller), m_platform(platform) {
  setObjectName(QStringLiteral("VerzeichnisDlg"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(285, 259);
  // Liberation Sans Bold stands in for MS Sans Serif bold at 11 pixels.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  font.setBold(true);
  setFont(font);

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(4, 6, 277, 205);
  m_path = new QLabel(this);
  m_path->setObjectName(QStringLiteral("LblPath"));
  m_path->move(16, 16);
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("DirectoryListBox1"));
  m_list->setGeometry(16, 36, 257, 140);
  m_drives = new QComboBox(this);
  m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
  m_drives->setGeometry(16, 184, 258, 19);
  m_abort = new QPushButton(this);
  m_abort->setObjectName(QStringLiteral("BtnAbort"));
  m_abort->setGeometry(48, 222, 88, 27);
  m_ok = new QPushButton(QStringLiteral("&OK"), this);
  m_ok->setObjectName(QStringLiteral("BtnOK"));
  m_ok->setGeometry(149, 222, 88, 27);
  m_ok->setDefault(true);
  m_default = new QPushButton(this);
  m_default->setObjectName(QStringLiteral("BtnDefault"));
  m_default->setGeometry(106, 238, 88, 27);
  m_default->hide();
  m_abort->setIcon(Glyph("glyph_cross.xpm"));
  m_ok->setIcon(Glyph("glyph_tick.xpm"));
  m_default->setIcon(Glyph("glyph_return.xpm"));
  for (QPushButton* b : {m_abort, m_ok, m_default}) b->setIconSize(QSize(20, 20));
  setTabOrder(m_ok, m_list);
  setTabOrder(m_list, m_drives);
  setTabOrder(m_drives, m_abort);
  setTabOrder(m_abort, m_default);

  connect(m_ok, &QPushButton::clicked, this, [this] { m_controller.BtnOKClick(); });
  connect(m_abort, &QPushButton::clicked, this, [this] { m_controller.BtnAbortClick(); });
  connect(m_default, &QPushButton::clicked, this, [this] { m_controller.BtnDefaultClick(); });
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!m_filling && row >= 0) m_controller.List().Select(row);
  });
  connect(m_drives, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    const QString text = m_drives->itemText(index);
    if (!text.isEmpty()) m_controller.DriveComboBox1Change(text[0].toLatin1());
  });
  controller.SetView(this);
  ListChanged();
}

void VerzDialog::SetCaption(const std::string& caption) { setWindowTitle(DisplayText(caption)); }

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
  const DirectoryListModel& model = m_controller.List();
  m_filling = true;
  m_list->clear();
  static const char* const kIcons[] = {"openfolder.xpm", "currentfolder.xpm", "closedfolder.xpm"};
  for (const DirectoryListModel::Entry& e : model.Entries()) {
    auto* item = new QListWidgetItem(QString(e.depth * 2, QLatin1Char(' ')) + DisplayText(e.name), m_list);
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
  m_path->setText(DisplayText(ShortenPath(model.Directory(), 257, [&](const std::string& s) {
    return metrics.horizontalAdvance(DisplayText(s));
  })));
  m_path->adjustSize();
  m_filling = false;
}
