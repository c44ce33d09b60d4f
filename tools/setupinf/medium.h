#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/drive_table.h"
#include "setupdata/setupfile.h"

// A delivery medium opened as the wizard would see it, with the program as
// SETUP.EXE in the medium's folder. On Linux the folder is drive D:, C: the
// home directory and Z: /; on Windows the folder keeps its own path.
class Medium {
 public:
  // False, with a message in *error, when the folder does not exist. With
  // drives (Linux only), those drives form the whole table and must hold it.
  bool Open(const std::string& hostDir, std::string* error,
            const std::vector<platform::posix::Drive>* drives = nullptr);

  platform::Platform& platform() { return *m_platform; }
  const std::string& hostDir() const { return m_hostDir; }
  // The path the platform uses for a host path: on Linux the DOS path
  // (Z:\ is /), on Windows the path itself.
  std::string HostToDos(const std::string& hostPath) const;
  // Loads SETUP.INF as start-up does.
  SetupLoadResult Load(SetupData* data) { return LoadSetup(*m_platform, data); }

 private:
  std::string m_hostDir;
  std::unique_ptr<platform::Platform> m_base;
  std::unique_ptr<platform::Platform> m_platform;
};
