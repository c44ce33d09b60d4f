#pragma once

#include <windows.h>

#include <oleacc.h>

#include "navigate/navigate.h"

// The side-bar for screen readers (Active Accessibility): the window's client
// object holds the parts (scroll up, the step list, scroll down, previous,
// next); the list is an object of its own whose children are the steps,
// named by their captions, the current one selected (and focused while the
// side-bar holds the focus), steps that cannot be chosen unavailable; the
// previous/next buttons are named by their hints and press through their
// default action. The steps are also children 101, 102, ... of the client
// object, which the step events name.
namespace win32skin {

// The answer to WM_GETOBJECT for the side-bar window (0 when the object asked
// for is not its client).
LRESULT AnswerGetObject(HWND window, TKelvaNavigate* model, WPARAM wParam, LPARAM lParam);

// The model the window shows now (nullptr: none); objects made for another
// model answer nothing.
void BindModel(HWND window, TKelvaNavigate* model);

// The child id of a step in the client object's events.
constexpr LONG kStepChildBase = 100;

// Tells screen readers that the current step changed (selection; focus
// while the side-bar holds the focus).
void NotifyStepChanged(HWND window, int step, bool focused);

}  // namespace win32skin
