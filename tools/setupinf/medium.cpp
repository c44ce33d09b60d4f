#include "tools/setupinf/medium.h"

#include "platform/forwarding_platform.h"

#ifdef _WIN32
#include "platform/this_process.h"
#else
#include "platform/posix/host_files.h"
#include "platform/posix/posix_platform.h"
#endif

#ifdef _WIN32

bool Medium::Open(const std::string& hostDir, std::string* error, const std::vector<platform::posix::Drive>* drives) {
  if (drives) {
    *error = "--drive tables are for the Linux build; Windows has its own drives";
    return false;
  }
  m_base = platform::MakeProcessPlatform();
  m_hostDir = m_base->FullPath(hostDir);
  if (m_hostDir.empty() || !m_base->IsDirectory(m_hostDir)) {
    *error = "medium folder not found: " + hostDir;
    return false;
  }
  const std::string folder = m_hostDir.back() == '\\' ? m_hostDir : m_hostDir + "\\";
  m_platform = std::make_unique<platform::ProgramAtPlatform>(*m_base, folder + "SETUP.EXE");
  return true;
}

std::string Medium::HostToDos(const std::string& hostPath) const { return hostPath; }

#else

bool Medium::Open(const std::string& hostDir, std::string* error, const std::vector<platform::posix::Drive>* table) {
  m_hostDir = platform::posix::RealHostDirectory(hostDir);
  if (m_hostDir.empty()) {
    *error = "medium folder not found: " + hostDir;
    return false;
  }
  std::vector<platform::posix::Drive> drives;
  if (table) {
    drives = *table;
  } else {
    if (const std::string home = platform::posix::UserHomeDirectory(); !home.empty()) {
      drives.push_back({'C', home, platform::kDriveFixed});
    }
    drives.push_back({'D', m_hostDir, platform::kDriveCdRom});
    drives.push_back({'Z', "/", platform::kDriveFixed});
  }
  const std::string program = m_hostDir == "/" ? "/SETUP.EXE" : m_hostDir + "/SETUP.EXE";
  auto posix = std::make_unique<platform::posix::PosixPlatform>(platform::posix::DriveTable(drives), program);
  const std::string dosProgram = posix->ProgramFileName();
  if (dosProgram.empty()) {
    *error = "no drive holds the medium folder " + m_hostDir;
    return false;
  }
  m_base = std::move(posix);
  m_platform = std::make_unique<platform::ProgramAtPlatform>(*m_base, dosProgram);
  return true;
}

std::string Medium::HostToDos(const std::string& hostPath) const {
  // On Linux the base is always the POSIX platform Open made.
  return static_cast<const platform::posix::PosixPlatform&>(*m_base).ToDosPath(hostPath);
}

#endif
