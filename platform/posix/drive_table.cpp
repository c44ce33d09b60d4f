#include "platform/posix/drive_table.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace platform::posix {
namespace {

// True when path equals prefix or lies below it.
bool IsUnder(const std::string& path, const std::string& prefix) {
  if (prefix == "/") return !path.empty() && path[0] == '/';
  if (path.compare(0, prefix.size(), prefix) != 0) return false;
  return path.size() == prefix.size() || path[prefix.size()] == '/';
}

std::string DecodeMountField(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3') {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

uint32_t TypeOfMount(const MountEntry& m, const std::string& user) {
  static const char* const kRemote[] = {"nfs", "nfs4",       "cifs", "smb3", "smbfs",
                                        "9p",  "fuse.sshfs", "afs",  "ceph", "glusterfs"};
  // A disc, or a disc image mounted through FUSE.
  if (m.fsType == "iso9660" || m.fsType == "udf" || m.fsType == "fuse.fuseiso") return kDriveCdRom;
  for (const char* r : kRemote) {
    if (m.fsType == r) return kDriveRemote;
  }
  if (IsUnder(m.mountPoint, "/media") || IsUnder(m.mountPoint, "/run/media/" + user)) {
    return kDriveRemovable;
  }
  return kDriveFixed;
}

}  // namespace

DriveTable::DriveTable(std::vector<Drive> drives) {
  for (const Drive& d : drives) Set(d);
}

const Drive* DriveTable::Find(char letter) const {
  const char up = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 32) : letter;
  for (const Drive& d : m_drives) {
    if (d.letter == up) return &d;
  }
  return nullptr;
}

void DriveTable::Set(const Drive& drive) {
  Drive d = drive;
  if (d.letter >= 'a' && d.letter <= 'z') d.letter = static_cast<char>(d.letter - 32);
  while (d.hostRoot.size() > 1 && d.hostRoot.back() == '/') d.hostRoot.pop_back();
  auto it = std::find_if(m_drives.begin(), m_drives.end(), [&](const Drive& x) { return x.letter >= d.letter; });
  if (it != m_drives.end() && it->letter == d.letter) {
    *it = d;
  } else {
    m_drives.insert(it, d);
  }
}

std::string DriveTable::HostToDos(const std::string& hostPath) const {
  const Drive* best = nullptr;
  for (const Drive& d : m_drives) {
    if (IsUnder(hostPath, d.hostRoot) && (!best || d.hostRoot.size() > best->hostRoot.size())) {
      best = &d;
    }
  }
  if (!best) return std::string();
  std::string rest = best->hostRoot == "/" ? hostPath.substr(1) : hostPath.substr(best->hostRoot.size());
  std::string dos = std::string(1, best->letter) + ":\\";
  for (char c : rest) {
    if (c == '/') {
      if (dos.back() != '\\') dos += '\\';
    } else {
      dos += c;
    }
  }
  if (dos.size() > 3 && dos.back() == '\\') dos.pop_back();
  return dos;
}

std::vector<MountEntry> ParseMounts(const std::string& text) {
  std::vector<MountEntry> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string device, point, type;
    if (fields >> device >> point >> type) out.push_back({DecodeMountField(point), type});
  }
  return out;
}

DriveTable BuildDriveTable(const std::string& home, const std::string& user, const std::vector<MountEntry>& mounts,
                           const std::string& programHostPath) {
  DriveTable table;
  if (!home.empty()) table.Set({'C', home, kDriveFixed});

  // The mount that holds the program: the longest mount point above it.
  const MountEntry* programMount = nullptr;
  for (const MountEntry& m : mounts) {
    if (!programHostPath.empty() && IsUnder(programHostPath, m.mountPoint) &&
        (!programMount || m.mountPoint.size() > programMount->mountPoint.size())) {
      programMount = &m;
    }
  }

  std::vector<MountEntry> shown;
  for (const MountEntry& m : mounts) {
    const bool visible = IsUnder(m.mountPoint, "/media") || IsUnder(m.mountPoint, "/run/media/" + user) ||
                         (!home.empty() && IsUnder(m.mountPoint, home) && m.mountPoint != home);
    const bool holdsProgram = &m == programMount && m.mountPoint != "/" && m.mountPoint != home;
    if (!visible && !holdsProgram) continue;
    if (m.mountPoint == "/media" || m.mountPoint == "/run/media/" + user) continue;
    const bool seen =
        std::any_of(shown.begin(), shown.end(), [&](const MountEntry& s) { return s.mountPoint == m.mountPoint; });
    if (!seen) shown.push_back(m);
  }
  std::sort(shown.begin(), shown.end(),
            [](const MountEntry& a, const MountEntry& b) { return a.mountPoint < b.mountPoint; });

  char letter = 'D';
  for (const MountEntry& m : shown) {
    if (letter > 'Y') break;
    table.Set({letter++, m.mountPoint, TypeOfMount(m, user)});
  }
  table.Set({'Z', "/", kDriveFixed});
  return table;
}

std::string UserHomeDirectory() {
  std::string home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = pw->pw_dir;
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return home;
}

DriveTable SystemDriveTable(const std::string& programHostPath) {
  std::string user;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name) user = pw->pw_name;
  std::ifstream in("/proc/self/mounts");
  std::stringstream text;
  text << in.rdbuf();
  return BuildDriveTable(UserHomeDirectory(), user, ParseMounts(text.str()), programHostPath);
}

}  // namespace platform::posix
