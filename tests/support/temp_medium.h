#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_platform.h"

// A temporary directory that stands for a set of drives: each letter given
// becomes a folder below it (C: = <root>/c, D: = <root>/d, ...). The program
// is D:\SETUP.EXE unless told otherwise. Everything is removed afterwards.
class TempDrives {
 public:
  explicit TempDrives(const std::string& letters = "CD", platform::posix::PosixPlatform::Options options = {});
  ~TempDrives();
  TempDrives(const TempDrives&) = delete;
  TempDrives& operator=(const TempDrives&) = delete;

  const std::string& root() const { return m_root; }
  // Host path of a path on a drive, written with "/" ("D:" + "macros/a.mac").
  std::string Host(char letter, const std::string& relative = std::string()) const;
  platform::posix::PosixPlatform& platform() { return *m_platform; }

  // Writes a file, creating its folders.
  static void Write(const std::string& hostPath, const std::string& data);
  // Contents of a host file; "<missing>" when it cannot be read.
  static std::string Read(const std::string& hostPath);
  static bool Exists(const std::string& hostPath);
  // Names in a host folder, sorted.
  static std::vector<std::string> List(const std::string& hostDir);
  // Every entry below a drive's folder, one line each, sorted: folders as
  // "path/", files as "path size mtime attributes content" (the attribute
  // word as the platform reads it). Names starting with skip are left out.
  std::vector<std::string> Snapshot(char letter, const std::string& skip = ".local");
  // Writes SETUP.SUM into a drive's root, listing these files (relative to
  // it, "/" between names, found as the platform finds them) with the
  // SHA-256 of their content now.
  void WriteChecksums(char letter, const std::vector<std::string>& paths);

 private:
  std::string m_root;
  std::unique_ptr<platform::posix::PosixPlatform> m_platform;
};
