#include "install/kcsysinfo.h"

#include "platform/platform.h"
#include "stools/stools.h"

void TKCSysInfo::GetDriveList(std::vector<std::string>* List) const {
  if (!List) return;
  List->clear();
  char buffer[255] = {};
  const uint32_t count = m_platform.LogicalDriveStrings(254, buffer);
  // Roots are "X:\" plus a zero, four characters apart; a count larger than
  // the buffer means the call failed to fill it.
  if (count == 0 || count > 254) return;
  for (uint32_t p = 0; p + 1 < count; p += 4) List->emplace_back(buffer + p, 3);
}

bool DirIsWritable(platform::Platform& platform, const std::string& Dir) {
  if (!platform.IsDirectory(Dir)) return false;
  // The probe is created exclusively and only a probe made here is removed.
  // Where a file of the probe's name stands already, a numbered name is
  // tried instead; the file found is left as it is.
  for (int n = 0; n < 10; ++n) {
    const std::string probe =
        AddBackslash(Dir) + (n == 0 ? std::string("$xAz2f$9.rrx") : "$xAz2f$9-" + std::to_string(n) + ".rrx");
    const platform::ProbeHandle handle = platform.ProbeCreate(probe);
    if (handle != platform::kNoProbe) {
      platform.ProbeClose(handle);
      platform.RemoveFile(probe);
      return true;
    }
    if (platform.FileAttributes(probe) == platform::kInvalidAttributes) return false;
  }
  return false;
}

std::vector<std::string> ScanTargetDrives(platform::Platform& platform, const TKCSysInfo& sysInfo,
                                          const std::string& DefaultTargetSubdir) {
  std::vector<std::string> offers;
  std::vector<std::string> roots;
  sysInfo.GetDriveList(&roots);
  for (const std::string& root : roots) {
    char letter = root.empty() ? '\0' : root[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    if (static_cast<unsigned char>(letter) <= static_cast<unsigned char>('B')) continue;
    const std::string candidate = root + DefaultTargetSubdir;
    if (DirIsWritable(platform, candidate)) offers.push_back(candidate);
  }
  return offers;
}
