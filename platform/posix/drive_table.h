#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::posix {

// One drive letter of the emulated drive table.
struct Drive {
  char letter = 'C';     // upper case
  std::string hostRoot;  // absolute host directory, no trailing slash ("/" for the root)
  uint32_t type = 3;     // Windows drive type
};

// Drives in ascending letter order; at most one entry per letter.
class DriveTable {
 public:
  DriveTable() = default;
  explicit DriveTable(std::vector<Drive> drives);

  const std::vector<Drive>& drives() const { return m_drives; }
  // The drive of a letter (either case), or nullptr.
  const Drive* Find(char letter) const;
  // Adds or replaces a drive, keeping the letter order.
  void Set(const Drive& drive);

  // The DOS path of an absolute host path: the drive whose root is the longest
  // prefix on a component boundary, then the rest with backslashes. Empty when
  // no drive holds it.
  std::string HostToDos(const std::string& hostPath) const;

 private:
  std::vector<Drive> m_drives;
};

// One line of /proc/self/mounts, decoded.
struct MountEntry {
  std::string mountPoint;
  std::string fsType;
};

// Parses the text of /proc/self/mounts (octal escapes such as \040 decoded).
std::vector<MountEntry> ParseMounts(const std::string& text);

// Builds the table a desktop user would see: C: = home, D: to Y: = the mounts
// under /media, /run/media/<user> or inside home, plus the mount that holds
// programHostPath, sorted by mount point; Z: = /.
DriveTable BuildDriveTable(const std::string& home, const std::string& user, const std::vector<MountEntry>& mounts,
                           const std::string& programHostPath);

// The user's home folder from the password database, without a trailing
// slash; empty when it is not known. Drive C: of every table.
std::string UserHomeDirectory();

// The table of this machine: home and user from the password database, mounts
// from /proc/self/mounts.
DriveTable SystemDriveTable(const std::string& programHostPath);

}  // namespace platform::posix
