#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/copy_fault_hook.h"
#include "platform/platform.h"

namespace platform {

// The platform with drives, folders and files held in memory: the fuzzers'
// medium and targets, and the tests that gain nothing from a real disk.
// Paths behave as on the POSIX backend: normalised as Win32 does, names
// matched without regard to ASCII letter case (the exact spelling first,
// else the byte-wise smallest), entries listed in NTFS order with "." and
// ".." first in every folder but a drive root. Attributes are kept as given;
// no name is hidden for its leading dot. Each change stamps the entry with
// a clock that starts at 2026-01-01 00:00:00 UTC and moves one second per
// change. Not for use from several threads at once.
class MemoryPlatform : public Platform, public CopyFaultHook {
 public:
  struct DriveInfo {
    char letter;
    uint32_t type;  // kDriveFixed, kDriveCdRom, ...
  };

  // The program's path names where it runs from ("D:\SETUP.EXE"); the
  // current directory starts as its folder when that lies on a drive, else
  // as "C:\". Each drive starts empty with 1 TiB free in units of 4096.
  explicit MemoryPlatform(std::string programFileName,
                          std::vector<DriveInfo> drives = {{'C', kDriveFixed}, {'D', kDriveCdRom}});
  ~MemoryPlatform() override;

  // Setting up a tree. Each creates the missing folders above the entry and
  // returns false when the path lies on no drive, or a file, device or link
  // stands where a folder must go.
  //
  // Names are taken as spelt: "A.TXT" beside "a.txt" is a second entry.
  //
  // Adds a file, or replaces the file of that name, with the given content
  // and attribute word (read-only, hidden, system, archive and the like;
  // structural bits are ignored).
  bool AddFile(const std::string& path, const std::string& content, uint32_t attributes = kAttrArchive);
  // Adds a folder (true when one is there already). attributes adds bits
  // such as hidden to the directory bit.
  bool AddFolder(const std::string& path, uint32_t attributes = 0);
  // Adds a device entry (a FIFO, say): listed with kAttrDevice, never read
  // or copied.
  bool AddDevice(const std::string& path);
  // Adds a link to target, a DOS path taken relative to the link's folder
  // when it is not a full path (".." is the folder above). The target need
  // not exist.
  bool AddLink(const std::string& path, const std::string& target);
  // Adds a drive, or changes the type of one.
  void AddDrive(char letter, uint32_t type);
  // The bytes still free on a drive from now on, and its allocation unit.
  // Every file takes its size rounded up to whole units.
  void SetFreeSpace(char letter, uint64_t bytes, uint64_t unit);
  // Listing the folder delivers at most `entries` entries and then fails,
  // as on a read error (0: as without permission); -1 lists it normally
  // again. False when no folder is there.
  bool FailListing(const std::string& path, int entries = 0);

  // Reading the tree back.
  //
  // True when an entry of that name exists (a link counts itself).
  bool Exists(const std::string& path) const;
  // Content of the file the path names, links followed; empty when there
  // is no such file.
  std::string Content(const std::string& path) const;
  // Calls of FlushVolume so far that named a drive.
  int FlushCount() const { return m_flushes; }
  // The real paths of the entries changed since the last ClearChanges, in
  // order: made, replaced, written, removed, renamed (both names), their
  // attributes or times set. Setting up a tree counts too.
  const std::vector<std::string>& Changes() const { return m_changes; }
  void ClearChanges() { m_changes.clear(); }

  std::string ProgramFileName() override { return m_programFileName; }
  std::string FullPath(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string* contents) override;
  ProbeHandle ProbeCreate(const std::string& path) override;
  void ProbeClose(ProbeHandle handle) override;
  bool RemoveFile(const std::string& path) override;
  bool MakeDirectories(const std::string& path) override;
  bool ChangeDirectory(const std::string& path) override;
  std::string CurrentDirectory() override { return m_currentDir; }
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
  FileTime ToLocalFileTime(FileTime utc) override { return utc; }
  uint32_t LogicalDriveStrings(uint32_t bufferLength, char* buffer) override;
  uint32_t DriveTypeOf(const std::string& root) override;
  // Names are taken literally, without wildcards. A copy or move takes one
  // source and one target; a copy into an existing folder keeps the file's
  // name, and the missing folders of a target are made. A delete removes
  // each name given, a folder with everything in it.
  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) override;
  // Shows the data to check in pieces of 64 KiB.
  int CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) override;
  bool FileSizeOf(const std::string& path, uint64_t* size) override;
  bool FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) override;
  bool SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) override;
  std::string ShellTypeName(const std::string& path) override;
  LocaleDateData LocaleDates() override;
  bool SetThreadPriority(std::thread& thread, int priority) override;

  // CopyFaultHook.
  void SetCopyWriteLimit(int64_t limit) override { m_writeLimit = limit; }

 private:
  struct Node;
  struct NtfsLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Children = std::map<std::string, std::shared_ptr<Node>, NtfsLess>;
  struct Drive {
    uint32_t type = kDriveFixed;
    std::shared_ptr<Node> root;
    uint64_t capacity = 0;
    uint64_t used = 0;
    uint64_t unit = 4096;
  };
  // Where a path leads.
  struct Walk {
    bool valid = false;      // on a drive, no link loop
    char drive = 0;          // the drive of the real place
    Node* parent = nullptr;  // the folder that holds, or would hold, the entry;
                             // nullptr when one on the way is missing
    Node* node = nullptr;    // the entry; nullptr when missing
    std::string name;        // the entry's name as spelt there, else as written
    std::string real;        // the real path: links resolved, the rest as written
  };

  Walk WalkPath(const std::string& path, bool followLast) const;
  Walk WalkFull(std::string full, bool followLast) const;
  // The entry of folder named name: the one spelt so, else one equal but
  // for case; end() when there is none.
  static Children::iterator FindChild(Node* folder, std::string_view name);
  Drive* DriveOf(char letter);
  // The attribute word, size and times an entry is listed with, links followed.
  FindData Describe(const Node& node, const std::string& name) const;
  // The entry a link leads to (nullptr when none); any other entry itself.
  Node* Target(Node* node) const;
  FileTime Tick();
  // Makes every missing folder of a full path; the folder, or nullptr.
  Node* MakeFolders(const std::string& path);
  // Puts a new entry into the folder the path names the parent of,
  // replacing a file, device or link there (with exactName only one of
  // that very spelling); nullptr when it cannot.
  Node* Place(const std::string& path, std::shared_ptr<Node> entry, bool exactName);
  // Space: what size bytes take on a drive, what is free, and the bytes a
  // subtree holds.
  uint64_t Allocated(const Drive& drive, uint64_t size) const;
  uint64_t Free(const Drive& drive) const;
  uint64_t Held(const Drive& drive, const Node& node) const;
  int CopyOne(const std::string& source, const std::string& target, CopyCheck* check = nullptr);
  int DeleteEntry(const std::string& path);

  std::map<char, Drive> m_drives;
  std::string m_programFileName;
  std::string m_currentDir = "C:\\";
  int64_t m_writeLimit = -1;
  uint64_t m_clock;
  int m_flushes = 0;
  intptr_t m_nextHandle = 1;
  struct Appending {
    std::shared_ptr<Node> file;
    char drive;
    std::string path;  // the real path it was opened at
  };
  std::map<AppendHandle, Appending> m_appends;
  std::vector<std::string> m_changes;
};

}  // namespace platform
