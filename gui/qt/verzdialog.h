#pragma once

#include <QDialog>

#include "dialogs/verzdlg.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The directory chooser of the Qt skin over TVerzeichnisDlg.
class VerzDialog : public QDialog, public VerzeichnisDlgView {
  Q_OBJECT
 public:
  VerzDialog(platform::Platform& platform, QWidget* parent = nullptr);
  // From now on the window shows controller and sends it the user's clicks;
  // nullptr stops that.
  void Attach(TVerzeichnisDlg* controller);

  void SetCaption(const std::string& caption) override;
  void SetText(DlgControl control, const std::string& text) override;
  void SetVisible(DlgControl control, bool visible) override;
  int RunModal() override;
  void EndModal(int result) override { done(result); }
  void ListChanged() override;

  // The result of the window's close box.
  void reject() override { done(2); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* Button(DlgControl control) const;
  QWidget* Widget(DlgControl control) const;

  TVerzeichnisDlg* m_controller = nullptr;
  platform::Platform& m_platform;
  QLabel* m_path;
  QListWidget* m_list;
  QComboBox* m_drives;
  QPushButton* m_ok;
  QPushButton* m_abort;
  QPushButton* m_default;
  bool m_filling = false;
  QWidget* m_lastFocus = nullptr;
};
