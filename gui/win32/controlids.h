#pragma once

#include "dialogs/verzdlg.h"
#include "setup/controls.h"

// The control IDs of the Win32 windows: 100 + the main window's control,
// 200 + the chooser's control. Programs outside (the test driver) find the
// controls by them.
constexpr int kControlIdBase = 100;
constexpr int ControlId(Control control) { return kControlIdBase + static_cast<int>(control); }
constexpr int kDlgControlIdBase = 200;
constexpr int DlgControlId(DlgControl control) { return kDlgControlIdBase + static_cast<int>(control); }
