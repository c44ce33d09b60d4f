#pragma once

#include <string>
#include <vector>

namespace platform {
class Platform;
}

// Common base of the non-visual components.
class TKCCustomComponent {
 public:
  virtual ~TKCCustomComponent() = default;
};

// System information; the wizard uses its drive list only.
class TKCSysInfo : public TKCCustomComponent {
 public:
  explicit TKCSysInfo(platform::Platform& platform) : m_platform(platform) {}

  // Replaces the contents of List with one "X:\" entry per logical drive, in
  // the order the system reports them. A null List is ignored.
  void GetDriveList(std::vector<std::string>* List) const;

 private:
  platform::Platform& m_platform;
};

// True when Dir is an existing directory in which a new file can be created:
// the probe file "$xAz2f$9.rrx" is created there and deleted again.
bool DirIsWritable(platform::Platform& platform, const std::string& Dir);

// The offers for the Sirel target: for every drive from C: upward, the root
// followed by DefaultTargetSubdir, when that directory exists and is writable.
std::vector<std::string> ScanTargetDrives(platform::Platform& platform, const TKCSysInfo& sysInfo,
                                          const std::string& DefaultTargetSubdir);
