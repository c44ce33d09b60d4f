#pragma once

#include <windows.h>

class TKCProgress;

// The custom window classes of the main window:
//  - "SetupContainer": the white panel, the notebook and its pages; it hands
//    the notifications of its children to the top-level window.
//  - "SetupBanner": the banner, white word-wrapped text on black.
//  - "SetupMeter": the copy page's meter, drawn by its model in an
//    off-screen bitmap.
namespace win32skin {

extern const wchar_t kContainerClass[];
extern const wchar_t kBannerClass[];
extern const wchar_t kMeterClass[];

void RegisterWizardClasses();

// The meter window shows this model from now on.
void SetMeterModel(HWND meter, const TKCProgress* model);

}  // namespace win32skin
