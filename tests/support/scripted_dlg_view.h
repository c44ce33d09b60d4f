#pragma once

#include <functional>
#include <string>

#include "dialogs/verzdlg.h"

// A chooser window that runs a script when shown, standing for the user's
// clicks; without one it ends as if closed with the close box (result 2).
class ScriptedDlgView : public VerzeichnisDlgView {
 public:
  void SetCaption(const std::string& c) override { caption = c; }
  void SetText(DlgControl, const std::string&) override {}
  void SetVisible(DlgControl, bool) override {}
  int RunModal() override {
    result = 2;
    if (press) press();
    return result;
  }
  void EndModal(int r) override { result = r; }
  void ListChanged() override { ++changes; }

  std::function<void()> press;
  std::string caption;
  int result = 0;
  int changes = 0;
};
