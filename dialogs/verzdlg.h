#pragma once

#include <functional>
#include <memory>
#include <string>

#include "dialogs/dirlist.h"

namespace platform {
class Platform;
}

// The dialog's controls addressed by the controller.
enum class DlgControl { BtnOK, BtnAbort, BtnDefault, DirectoryListBox1, DriveComboBox1, LblPath };

// What the chooser's controller needs of its window.
class VerzeichnisDlgView {
 public:
  virtual ~VerzeichnisDlgView() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetText(DlgControl control, const std::string& text) = 0;
  virtual void SetVisible(DlgControl control, bool visible) = 0;
  // Shows the window modally, centred on the screen; returns the modal result
  // passed to EndModal, or 2 when the window was closed.
  virtual int RunModal() = 0;
  virtual void EndModal(int result) = 0;
  // The list, the drive box or the path label must show the model again.
  virtual void ListChanged() = 0;
};

// The directory chooser: opens at StartDir or the nearest existing directory
// above it and returns the directory the list shows when OK is pressed.
class TVerzeichnisDlg {
 public:
  // reportError shows an input/output error of the list in the
  // application's error box.
  TVerzeichnisDlg(platform::Platform& platform, std::function<void(const std::string&)> reportError);

  void SetView(VerzeichnisDlgView* view) { m_view = view; }
  DirectoryListModel& List() { return m_list; }

  // Results: 1 OK, 3 abort, 2 closed.
  int ShowModal();
  void FormShow();
  void BtnOKClick();
  void BtnAbortClick();
  void BtnDefaultClick();
  void DirectoryListBox1Click();
  void DriveComboBox1Change(char Letter);
  std::string NearestExistingDir(const std::string& Path) const;

  void SetCaption(const std::string& caption);
  void SetButtonCaption(DlgControl button, const std::string& caption);
  bool DefaultVisible = false;

  std::string PresetDir;
  std::string StartDir;
  std::string SelectedDir;

 private:
  void Enter(const std::string& dir);

  platform::Platform& m_platform;
  std::function<void(const std::string&)> m_reportError;
  DirectoryListModel m_list;
  VerzeichnisDlgView* m_view = nullptr;
};
