#pragma once

#include <ostream>

#include "setupdata/setupfile.h"

class Medium;

// Prints the settings, the languages and, per component, the files the first
// language's lists name with their sizes. Returns the exit code.
int ShowMedium(Medium& medium, const SetupData& data, std::ostream& out);
