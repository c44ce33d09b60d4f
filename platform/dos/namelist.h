#pragma once

#include <string>
#include <vector>

namespace platform::dos {

// The names of a shell operation's list, each ended by a zero character and
// the list by one more. The list ends at its first empty name, or at the end
// of the string when the last zero is missing.
std::vector<std::string> SplitNameList(const std::string& list);

}  // namespace platform::dos
