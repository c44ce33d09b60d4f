#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class Platform;
}

// A file of a medium tree.
struct TreeFile {
  std::string path;  // full DOS path
  uint64_t size = 0;
};

// Every file below dir, depth first in the platform's order, entering
// subdirectories that are neither hidden, system nor links, as the wizard's
// search does. Directories whose names hold ";" go to *semicolonNames too.
std::vector<TreeFile> WalkTree(platform::Platform& platform, const std::string& dir,
                               std::vector<std::string>* semicolonNames = nullptr);

// A search group text "dir;subdir" split at its first ";" (no ";": all of it
// is subdir).
struct SearchGroupText {
  std::string dir;
  std::string subdir;
};
SearchGroupText SplitSearchGroup(const std::string& text);

// True when the normalised path lies in base or below it (compared without
// regard to case).
bool LiesInside(const std::string& path, const std::string& base);
