#pragma once

#include <sys/stat.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/copy_fault_hook.h"
#include "platform/platform.h"
#include "platform/posix/drive_table.h"

namespace platform::posix {

// The platform on Linux: Windows paths mapped onto the host through a drive
// table, names matched without regard to case, the attribute word kept in the
// extended attribute user.DOSATTRIB, copies made through a temporary file that
// is renamed over the target.
class PosixPlatform : public Platform, public CopyFaultHook {
 public:
  struct Options {
    // False makes the backend behave as on a file system without user
    // extended attributes.
    bool userXattrs = true;
    // For tests: copies move at most this many bytes at a time (0: no
    // limit), and this is called after each piece with the source's host
    // path and the bytes copied so far.
    size_t copyPiece = 0;
    std::function<void(const std::string& sourceHost, uint64_t copied)> afterCopyPiece;
  };

  // programHostPath is the host path of the running program; the current
  // directory starts as its DOS directory.
  PosixPlatform(DriveTable drives, std::string programHostPath, Options options);
  PosixPlatform(DriveTable drives, std::string programHostPath)
      : PosixPlatform(std::move(drives), std::move(programHostPath), Options()) {}

  // The platform of this process: the system drive table, /proc/self/exe.
  static std::unique_ptr<PosixPlatform> ForThisProcess();

  const DriveTable& driveTable() const { return m_drives; }

  // Host path of a DOS path: existing components matched without regard to
  // case (the exact spelling first, else the byte-wise smallest match), the
  // rest taken as written. False when the path has no drive of the table.
  bool ToHostPath(const std::string& dosPath, std::string* hostPath) const;
  // DOS path of an absolute host path; empty when no drive holds it.
  std::string ToDosPath(const std::string& hostPath) const { return m_drives.HostToDos(hostPath); }

  std::string ProgramFileName() override;
  std::string FullPath(const std::string& path) override;
  std::string CommandLinePath(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string* contents) override;
  ProbeHandle ProbeCreate(const std::string& path) override;
  void ProbeClose(ProbeHandle handle) override;
  bool RemoveFile(const std::string& path) override;
  bool MakeDirectories(const std::string& path) override;
  bool ChangeDirectory(const std::string& path) override;
  std::string CurrentDirectory() override;
  uint32_t FileAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  FindResult Enumerate(const std::string& pattern, const FindCallback& visit,
                       FindDetail detail = FindDetail::kFull) override;
  std::string RealPath(const std::string& path) override;
  bool MoveEntry(const std::string& from, const std::string& to, bool replace) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* allocationUnit) override;
  bool FlushVolume(const std::string& path) override;
  std::string StateDirectory() override;
  AppendHandle OpenAppend(const std::string& path) override;
  bool Append(AppendHandle handle, const std::string& text, bool durable) override;
  void CloseAppend(AppendHandle handle) override;
  bool SameContent(const std::string& a, const std::string& b) override;
  std::string ErrorText(int code) override;
  std::string SettingsDirectory() override;
  FileTime ToLocalFileTime(FileTime utc) override;
  uint32_t LogicalDriveStrings(uint32_t bufferLength, char* buffer) override;
  uint32_t DriveTypeOf(const std::string& root) override;
  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) override;
  int CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) override;
  bool FileSizeOf(const std::string& path, uint64_t* size) override;
  bool FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) override;
  bool SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) override;
  std::string ShellTypeName(const std::string& path) override;
  LocaleDateData LocaleDates() override;
  bool SetThreadPriority(std::thread& thread, int priority) override;

  // CopyFaultHook, for tests.
  void SetCopyWriteLimit(int64_t limit) override { m_writeLimit = limit; }

 private:
  // Maps a DOS path to the host. *found receives the lstat data of the
  // result, with st_mode 0 when it does not exist.
  bool Resolve(const std::string& dosPath, std::string* hostPath, std::string* normalized = nullptr,
               struct stat* found = nullptr) const;
  // Looks up a name without regard to case in a host folder, through a
  // listing of the folder read last that is kept while the folder's change
  // time stays the same.
  bool FindNoCase(const std::string& dirHost, const std::string& name, std::string* match) const;
  void AddListed(const std::string& name) const;
  void NoteNewEntry(const std::string& dirHost, const std::string& name);
  // A folder below the home folder (drive C:), made when missing, as a DOS path.
  std::string HomeFolder(std::initializer_list<const char*> parts);
  // The host path of the nearest existing folder at or above a DOS path.
  bool ExistingHostAncestor(const std::string& dosPath, std::string* hostPath) const;
  // With check, only a file is copied and its data goes through memory.
  int CopyOne(const std::string& source, const std::string& target, CopyCheck* check = nullptr);
  int CopyTree(const std::string& source, const std::string& target);
  // Copies the data, attributes and times of a file; 0 or an errno value
  // (EBADMSG when check refuses the data).
  int CopyFileData(const std::string& srcHost, const std::string& dstHost, CopyCheck* check);
  int MoveOne(const std::string& source, const std::string& target);
  int DeleteOne(const std::string& path);
  bool WriteAllowed(size_t* chunk);

  DriveTable m_drives;
  std::string m_programHostPath;
  Options m_options;
  std::string m_currentDir;
  int64_t m_writeLimit = -1;
  uint64_t m_tempCounter = 0;
  struct DirListing {
    bool valid = false;
    std::string dir;
    dev_t dev = 0;
    ino_t ino = 0;
    struct timespec mtime = {};
    std::unordered_map<std::string, std::string> names;  // upper-cased -> smallest spelling
  };
  mutable DirListing m_listing;
};

}  // namespace platform::posix
