#pragma once

#include <string_view>

namespace platform::dos {

// Returns true when the UTF-8 `name` matches the directory-listing wildcard
// `mask`: '*' matches any run of characters, '?' exactly one character;
// letters compare without regard to case (text::FoldCase). Once the name is used up,
// trailing '*' left in the mask are ignored, and so are trailing '.' when the
// name has no dot (its extension is empty). So "*.*" matches every name and
// "*." the names without an extension. An empty mask matches nothing.
// Costs at most O(|mask| * |name|).
bool WildcardMatch(std::string_view mask, std::string_view name);

}  // namespace platform::dos
