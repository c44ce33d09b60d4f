#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::dos {

// Resolves a Windows path to its full normalised form, "X:\comp\comp" or
// "X:\" for a drive root, as GetFullPathNameA does. '/' counts as '\'.
// "X:\a" keeps its drive (upper-cased); "\a" starts at the root of
// currentDir's drive; "X:a" starts at currentDir when that is on drive X, else
// at "X:\"; "a" starts at currentDir, which must be a normalised full path.
// Empty components and "." are dropped, ".." drops the previous component but
// never the root, and trailing dots and blanks are cut from every component
// (dropping it if nothing is left). Returns false, leaving `out` alone, for an
// empty path, a UNC path (two leading separators), a drive that is not a
// letter, or a path that needs currentDir when that is not a full path.
bool NormalizeDosPath(std::string_view path, std::string_view currentDir, std::string* out);

// Returns the components of a path made by NormalizeDosPath, without the
// leading "X:\" (none for a drive root). The views point into `normalized`.
std::vector<std::string_view> SplitDosComponents(std::string_view normalized);

// Writes the roots of the drive letters given ("C:\<0>D:\<0><0>") into a
// buffer as GetLogicalDriveStrings does: the characters written without the
// final zero, or the size needed when the buffer is too small.
uint32_t WriteDriveStrings(const std::string& letters, uint32_t bufferLength, char* buffer);

}  // namespace platform::dos
