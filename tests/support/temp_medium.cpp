#include "tests/support/temp_medium.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "install/manifest.h"
#include "install/sha256.h"

namespace {

void MakeParents(const std::string& path) {
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] == '/') mkdir(path.substr(0, i).c_str(), 0777);
  }
}

void RemoveTree(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    chmod(path.c_str(), 0700);
    if (DIR* dir = opendir(path.c_str())) {
      while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") RemoveTree(path + "/" + name);
      }
      closedir(dir);
    }
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

}  // namespace

TempDrives::TempDrives(const std::string& letters, platform::posix::PosixPlatform::Options options) {
  char pattern[] = "/tmp/setup-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (!made) ADD_FAILURE() << "mkdtemp failed";
  m_root = made ? made : "/tmp";
  std::vector<platform::posix::Drive> drives;
  for (char letter : letters) {
    const std::string dir = m_root + "/" + static_cast<char>(std::tolower(letter));
    mkdir(dir.c_str(), 0777);
    drives.push_back({static_cast<char>(std::toupper(letter)), dir, platform::kDriveFixed});
  }
  m_platform = std::make_unique<platform::posix::PosixPlatform>(platform::posix::DriveTable(drives),
                                                                Host('D', "SETUP.EXE"), options);
}

TempDrives::~TempDrives() { RemoveTree(m_root); }

std::string TempDrives::Host(char letter, const std::string& relative) const {
  std::string path = m_root + "/" + static_cast<char>(std::tolower(letter));
  if (!relative.empty()) path += "/" + relative;
  return path;
}

void TempDrives::Write(const std::string& hostPath, const std::string& data) {
  MakeParents(hostPath);
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out << data;
}

std::string TempDrives::Read(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return "<missing>";
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TempDrives::Exists(const std::string& hostPath) {
  struct stat st;
  return lstat(hostPath.c_str(), &st) == 0;
}

std::vector<std::string> TempDrives::List(const std::string& hostDir) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(hostDir.c_str())) {
    while (const dirent* e = readdir(dir)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> TempDrives::Snapshot(char letter, const std::string& skip) {
  std::vector<std::string> lines;
  const std::string root = Host(letter);
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string rel = pending.back();
    pending.pop_back();
    for (const std::string& name : List(rel.empty() ? root : root + "/" + rel)) {
      if (rel.empty() && !skip.empty() && name.rfind(skip, 0) == 0) continue;
      const std::string entry = rel.empty() ? name : rel + "/" + name;
      struct stat st;
      if (lstat((root + "/" + entry).c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode)) {
        lines.push_back(entry + "/");
        pending.push_back(entry);
        continue;
      }
      std::string dos = std::string(1, static_cast<char>(std::toupper(letter))) + ":\\" + entry;
      std::replace(dos.begin(), dos.end(), '/', '\\');
      lines.push_back(entry + " " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
                      std::to_string(st.st_mtim.tv_nsec) + " " + std::to_string(m_platform->FileAttributes(dos)) + " " +
                      Read(root + "/" + entry));
    }
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void TempDrives::WriteChecksums(char letter, const std::vector<std::string>& paths) {
  std::vector<MediumManifest::Entry> entries;
  for (const std::string& p : paths) {
    std::string dos = std::string(1, letter) + ":\\" + p;
    std::replace(dos.begin(), dos.end(), '/', '\\');
    std::string data;
    EXPECT_TRUE(m_platform->ReadWholeFile(dos, &data)) << dos;
    entries.push_back({p, Sha256::Of(data)});
  }
  Write(Host(letter, MediumManifest::kFileName), MediumManifest::Format(entries));
}
