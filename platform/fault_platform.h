#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Which call a fault hits.
enum class FaultOp {
  kProbeCreate,      // ProbeCreate fails
  kMakeDirectories,  // MakeDirectories fails
  kCopy,             // a copy by ShellOperation is refused before any byte
  kDiskFull,         // a copy writes `bytes` bytes, then the disk is full
  kSetAttributes,    // SetAttributes fails
  kAttributeReadBack,// FileAttributes reports `attributes` instead
  kFindEntries,      // FindEntries finds nothing
  kReadFile,         // ReadWholeFile fails
};

// One planned failure: calls of op whose path contains pathContains (every
// path when empty) fail, after the first `skip` such calls have passed.
struct Fault {
  FaultOp op;
  std::string pathContains;
  int skip = 0;
  uint64_t bytes = 0;                    // kDiskFull
  uint32_t attributes = kAttrArchive | kAttrReadOnly;  // kAttrReadBack
};

// A platform that passes every call to another one, except the calls that a
// planned fault makes fail. It also logs the file-changing calls, so tests can
// tell which entries were touched.
class FaultPlatform : public Platform {
 public:
  explicit FaultPlatform(Platform& inner) : m_inner(inner) {}

  void Add(const Fault& fault) { m_faults.push_back({fault, 0}); }
  void Clear() { m_faults.clear(); }
  // "copy SOURCE -> TARGET", "mkdir PATH", "attrib PATH", "probe PATH",
  // "find PATTERN" in call order.
  const std::vector<std::string>& log() const { return m_log; }
  void ClearLog() { m_log.clear(); }

  std::string ProgramFileName() override { return m_inner.ProgramFileName(); }
  std::string FullPath(const std::string& path) override { return m_inner.FullPath(path); }
  bool IsFile(const std::string& path) override { return m_inner.IsFile(path); }
  bool IsDirectory(const std::string& path) override { return m_inner.IsDirectory(path); }
  bool ReadWholeFile(const std::string& path, std::string* contents) override;
  ProbeHandle ProbeCreate(const std::string& path) override;
  void ProbeClose(ProbeHandle handle) override { m_inner.ProbeClose(handle); }
  bool RemoveFile(const std::string& path) override { return m_inner.RemoveFile(path); }
  bool MakeDirectories(const std::string& path) override;
  bool ChangeDirectory(const std::string& path) override { return m_inner.ChangeDirectory(path); }
  std::string CurrentDirectory() override { return m_inner.CurrentDirectory(); }
  uint32_t FileAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool FindEntries(const std::string& pattern, const FindCallback& visit,
                   FindDetail detail = FindDetail::kFull) override;
  FileTime ToLocalFileTime(FileTime utc) override { return m_inner.ToLocalFileTime(utc); }
  uint32_t LogicalDriveStrings(uint32_t length, char* buffer) override {
    return m_inner.LogicalDriveStrings(length, buffer);
  }
  uint32_t DriveTypeOf(const std::string& root) override { return m_inner.DriveTypeOf(root); }
  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to,
                     uint32_t flags) override;
  bool FileSizeOf(const std::string& path, uint64_t* size) override {
    return m_inner.FileSizeOf(path, size);
  }
  bool FileTimesOf(const std::string& path, FileTime* c, FileTime* a, FileTime* w) override {
    return m_inner.FileTimesOf(path, c, a, w);
  }
  bool SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) override {
    return m_inner.SetFileTimeOf(path, which, utc);
  }
  std::string ShellTypeName(const std::string& path) override { return m_inner.ShellTypeName(path); }
  LocaleDateData LocaleDates() override { return m_inner.LocaleDates(); }
  bool SetThreadPriority(std::thread& thread, int priority) override {
    return m_inner.SetThreadPriority(thread, priority);
  }
  void SetCopyWriteLimit(int64_t limit) override { m_inner.SetCopyWriteLimit(limit); }

 private:
  struct Planned {
    Fault fault;
    int seen;
  };
  // The fault planned for this call, or nullptr when the call passes.
  const Fault* Hit(FaultOp op, const std::string& path);

  Platform& m_inner;
  std::vector<Planned> m_faults;
  std::vector<std::string> m_log;
};

}  // namespace platform
