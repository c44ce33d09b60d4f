#pragma once

#include <string_view>

namespace platform::dos {

// Returns true when `name` matches the directory-listing wildcard `mask`:
// '*' matches any run of characters, '?' exactly one; ASCII letters compare
// case-insensitively, every other byte exactly. Once the name is used up,
// trailing '*' left in the mask are ignored, and so are trailing '.' when the
// name has no dot (its extension is empty). So "*.*" matches every name and
// "*." the names without an extension. An empty mask matches nothing.
// Costs at most O(|mask| * |name|).
bool WildcardMatch(std::string_view mask, std::string_view name);

}  // namespace platform::dos
