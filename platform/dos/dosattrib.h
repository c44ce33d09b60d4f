#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::dos {

// Returns the value to store in the user.DOSATTRIB extended attribute for a
// Windows attribute word: "0x" and lower-case hex without leading zeros
// ("0x20", "0x0"), followed by one NUL byte that is part of the string.
std::string FormatDosAttrib(uint32_t attributes);

// Reads a user.DOSATTRIB value: the text "0x<hex>" (either case, with or
// without a trailing NUL) or the binary record Samba writes after that text.
// Returns the stored 32-bit word in `attributes`. On failure (no readable
// text and no usable record) returns false and leaves `attributes` alone.
bool ParseDosAttrib(const char* data, size_t length, uint32_t* attributes);

}  // namespace platform::dos
