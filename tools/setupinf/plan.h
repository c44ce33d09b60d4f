#pragma once

#include <string>
#include <vector>

// setupinf plan MEDIUM --components LIST --sirel DIR --dxf DIR
//               [--language NAME] [--drive X=HOSTDIR ...]
// Prints the copy plan, one "source<TAB>target" line per entry in plan order.
// Returns the exit code: 0, 1 when the plan is refused or the medium cannot
// be read, 2 for a usage error.
int RunPlan(const std::vector<std::string>& args);
