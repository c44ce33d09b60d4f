#pragma once

#include <string_view>

namespace platform::dos {

// Orders UTF-8 names the way an NTFS directory lists them: character by
// character with letters folded to capitals (text::FoldCase), a name before
// every longer name it is a prefix of, and names equal that way by their raw
// bytes, so the order is total. Returns <0, 0 or >0.
int CompareNtfsOrder(std::string_view a, std::string_view b);

}  // namespace platform::dos
