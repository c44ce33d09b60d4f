#pragma once
// setup.exe steered by key presses alone, read as a screen reader reads it.
#include <string>

// A whole install into E: from page 0 to the done message; the accessible
// tree of every page is read and checked. 0 when all went as expected.
int KeyboardInstall(const std::string& exe);

// Cancelled on page 0 (Tab to Cancel, Space, the confirmation answered by
// Return); prints the first page's texts as WM_GETTEXT gives them.
int KeyboardCancel(const std::string& exe);
