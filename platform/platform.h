#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// The one interface between the wizard's core and the operating system.
// Paths are Windows paths in UTF-8 ("C:\SIREL\a.mac"), and so is every text
// a call returns (names found, error texts, locale names); the POSIX backend
// maps them onto the host's file system, the Win32 backend hands them to the
// wide-character API in UTF-16. No operation throws or shows a dialog: every
// failure is reported through the result.
// <windows.h> makes RemoveDirectory a macro; the method below keeps its name.
#ifdef RemoveDirectory
#undef RemoveDirectory
#endif

namespace platform {

// Bits of the Windows file attribute word.
enum : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrVolume = 0x08,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  // Neither a regular file nor a directory (a FIFO, socket or device): never
  // opened as a file and never copied.
  kAttrDevice = 0x40,
  kAttrNormal = 0x80,
  kAttrTemporary = 0x100,
  kAttrReparsePoint = 0x400,
  kAttrCompressed = 0x800,
  kAttrOffline = 0x1000,
};
// The attribute word of a path that does not exist.
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// Windows drive types (GetDriveTypeA).
enum : uint32_t {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

// Shell file operations (SHFileOperationA wFunc) and their flags (fFlags).
enum ShellFunc : uint32_t { kFoMove = 1, kFoCopy = 2, kFoDelete = 3, kFoRename = 4 };
enum : uint32_t {
  kFofMultiDestFiles = 0x01,
  kFofSilent = 0x04,
  kFofRenameOnCollision = 0x08,
  kFofNoConfirmation = 0x10,
  kFofAllowUndo = 0x40,
  kFofFilesOnly = 0x80,
  kFofSimpleProgress = 0x100,
  kFofNoConfirmMkdir = 0x200,
  kFofNoErrorUi = 0x400,
};

// A point in time as Windows keeps it: 100-nanosecond ticks since
// 1601-01-01 00:00:00, in UTC or, after ToLocalFileTime, in local time.
struct FileTime {
  uint64_t ticks = 0;
  friend bool operator==(FileTime a, FileTime b) { return a.ticks == b.ticks; }
};

// One directory entry as the wildcard enumeration reports it.
struct FindData {
  std::string name;         // bare name, no directory
  uint32_t attributes = 0;  // attribute word
  uint32_t size = 0;        // low 32 bits of the size; 0 for directories
  uint64_t fullSize = 0;    // the whole size
  FileTime creation;
  FileTime lastAccess;
  FileTime lastWrite;
};

// How much of an entry an enumeration must deliver. kBasic asks only for the
// name and, for directories, the attribute word; a backend may then leave the
// attributes (but for the directory bit), size and times of other entries at
// cheap defaults.
enum class FindDetail { kFull, kBasic };

// Called for each entry in enumeration order; return false to stop.
using FindCallback = std::function<bool(const FindData&)>;

// The outcome of an enumeration: entries were reported, nothing matched (or
// the folder does not exist), or the folder could not be listed completely
// (no permission, a read error part-way).
enum class FindResult { kFound, kNoMatch, kFailed };

// Opaque handle of a file opened for appending; kNoAppend when opening failed.
using AppendHandle = intptr_t;
constexpr AppendHandle kNoAppend = -1;

// Name prefix of the temporary file a copy writes beside its target before it
// takes the target's place. A run that was killed may leave such files.
constexpr const char kCopyTempPrefix[] = ".setup-copy-";

// Opaque handle of a probe file; kNoProbe when creation failed.
using ProbeHandle = intptr_t;
constexpr ProbeHandle kNoProbe = -1;

// Sees the data of one copy as it is read (CheckedCopy): every piece in
// order, each valid only during the call; then, once the whole source is
// read and before the copy takes the target's place, Accept says whether it
// may. A refused copy fails with kErrorCopyRefused.
class CopyCheck {
 public:
  virtual void Piece(const char* data, size_t size) = 0;
  virtual bool Accept() = 0;

 protected:
  ~CopyCheck() = default;
};

// The error of a copy whose check refused the data (ERROR_CRC, "Data error").
constexpr int kErrorCopyRefused = 23;

// Which time stamp SetFileTimeOf changes.
enum class Stamp { kCreation, kLastAccess, kLastWrite };

// Date and time data of the user's locale, as the formatting routines use
// them (patterns in the toolkit's notation: "mmmm d, yyyy", "h:nn:ss AMPM").
struct LocaleDateData {
  std::string shortDayNames[7];  // Sunday first
  std::string longDayNames[7];
  std::string shortMonthNames[12];
  std::string longMonthNames[12];
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  std::string shortDateFormat;
  std::string longDateFormat;
  std::string shortTimeFormat;
  std::string longTimeFormat;
  std::string timeAMString;
  std::string timePMString;
  std::string eraName;    // empty where the locale has no eras
  int eraYearOffset = 0;  // year within the era = year - eraYearOffset
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Full path of the running program ("D:\SETUP.EXE").
  virtual std::string ProgramFileName() = 0;

  // Path expanded against the current directory and normalised
  // (GetFullPathNameA); empty when it cannot be expanded.
  virtual std::string FullPath(const std::string& path) = 0;
  // A path given on the command line as the system's user writes it, as a
  // path of this interface: on Linux an absolute host path ("/tmp/x.log")
  // becomes the drive path that names it; anything else is kept.
  virtual std::string CommandLinePath(const std::string& path) { return path; }

  // True when path names an existing file (a directory does not count).
  virtual bool IsFile(const std::string& path) = 0;
  // True when path names an existing directory.
  virtual bool IsDirectory(const std::string& path) = 0;

  // Reads the whole file into *contents. False when it cannot be opened or read.
  virtual bool ReadWholeFile(const std::string& path, std::string* contents) = 0;

  // The write probe: creates path exclusively for writing, without following a
  // symbolic link of that name; an existing file of that name is left alone
  // (kNoProbe). kNoProbe on failure.
  virtual ProbeHandle ProbeCreate(const std::string& path) = 0;
  virtual void ProbeClose(ProbeHandle handle) = 0;
  // Deletes a file (not a directory). False when it could not be deleted.
  virtual bool RemoveFile(const std::string& path) = 0;

  // Creates path and every missing parent. True when it exists afterwards.
  virtual bool MakeDirectories(const std::string& path) = 0;

  // The process's current directory, used to expand relative paths.
  virtual bool ChangeDirectory(const std::string& path) = 0;
  virtual std::string CurrentDirectory() = 0;

  // Attribute word of path; kInvalidAttributes when it does not exist.
  virtual uint32_t FileAttributes(const std::string& path) = 0;
  // Sets the attribute word (read-only, hidden, system, archive; kAttrNormal
  // alone clears them). False when the file system cannot keep it.
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;

  // Enumerates the entries of a directory that match a wildcard pattern
  // ("C:\src\*.*"), in the platform's order, calling visit for each.
  // kFailed when the directory exists but cannot be listed completely.
  virtual FindResult Enumerate(const std::string& pattern, const FindCallback& visit,
                               FindDetail detail = FindDetail::kFull) = 0;
  // Enumerate without the difference between no match and failure: false
  // when nothing matched or the directory cannot be read.
  bool FindEntries(const std::string& pattern, const FindCallback& visit, FindDetail detail = FindDetail::kFull) {
    return Enumerate(pattern, visit, detail) == FindResult::kFound;
  }

  // The full path with every symbolic link (junction, reparse point) of its
  // existing part resolved, the rest appended as written; the real place of
  // a file. Empty when it cannot be resolved or lies on no drive.
  virtual std::string RealPath(const std::string& path) = 0;

  // Renames a file or folder within one volume. With replace, an existing
  // file at to (a read-only one included) is replaced in one step; without,
  // an existing to fails the call. Attributes and times travel with it.
  virtual bool MoveEntry(const std::string& from, const std::string& to, bool replace) = 0;
  // Removes an empty folder. False when it is not empty or cannot be removed.
  virtual bool RemoveDirectory(const std::string& path) = 0;

  // Space on the volume that holds path (or its nearest existing parent):
  // the bytes this user may still write, and the allocation unit.
  virtual bool DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* allocationUnit) = 0;
  // Puts everything written to the volume that holds path, data and folder
  // entries, on stable storage. False when the system reports a failure.
  virtual bool FlushVolume(const std::string& path) = 0;

  // A folder of this user's own for the program's state (the journal of a
  // running install), created when missing; empty when there is none.
  virtual std::string StateDirectory() = 0;

  // A file written by appending (the journal): created when missing, without
  // following a link of that name; the new folder entry is made durable.
  // Fails while another process holds the file open for appending.
  virtual AppendHandle OpenAppend(const std::string& path) = 0;
  // Appends text in one write; with durable, the data is on stable storage
  // when it returns.
  virtual bool Append(AppendHandle handle, const std::string& text, bool durable) = 0;
  virtual void CloseAppend(AppendHandle handle) = 0;

  // A folder of this user's own for the program's settings (remembered
  // choices), created when missing; empty when there is none.
  virtual std::string SettingsDirectory() { return std::string(); }

  // The system's words for an error code that ShellOperation returned
  // ("No space left on device", "Access is denied.").
  virtual std::string ErrorText(int code) { return "error " + std::to_string(code); }

  // True when both files hold the same bytes (false when either cannot be
  // read). This form reads both whole; a backend may compare in pieces.
  virtual bool SameContent(const std::string& a, const std::string& b) {
    std::string x;
    std::string y;
    return ReadWholeFile(a, &x) && ReadWholeFile(b, &y) && x == y;
  }

  // Converts a UTC file time to local time (FileTimeToLocalFileTime).
  virtual FileTime ToLocalFileTime(FileTime utc) = 0;

  // The logical drive roots as GetLogicalDriveStringsA writes them into a
  // buffer of bufferLength characters: "C:\<0>D:\<0><0>". Returns the number
  // of characters written without the final zero, the size needed when the
  // buffer is too small, or 0 on failure.
  virtual uint32_t LogicalDriveStrings(uint32_t bufferLength, char* buffer) = 0;
  // Type of the drive whose root is given ("C:\").
  virtual uint32_t DriveTypeOf(const std::string& root) = 0;

  // The shell file operation on double-zero-terminated name lists (each name
  // ended by a zero character, the list by one more). No dialog is shown.
  // Returns 0 on success, else an error code. A copy of one file writes a
  // temporary file beside the target and puts it in the target's place in
  // one step; it fails, leaving the old target as it was, when the source
  // is not a regular file or delivers fewer or more bytes than it had when
  // it was opened.
  virtual int ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) = 0;

  // The copy of one regular file to a full target path, made as
  // ShellOperation makes the copy of a single file (a temporary file beside
  // the target, then one step into its place), with every byte read shown to
  // check. The data passes through memory; ShellOperation alone may move it
  // by the system's faster means. Returns 0, kErrorCopyRefused when check
  // refuses, or another error code; on failure the old target is as it was.
  virtual int CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) = 0;

  // Size of a file opened for reading without sharing. False when it cannot
  // be opened.
  virtual bool FileSizeOf(const std::string& path, uint64_t* size) = 0;
  // The three UTC time stamps of a file opened for reading without sharing.
  virtual bool FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) = 0;
  // Sets one UTC time stamp. False when the file cannot be opened or the
  // platform cannot keep that stamp.
  virtual bool SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) = 0;

  // The shell's type name of a file ("Text Document"); empty when it has none.
  virtual std::string ShellTypeName(const std::string& path) = 0;

  // Date and time data of the user's locale.
  virtual LocaleDateData LocaleDates() = 0;

  // Gives a thread one of the seven priorities of the toolkit's threads, from
  // 0 (idle) to 6 (time critical). False when the system refuses it.
  virtual bool SetThreadPriority(std::thread& thread, int priority) = 0;
};

}  // namespace platform
