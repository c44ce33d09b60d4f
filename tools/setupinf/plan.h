#pragma once

#include <functional>
#include <string>
#include <vector>

class InstallEngine;
struct SetupData;
namespace platform {
class Platform;
}

// setupinf plan MEDIUM --components LIST --sirel DIR --dxf DIR
//               [--language NAME] [--drive X=HOSTDIR ...]
// Prints the copy plan, one "source<TAB>target" line per entry in plan order.
// Returns the exit code: 0, 1 when the plan is refused or the medium cannot
// be read, 2 for a usage error.
int RunPlan(const std::vector<std::string>& args);

// Plans the copy of one language with all three components into C:\SIREL
// and C:\DXF, as the check and the checksum list see the medium, and shows
// the engine with its plan to visit.
void WithFullPlan(platform::Platform& platform, const SetupData& data, const std::string& language,
                  const std::function<void(const InstallEngine&)>& visit);
