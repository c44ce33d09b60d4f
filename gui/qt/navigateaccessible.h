#pragma once

class NavigateWidget;

// Makes the side-bar speak to screen readers. It holds, in this order, the
// scroll-up arrow, the step list, the scroll-down arrow and the
// previous/next buttons. The list's items are the steps, named by their
// captions; the current step is selected and focused, steps that cannot be
// chosen are unavailable. The buttons are named by their hints and can be
// pressed. Safe to call more than once.
void InstallNavigateAccessibility();

// Tells screen readers that the current step of the side-bar changed: a
// selection event, and a focus event while the side-bar holds the focus.
void NotifyCurrentStepChanged(NavigateWidget* sideBar, int index);
