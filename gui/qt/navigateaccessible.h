#pragma once

class QWidget;

// Makes the side-bar's step list speak to screen readers: each step is a list
// item named by its caption, the current step is selected and focused, steps
// that cannot be chosen are unavailable. Safe to call more than once.
void InstallNavigateAccessibility();

// Tells screen readers that the current step of the list widget changed.
void NotifyCurrentStepChanged(QWidget* listWidget, int index);
