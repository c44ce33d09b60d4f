#pragma once

#include <memory>
#include <string>

#include "platform/posix/posix_platform.h"
#include "setupdata/setupfile.h"

// A delivery medium opened as the wizard would see it: the medium's folder
// is drive D: and the program D:\SETUP.EXE; C: is the home directory, Z: is /.
class Medium {
 public:
  // False, with a message in *error, when the folder does not exist. With
  // drives, those drives form the whole table and must hold the folder.
  bool Open(const std::string& hostDir, std::string* error,
            const std::vector<platform::posix::Drive>* drives = nullptr);

  platform::posix::PosixPlatform& platform() { return *m_platform; }
  const std::string& hostDir() const { return m_hostDir; }
  // Loads SETUP.INF as start-up does.
  SetupLoadResult Load(SetupData* data) { return LoadSetup(*m_platform, data); }

 private:
  std::string m_hostDir;
  std::unique_ptr<platform::posix::PosixPlatform> m_platform;
};
