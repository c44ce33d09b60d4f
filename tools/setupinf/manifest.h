#pragma once

#include <string>
#include <vector>

#include "tools/setupinf/check.h"

class Medium;
struct SetupData;
namespace platform {
class Platform;
}

// A file the checksum list of a medium lists.
struct ListedFile {
  enum Role { kLicence, kPlanned, kSetupFile };
  std::string relative;  // as the list names it: "macros/a.mac"
  std::string path;      // the full DOS path
  Role role = kPlanned;  // the strongest reason it is listed
};

// What SETUP.SUM lists: SETUP.INF, the licence file of each language and
// every file a plan of any language with all three components copies, also
// on a system that hides other folders (every file in the search groups'
// folders), each once, in no particular order. Never SETUP.SUM itself. Why a plan
// is refused goes to *refusals (when given), once per problem.
std::vector<ListedFile> FilesToList(platform::Platform& platform, const SetupData& data,
                                    std::vector<std::string>* refusals = nullptr);

// The path of a file relative to the medium spelt as the medium spells it
// (the name the wizard would open, where only the letter case differs), so
// that tools which match names exactly find it.
std::string SpeltOnMedium(platform::Platform& platform, const std::string& mediumDir, const std::string& relative);

// setupinf manifest [MEDIUM], on a medium whose SETUP.INF is loaded: writes
// SETUP.SUM into it, in one step through a temporary file. Exit code 0, or 1
// (with the reasons on standard error) when a plan is refused or a file
// cannot be listed or the list cannot be written; nothing is written then.
int RunManifest(Medium& medium, const SetupData& data);

// The check of SETUP.SUM, when the medium has one: a line that is not a
// checksum line, a listed file that is missing or differs, and a file that
// must be listed and is not are errors; an unlisted licence file is a warning.
void CheckManifest(platform::Platform& platform, const SetupData& data, std::vector<Finding>* findings);
