#include "tools/setupinf/medium.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

bool Medium::Open(const std::string& hostDir, std::string* error,
                  const std::vector<platform::posix::Drive>* table) {
  char resolved[PATH_MAX];
  struct stat st;
  if (!realpath(hostDir.c_str(), resolved) || stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) {
    *error = "medium folder not found: " + hostDir;
    return false;
  }
  m_hostDir = resolved;
  std::vector<platform::posix::Drive> drives;
  if (table) {
    drives = *table;
  } else {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
      drives.push_back({'C', pw->pw_dir, platform::kDriveFixed});
    }
    drives.push_back({'D', m_hostDir, platform::kDriveCdRom});
    drives.push_back({'Z', "/", platform::kDriveFixed});
  }
  const std::string program = m_hostDir == "/" ? "/SETUP.EXE" : m_hostDir + "/SETUP.EXE";
  m_platform = std::make_unique<platform::posix::PosixPlatform>(
      platform::posix::DriveTable(drives), program);
  if (m_platform->ProgramFileName().empty()) {
    *error = "no drive holds the medium folder " + m_hostDir;
    return false;
  }
  return true;
}
