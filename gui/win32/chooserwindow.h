#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/verzdlg.h"
#include "gui/win32/controlids.h"
#include "gui/win32/dpi.h"

namespace platform {
class Platform;
}

// The directory chooser of the Win32 skin: a modal window owned by the main
// window, built from the chooser's layout table; the directory list and the
// drive box are owner-drawn with their images. It takes the scale of its
// owner's screen and follows its own when it moves to another.
class ChooserWindow final : public VerzeichnisDlgView {
 public:
  ChooserWindow(platform::Platform& platform, HWND owner);
  ~ChooserWindow() override;
  ChooserWindow(const ChooserWindow&) = delete;
  ChooserWindow& operator=(const ChooserWindow&) = delete;

  HWND Handle() const { return m_hwnd; }
  // From now on the window shows controller and sends it the user's clicks;
  // nullptr stops that.
  void Attach(TVerzeichnisDlg* controller);
  // The chooser's dialog keys while it is shown.
  bool PreTranslate(MSG& msg);
  // The loop that runs while the chooser is shown.
  void SetModalLoop(std::function<void(const std::function<bool()>&)> runUntil) { m_runUntil = std::move(runUntil); }

  void SetCaption(const std::string& caption) override;
  void SetText(DlgControl control, const std::string& text) override;
  void SetVisible(DlgControl control, bool visible) override;
  int RunModal() override;
  void EndModal(int result) override;
  void ListChanged() override;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  HWND Control(DlgControl control) const;
  void DrawItem(const DRAWITEMSTRUCT& item);
  void DrawButton(const DRAWITEMSTRUCT& item);
  // The font, every control's place and the rows' height at the window's scale.
  void Place();

  TVerzeichnisDlg* m_controller = nullptr;
  platform::Platform& m_platform;
  HWND m_owner;
  HWND m_hwnd = nullptr;
  win32skin::Dpi m_dpi;
  HFONT m_font = nullptr;
  HBITMAP m_folders[3] = {};
  HBITMAP m_drives[5] = {};
  HBITMAP m_glyphs[3] = {};
  std::vector<DriveEntry> m_driveEntries;  // the drive box's items
  std::function<void(const std::function<bool()>&)> m_runUntil;
  HWND m_lastFocus = nullptr;
  bool m_modal = false;
  int m_result = 0;
};
