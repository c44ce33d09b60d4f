#pragma once

#include <string>
#include <vector>

#include "platform/forwarding_platform.h"

namespace platform {

// Which call a fault hits.
enum class FaultOp {
  kProbeCreate,        // ProbeCreate fails
  kMakeDirectories,    // MakeDirectories fails
  kCopy,               // a copy (ShellOperation, CheckedCopy) is refused before any byte
  kDiskFull,           // a copy writes `bytes` bytes, then the disk is full
  kSetAttributes,      // SetAttributes fails
  kAttributeReadBack,  // FileAttributes reports `attributes` instead
  kFindEntries,        // an enumeration finds nothing
  kListFails,          // an enumeration fails (the folder cannot be listed)
  kReadFile,           // ReadWholeFile fails
  kMove,               // MoveEntry fails
  kRemove,             // RemoveFile or RemoveDirectory fails
  kFlush,              // FlushVolume fails
  kCrash,              // the process ends at once, as in a power cut, when a
                       // copy, a move or a folder creation is asked for
};

// One planned failure: calls of op whose path contains pathContains (every
// path when empty) fail, after the first `skip` such calls have passed.
struct Fault {
  FaultOp op;
  std::string pathContains;
  int skip = 0;
  uint64_t bytes = 0;                                  // kDiskFull
  uint32_t attributes = kAttrArchive | kAttrReadOnly;  // kAttrReadBack
};

// A platform that passes every call to another one, except the calls that a
// planned fault makes fail. It also logs the file-changing calls, so tests can
// tell which entries were touched.
class FaultPlatform : public ForwardingPlatform {
 public:
  explicit FaultPlatform(Platform& inner) : ForwardingPlatform(inner) {}

  void Add(const Fault& fault) { m_faults.push_back({fault, 0}); }
  void Clear() { m_faults.clear(); }
  // "copy SOURCE -> TARGET", "mkdir PATH", "attrib PATH", "probe PATH",
  // "find PATTERN", "move FROM -> TO", "remove PATH", "rmdir PATH",
  // "flush PATH" in call order.
  const std::vector<std::string>& log() const { return m_log; }
  void ClearLog() { m_log.clear(); }

  bool ReadWholeFile(const std::string& path, std::string* contents) override;
  ProbeHandle ProbeCreate(const std::string& path) override;
  bool MakeDirectories(const std::string& path) override;
  uint32_t FileAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  FindResult Enumerate(const std::string& pattern, const FindCallback& visit,
                       FindDetail detail = FindDetail::kFull) override;
  bool MoveEntry(const std::string& from, const std::string& to, bool replace) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool FlushVolume(const std::string& path) override;
  bool DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* unit) override;
  // Reports this much free space (and this allocation unit) on every volume.
  void SetFreeSpace(uint64_t bytes, uint64_t unit) {
    m_freeSpace = bytes;
    m_unit = unit;
    m_fakeSpace = true;
  }
  // Exit code of a process ended by a kCrash fault.
  static constexpr int kCrashExitCode = 86;
  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) override;
  // Logged and failed as a copy by ShellOperation.
  int CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) override;

 private:
  struct Planned {
    Fault fault;
    int seen;
  };
  // The fault planned for this call, or nullptr when the call passes.
  const Fault* Hit(FaultOp op, const std::string& path);

  // Ends the process when a kCrash fault hits this call.
  void CrashPoint(const std::string& path);
  // A copy or move of names ("FROM -> TO"): the planned crash, refusal or
  // full disk, else run().
  int Copy(const std::string& names, const std::function<int()>& run);

  std::vector<Planned> m_faults;
  std::vector<std::string> m_log;
  bool m_fakeSpace = false;
  uint64_t m_freeSpace = 0;
  uint64_t m_unit = 4096;
};

}  // namespace platform
