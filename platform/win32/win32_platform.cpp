// The one file of the core that includes <windows.h>. Every call is the
// wide-character one: paths and texts are UTF-8 on the core's side and
// UTF-16 here (Wide, Utf8), and a path too long for the plain form of a
// call takes the long-path form (ApiPath).
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <pthread.h>
#include <shellapi.h>
#include <shlobj.h>

// <windows.h> maps the name onto RemoveDirectoryW; the interface's own
// RemoveDirectory is meant below.
#undef RemoveDirectory

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/copy_fault_hook.h"
#include "platform/dos/namelist.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

FileTime FromFILETIME(const FILETIME& ft) {
  return FileTime{(static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime};
}

FILETIME ToFILETIME(FileTime t) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t.ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(t.ticks >> 32);
  return ft;
}

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE h) : m_h(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) CloseHandle(m_h);
  }
  bool valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
  HANDLE get() const { return m_h; }

 private:
  HANDLE m_h;
};

// A wide call that fills a buffer and returns the characters written, or
// the size needed (with the final zero) when the buffer is too small, or 0.
template <typename Call>
std::wstring WideResult(Call call) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD n = call(&buffer[0], static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return buffer.substr(0, n);
    buffer.assign(n + 1, L'\0');
  }
  return std::wstring();
}

bool StartsWith(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

// The full form of a path as the system expands it (current directory, "."
// and "..", trailing dots and blanks of the last name); empty on failure.
std::wstring FullPathOf(const std::wstring& path) {
  return WideResult(
      [&path](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
}

// From this length on (in UTF-16 units) a path takes the long-path form.
// The plain form of the file calls ends at 259 characters, that of
// CreateDirectory at 247 (room for an 8.3 name), so the limit is the lower.
constexpr size_t kLongPathFrom = 248;

// A path as the wide file calls take it: UTF-16; from kLongPathFrom on, the
// absolute, normalised path with the long-path prefix ("\\?\C:\...",
// "\\?\UNC\server\share\..."), which the system passes on unchanged.
// Shorter paths keep their plain form, so the system normalises them as
// before; a path already in a prefixed form is left as it is.
std::wstring ApiPath(const std::string& path) {
  std::wstring wide = Wide(path);
  if (wide.size() < kLongPathFrom || StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\")) {
    return wide;
  }
  const std::wstring full = FullPathOf(wide);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
  if (StartsWith(full, L"\\\\") && !StartsWith(full, L"\\\\?\\") && !StartsWith(full, L"\\\\.\\")) {
    return L"\\\\?\\UNC\\" + full.substr(2);
  }
  return full.empty() ? wide : full;
}

// A path the system gave in the long-path form, in its plain form
// ("\\?\UNC\srv\share" becomes "\\srv\share").
std::wstring WithoutLongPrefix(const std::wstring& path) {
  if (StartsWith(path, L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (StartsWith(path, L"\\\\?\\") && path.size() >= 6 && path[5] == L':') return path.substr(4);
  return path;
}

// Opens a file for reading without sharing, as the file properties do.
HANDLE OpenExclusive(const std::string& path, DWORD access) {
  return CreateFileW(ApiPath(path).c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(ApiPath(path).c_str()); }

// The Win32 error of the call that just failed, never 0.
int LastError() {
  const DWORD error = GetLastError();
  return error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE;
}

// The folder that holds path ("C:\a" -> "C:\", "\\srv\share\a" ->
// "\\srv\share"); empty for a root.
std::string ParentOf(const std::string& path) {
  const size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos) return std::string();
  if (path.size() >= 2 && path[1] == ':') {
    if (path.size() <= 3) return std::string();
    return cut <= 2 ? path.substr(0, 3) : path.substr(0, cut);
  }
  if (path.compare(0, 2, "\\\\") == 0) {
    const size_t server = path.find('\\', 2);
    const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    if (share == std::string::npos) return std::string();
  }
  return path.substr(0, cut);
}

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// Legacy device names (NUL, CON, COM1, with an extension or a folder in front
// too) expand to "\\.\NAME"; such a path is never opened as a file.
bool IsDevicePath(const std::string& path) { return StartsWith(FullPathOf(Wide(path)), L"\\\\.\\"); }

// True when the handle is an opened regular file: not a directory, a device,
// a pipe or a console; then its attributes and times, and its size.
// GetFileInformationByHandle would say the same and also read the volume's
// serial number, which costs Wine a call to its mount manager, about 0.8 ms
// a file; the two classes asked for here cost a small part of that.
bool RegularFileInfo(HANDLE file, FILE_BASIC_INFO* basic = nullptr, uint64_t* size = nullptr) {
  FILE_BASIC_INFO b;
  FILE_STANDARD_INFO standard;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandleEx(file, FileBasicInfo, &b, sizeof(b)) ||
      !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof(standard)) || standard.Directory ||
      (b.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
    return false;
  }
  if (basic) *basic = b;
  if (size) *size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
  return true;
}

// Moves from onto to, replacing an existing file at to. Windows refuses to
// replace a read-only file: when the move is refused and to is read-only,
// its read-only bit is cleared, the move tried again, and the bit set again
// should that fail too. (Asking for the attributes first cost every copy a
// look-up of its target's name, which Wine makes by reading the folder.)
// Returns 0 or the Win32 error.
int MoveReplacing(const std::wstring& from, const std::wstring& to) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (MoveFileExW(from.c_str(), to.c_str(), flags)) return 0;
  const int refused = LastError();
  const DWORD old = GetFileAttributesW(to.c_str());
  if (refused != ERROR_ACCESS_DENIED || old == INVALID_FILE_ATTRIBUTES || (old & FILE_ATTRIBUTE_DIRECTORY) ||
      !(old & FILE_ATTRIBUTE_READONLY)) {
    return refused;
  }
  const DWORD cleared = old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  if (!SetFileAttributesW(to.c_str(), cleared ? cleared : FILE_ATTRIBUTE_NORMAL)) return LastError();
  if (MoveFileExW(from.c_str(), to.c_str(), flags)) return 0;
  const int error = LastError();
  SetFileAttributesW(to.c_str(), old);
  return error;
}

// The temporary file a copy writes: removed, read-only or not, unless it was
// released after taking the target's place.
class TempFile {
 public:
  TempFile(HANDLE h, std::wstring path) : m_h(h), m_path(std::move(path)) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    Close();
    if (m_path.empty()) return;
    SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(m_path.c_str());
  }
  HANDLE get() const { return m_h; }
  const std::wstring& path() const { return m_path; }
  bool Close() {
    const HANDLE h = m_h;
    m_h = INVALID_HANDLE_VALUE;
    return h == INVALID_HANDLE_VALUE || CloseHandle(h);
  }
  void Release() { m_path.clear(); }

 private:
  HANDLE m_h;
  std::wstring m_path;
};

std::string LocaleString(LCTYPE type, const char* fallback) {
  wchar_t buffer[128];
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
  return n > 1 ? Utf8(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string(fallback);
}

// Turns a locale picture ("dddd, MMMM d, yyyy", "h:mm:ss tt") into the
// toolkit's notation ("dddd, mmmm d, yyyy", "h:nn:ss AMPM").
std::string ToolkitPattern(const std::string& picture, bool time) {
  std::string out;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (c == '\'') {
      const size_t end = picture.find('\'', i + 1);
      out += '"' + picture.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1) + '"';
      if (end == std::string::npos) break;
      i = end;
    } else if (c == 'M') {
      out += 'm';
    } else if (time && c == 'm') {
      out += 'n';
    } else if (c == 't') {
      size_t n = 1;
      while (i + n < picture.size() && picture[i + n] == 't') ++n;
      out += "AMPM";
      i += n - 1;
    } else if (c == 'H') {
      out += 'h';
    } else {
      out += c;
    }
  }
  return out;
}

// Flushes one copy by its name. One that is gone or moved since (set aside
// by a later copy, removed by a rollback) is no longer a file of the install
// and is passed over; one made read-only since is opened with the bit
// cleared for that moment.
bool FlushCopy(const std::wstring& path) {
  const auto open = [&path] {
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  };
  HANDLE raw = open();
  DWORD error = raw == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  const DWORD attributes = error == ERROR_ACCESS_DENIED ? GetFileAttributesW(path.c_str()) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (SetFileAttributesW(path.c_str(), cleared ? cleared : FILE_ATTRIBUTE_NORMAL)) {
      raw = open();
      error = raw == INVALID_HANDLE_VALUE ? GetLastError() : 0;
      SetFileAttributesW(path.c_str(), attributes);
    }
  }
  const Handle h(raw);
  if (!h.valid()) return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  return FlushFileBuffers(h.get()) != 0;
}

class Win32Platform : public Platform, public CopyFaultHook {
 public:
  Win32Platform() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

  std::string ProgramFileName() override {
    // Copied out whole however long (a buffer too small is cut, not refused).
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
      if (n == 0) return std::string();
      if (n < buffer.size() || buffer.size() >= 32768) return Utf8(WithoutLongPrefix(buffer.substr(0, n)));
      buffer.assign(buffer.size() * 2, L'\0');
    }
  }

  std::string FullPath(const std::string& path) override {
    if (path.empty() || path.find('\0') != std::string::npos) return std::string();
    std::string full = Utf8(FullPathOf(Wide(path)));
    if (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
  }

  bool IsFile(const std::string& path) override {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool IsDirectory(const std::string& path) override {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool ReadWholeFile(const std::string& path, std::string* contents) override {
    // A device is never opened: opening one may block or read forever.
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) ||
        IsDevicePath(path)) {
      return false;
    }
    Handle file(CreateFileW(ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !RegularFileInfo(file.get())) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return false;
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < data.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
      if (!::ReadFile(file.get(), &data[done], want, &got, nullptr)) return false;
      if (got == 0) break;  // the file became shorter: what is there now
      done += got;
    }
    data.resize(done);
    *contents = std::move(data);
    return true;
  }

  ProbeHandle ProbeCreate(const std::string& path) override {
    // CREATE_NEW: a file of the probe's name is never truncated or reused.
    // FILE_FLAG_OPEN_REPARSE_POINT: a link of the probe's name is not followed.
    const HANDLE h = CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return h == INVALID_HANDLE_VALUE ? kNoProbe : reinterpret_cast<ProbeHandle>(h);
  }

  void ProbeClose(ProbeHandle handle) override {
    if (handle != kNoProbe) CloseHandle(reinterpret_cast<HANDLE>(handle));
  }

  bool RemoveFile(const std::string& path) override { return DeleteFileW(ApiPath(path).c_str()) != 0; }

  bool MakeDirectories(const std::string& path) override {
    const std::string full = FullPath(path);
    if (full.empty()) return false;
    if (IsDirectory(full)) return true;
    const size_t cut = full.find_last_of('\\');
    if (cut != std::string::npos && cut > 2 && !MakeDirectories(full.substr(0, cut))) return false;
    if (cut != std::string::npos && cut == 2 && !IsDirectory(full.substr(0, 3))) return false;
    return CreateDirectoryW(ApiPath(full).c_str(), nullptr) || IsDirectory(full);
  }

  // The current directory keeps the plain form: the system takes no
  // long-path form there.
  bool ChangeDirectory(const std::string& path) override { return SetCurrentDirectoryW(Wide(path).c_str()) != 0; }

  std::string CurrentDirectory() override {
    return Utf8(WideResult([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
  }

  uint32_t FileAttributes(const std::string& path) override { return AttributesOf(path); }

  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    // A word that is there already is not written again: under Wine a set
    // costs a sixth of a small file's copy, a look a twentieth of that.
    const std::wstring api = ApiPath(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && GetFileAttributesW(api.c_str()) == attributes) return true;
    return SetFileAttributesW(api.c_str(), attributes) != 0;
  }

  FindResult Enumerate(const std::string& pattern, const FindCallback& visit, FindDetail) override {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(ApiPath(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES
                 ? FindResult::kNoMatch
                 : FindResult::kFailed;
    }
    FindData entry;
    FindResult result = FindResult::kFound;
    for (;;) {
      entry.name = Utf8(data.cFileName);
      // The word as Windows reports it, FILE_ATTRIBUTE_DEVICE (kAttrDevice) included.
      entry.attributes = data.dwFileAttributes;
      entry.size = data.nFileSizeLow;
      entry.fullSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) entry.size = 0, entry.fullSize = 0;
      entry.creation = FromFILETIME(data.ftCreationTime);
      entry.lastAccess = FromFILETIME(data.ftLastAccessTime);
      entry.lastWrite = FromFILETIME(data.ftLastWriteTime);
      if (!visit(entry)) break;
      if (!FindNextFileW(find, &data)) {
        // Anything but the end of the listing means entries were lost.
        if (GetLastError() != ERROR_NO_MORE_FILES) result = FindResult::kFailed;
        break;
      }
    }
    FindClose(find);
    return result;
  }

  std::string RealPath(const std::string& path) override {
    const std::string full = FullPath(path);
    if (full.empty()) return std::string();
    // The longest existing prefix is resolved; the rest follows as written.
    std::string existing = full;
    std::string rest;
    for (;;) {
      Handle h(CreateFileW(ApiPath(existing).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      if (h.valid()) {
        const std::string resolved = ResolvedName(h.get(), existing);
        if (resolved.empty()) return std::string();
        return rest.empty() ? resolved : Join(resolved, rest);
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return std::string();
      const std::string parent = ParentOf(existing);
      if (parent.empty()) return std::string();
      const std::string name = existing.substr(parent.size() + (parent.back() == '\\' ? 0 : 1));
      rest = rest.empty() ? name : name + "\\" + rest;
      existing = parent;
    }
  }

  bool MoveEntry(const std::string& from, const std::string& to, bool replace) override {
    if (replace) return MoveReplacing(ApiPath(from), ApiPath(to)) == 0;
    return MoveFileExW(ApiPath(from).c_str(), ApiPath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  }

  bool RemoveDirectory(const std::string& path) override { return RemoveDirectoryW(ApiPath(path).c_str()) != 0; }

  bool DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* allocationUnit) override {
    std::string folder = FullPath(path);
    for (;;) {
      if (folder.empty()) return false;
      const DWORD attributes = AttributesOf(folder);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
      folder = ParentOf(folder);
    }
    ULARGE_INTEGER available, total, totalFree;
    if (!GetDiskFreeSpaceExW(ApiPath(Join(folder, "")).c_str(), &available, &total, &totalFree)) return false;
    const std::wstring root = VolumeRootOf(folder);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (root.empty() ||
        !GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
      return false;
    }
    if (freeForUser) *freeForUser = available.QuadPart;
    if (allocationUnit) *allocationUnit = static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector;
    return true;
  }

  // Flushing a whole volume would need administrator rights, so the copies
  // that took a new name unflushed are flushed here one by one (all of them,
  // whatever their volume); a copy that replaced a file was flushed before it
  // did, renames are written through (MOVEFILE_WRITE_THROUGH) and the journal
  // is flushed on every durable append. False when the volume is not there
  // or a copy cannot be flushed.
  bool FlushVolume(const std::string& path) override {
    const std::string full = FullPath(path);
    const std::wstring root = full.empty() ? std::wstring() : VolumeRootOf(full);
    if (root.empty()) return false;
    const DWORD attributes = GetFileAttributesW(root.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return FlushNewCopies();
  }

  std::string StateDirectory() override { return ProgramFolderIn(CSIDL_LOCAL_APPDATA); }

  // The settings roam with the user: the application-data folder.
  std::string SettingsDirectory() override { return ProgramFolderIn(CSIDL_APPDATA); }

  // "Sirel Setup" in one of the user's shell folders, made when missing.
  std::string ProgramFolderIn(int csidl) {
    wchar_t base[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base))) {
      return std::string();
    }
    const std::string folder = Join(Utf8(base), "Sirel Setup");
    if (!CreateDirectoryW(ApiPath(folder).c_str(), nullptr) && !IsDirectory(folder)) return std::string();
    return folder;
  }

  AppendHandle OpenAppend(const std::string& path) override {
    // FILE_APPEND_DATA alone: every write lands at the end, whoever else
    // appends. FILE_FLAG_OPEN_REPARSE_POINT: a link of that name is not followed.
    const HANDLE h = CreateFileW(ApiPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return kNoAppend;
    // A new file's folder entry is part of its metadata, which the flush
    // puts on stable storage with it.
    if (GetLastError() != ERROR_ALREADY_EXISTS) FlushFileBuffers(h);
    return reinterpret_cast<AppendHandle>(h);
  }

  bool Append(AppendHandle handle, const std::string& text, bool durable) override {
    if (handle == kNoAppend) return false;
    const HANDLE h = reinterpret_cast<HANDLE>(handle);
    for (size_t done = 0; done < text.size();) {
      DWORD wrote = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 30));
      if (!WriteFile(h, text.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
      done += wrote;
    }
    return !durable || FlushFileBuffers(h);
  }

  void CloseAppend(AppendHandle handle) override {
    if (handle != kNoAppend) CloseHandle(reinterpret_cast<HANDLE>(handle));
  }

  FileTime ToLocalFileTime(FileTime utc) override {
    const FILETIME in = ToFILETIME(utc);
    FILETIME out;
    if (!FileTimeToLocalFileTime(&in, &out)) return utc;
    return FromFILETIME(out);
  }

  // Drive roots are ASCII ("C:\\"); the wide list is copied character by
  // character into the caller's buffer.
  uint32_t LogicalDriveStrings(uint32_t bufferLength, char* buffer) override {
    std::wstring wide(bufferLength, L'\0');
    const DWORD n = GetLogicalDriveStringsW(bufferLength, bufferLength ? &wide[0] : nullptr);
    if (n == 0 || n >= bufferLength) return n;
    for (DWORD i = 0; i <= n; ++i) buffer[i] = wide[i] < 0x80 ? static_cast<char>(wide[i]) : '?';
    return n;
  }

  uint32_t DriveTypeOf(const std::string& root) override { return GetDriveTypeW(Wide(root).c_str()); }

  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) override {
    // The copy of one file to one target is done here, atomically; the shell
    // would write into the target itself, and a failure part-way would leave
    // it cut or gone. Folders, wildcards, several names and renaming on a
    // collision stay with the shell.
    if (func == kFoCopy && !(flags & kFofRenameOnCollision)) {
      const std::vector<std::string> sources = dos::SplitNameList(from);
      const std::vector<std::string> targets = dos::SplitNameList(to);
      if (sources.size() == 1 && targets.size() == 1 && !HasWildcard(sources[0])) {
        const std::string source = FullPath(sources[0]);
        const std::string target = FullPath(targets[0]);
        if (source.empty() || target.empty()) return ERROR_INVALID_NAME;
        const DWORD attributes = AttributesOf(source);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
          return CopyOneFile(source, target, nullptr, &attributes);
        }
      }
    }
    // The lists must end with two zero characters. The shell takes no
    // long-path form: its names stay plain.
    const std::wstring source = NameList(from);
    const std::wstring target = NameList(to);
    SHFILEOPSTRUCTW op;
    std::memset(&op, 0, sizeof(op));
    op.hwnd = nullptr;
    op.wFunc = func;
    op.pFrom = source.c_str();
    op.pTo = func == kFoDelete ? source.c_str() : target.c_str();
    op.fFlags = static_cast<FILEOP_FLAGS>(flags);
    op.lpszProgressTitle = L"";
    return SHFileOperationW(&op);
  }

  int CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) override {
    const std::string from = FullPath(source);
    const std::string to = FullPath(target);
    if (from.empty() || to.empty()) return ERROR_INVALID_NAME;
    // A folder as source is refused there (ERROR_BAD_FILE_TYPE).
    return CopyOneFile(from, to, &check);
  }

  bool FileSizeOf(const std::string& path, uint64_t* size) override {
    Handle file(OpenExclusive(path, GENERIC_READ));
    LARGE_INTEGER s;
    if (!file.valid() || !GetFileSizeEx(file.get(), &s)) return false;
    *size = static_cast<uint64_t>(s.QuadPart);
    return true;
  }

  bool FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) override {
    Handle file(OpenExclusive(path, GENERIC_READ));
    FILETIME c, a, w;
    if (!file.valid() || !GetFileTime(file.get(), &c, &a, &w)) return false;
    if (creation) *creation = FromFILETIME(c);
    if (lastAccess) *lastAccess = FromFILETIME(a);
    if (lastWrite) *lastWrite = FromFILETIME(w);
    return true;
  }

  bool SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) override {
    Handle file(OpenExclusive(path, GENERIC_READ | GENERIC_WRITE));
    if (!file.valid()) return false;
    const FILETIME t = ToFILETIME(utc);
    return SetFileTime(file.get(), which == Stamp::kCreation ? &t : nullptr, which == Stamp::kLastAccess ? &t : nullptr,
                       which == Stamp::kLastWrite ? &t : nullptr) != 0;
  }

  std::string ShellTypeName(const std::string& path) override {
    SHFILEINFOW info;
    std::memset(&info, 0, sizeof(info));
    if (!SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME)) return std::string();
    return Utf8(info.szTypeName);
  }

  LocaleDateData LocaleDates() override {
    LocaleDateData d;
    for (int i = 0; i < 7; ++i) {
      // LOCALE_SDAYNAME1 is Monday; the table starts with Sunday.
      const int windowsDay = (i + 6) % 7;
      d.longDayNames[i] = LocaleString(LOCALE_SDAYNAME1 + windowsDay, "");
      d.shortDayNames[i] = LocaleString(LOCALE_SABBREVDAYNAME1 + windowsDay, "");
    }
    for (int i = 0; i < 12; ++i) {
      d.longMonthNames[i] = LocaleString(LOCALE_SMONTHNAME1 + i, "");
      d.shortMonthNames[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, "");
    }
    d.dateSeparator = LocaleString(LOCALE_SDATE, "/");
    d.timeSeparator = LocaleString(LOCALE_STIME, ":");
    d.shortDateFormat = ToolkitPattern(LocaleString(LOCALE_SSHORTDATE, "M/d/yyyy"), false);
    d.longDateFormat = ToolkitPattern(LocaleString(LOCALE_SLONGDATE, "MMMM d, yyyy"), false);
    d.longTimeFormat = ToolkitPattern(LocaleString(LOCALE_STIMEFORMAT, "h:mm:ss tt"), true);
    d.shortTimeFormat = d.longTimeFormat;
    d.timeAMString = LocaleString(LOCALE_S1159, "AM");
    d.timePMString = LocaleString(LOCALE_S2359, "PM");
    wchar_t era[64];
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (GetDateFormatW(LOCALE_USER_DEFAULT, 0, &now, L"gg", era, 64) > 1) d.eraName = Utf8(era);
    return d;
  }

  bool SetThreadPriority(std::thread& thread, int priority) override {
    static const int kPriorities[] = {
        THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
        THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL};
    if (!thread.joinable() || priority < 0 || priority > 6) return false;
    const HANDLE h = pthread_gethandle(thread.native_handle());
    return h && ::SetThreadPriority(h, kPriorities[priority]) != 0;
  }

  // CopyFaultHook, for tests.
  void SetCopyWriteLimit(int64_t limit) override { m_writeLimit = limit < 0 ? -1 : limit; }

  std::string ErrorText(int code) override {
    wchar_t buffer[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buffer, 512, nullptr);
    while (n > 0 && (buffer[n - 1] == L'\n' || buffer[n - 1] == L'\r' || buffer[n - 1] == L' ')) --n;
    return n > 0 ? Utf8(std::wstring_view(buffer, n)) : "error " + std::to_string(code);
  }

 private:
  // The resolved name of an opened file or folder, without the "\\?\" the
  // system puts in front ("\\?\UNC\srv\share" becomes "\\srv\share").
  static std::string FinalPathOf(HANDLE h) {
    const std::wstring name = WideResult([h](wchar_t* buffer, DWORD size) {
      return GetFinalPathNameByHandleW(h, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
    return Utf8(WithoutLongPrefix(name));
  }

  // The resolved name of an existing full path opened as h. Where the system
  // gives none (Wine gives none past MAX_PATH characters), the parent's
  // resolved name and the path's last name as its folder spells it, unless
  // that entry is a link, which only the system can resolve (empty then).
  std::string ResolvedName(HANDLE h, const std::string& full) {
    const std::string resolved = FinalPathOf(h);
    if (!resolved.empty()) return resolved;
    const std::string parent = ParentOf(full);
    if (parent.empty()) return std::string();
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(ApiPath(full).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return std::string();
    FindClose(find);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return std::string();
    const std::string resolvedParent = RealPath(parent);
    return resolvedParent.empty() ? std::string() : Join(resolvedParent, Utf8(entry.cFileName));
  }

  // The root of the volume that holds a full path ("C:\", "\\srv\share\"),
  // in its plain form; empty on failure.
  static std::wstring VolumeRootOf(const std::string& full) {
    const std::wstring path = ApiPath(full);
    const std::wstring root = WideResult([&path](wchar_t* buffer, DWORD size) {
      // Writes no more than size characters and says nothing of the size it
      // needs: a root that fills the buffer is taken as too long.
      if (!GetVolumePathNameW(path.c_str(), buffer, size)) return DWORD{0};
      const DWORD n = static_cast<DWORD>(std::wcslen(buffer));
      return n + 1 < size ? n : size + MAX_PATH;
    });
    return WithoutLongPrefix(root);
  }

  // A double-zero-terminated list of names for the shell, in UTF-16.
  static std::wstring NameList(const std::string& names) { return Wide(names) + std::wstring(2, L'\0'); }

  // Writes n bytes, honouring the test limit (beyond it the disk is "full").
  // Returns 0 or the Win32 error.
  int WriteCounted(HANDLE h, const char* data, DWORD n) {
    const int64_t limit = m_writeLimit;
    const DWORD allowed = limit >= 0 && limit < n ? static_cast<DWORD>(limit) : n;
    for (DWORD done = 0; done < allowed;) {
      DWORD wrote = 0;
      if (!WriteFile(h, data + done, allowed - done, &wrote, nullptr)) return LastError();
      if (wrote == 0) return ERROR_WRITE_FAULT;
      done += wrote;
    }
    if (limit >= 0) m_writeLimit = limit - allowed;
    return allowed == n ? 0 : ERROR_DISK_FULL;
  }

  // Copies one regular file to a full target path. The data goes to a new
  // temporary file beside the target, which gets the attributes and the
  // last-write time, and then takes the target's name in one rename (flushed
  // first when it replaces a file); the old target is untouched until that
  // rename. Returns 0 or the Win32 error.
  // With check, each piece read is shown to it, and the copy takes the
  // target's place only when it accepts. known: the source's attributes
  // where the caller has just read them (each look at a name costs under
  // Wine a search of its folder).
  int CopyOneFile(const std::string& source, std::string target, CopyCheck* check, const DWORD* known = nullptr) {
    // Devices are refused before they are opened: opening one may block.
    // A source found missing is looked at again, for the error that says why.
    const DWORD sourceAttributes = known && *known != INVALID_FILE_ATTRIBUTES ? *known : AttributesOf(source);
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if ((sourceAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) || IsDevicePath(source)) {
      return ERROR_BAD_FILE_TYPE;
    }
    // Sharing for reading only: nobody writes to the source while it is copied.
    Handle in(CreateFileW(ApiPath(source).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.valid()) return LastError();
    FILE_BASIC_INFO info;
    uint64_t size = 0;
    if (!RegularFileInfo(in.get(), &info, &size)) return ERROR_BAD_FILE_TYPE;

    // An existing folder as target receives the file under its own name.
    if (IsDirectory(target)) target = Join(target, source.substr(source.find_last_of('\\') + 1));
    const std::string folder = ParentOf(target);
    if (folder.empty()) return ERROR_INVALID_NAME;

    static std::atomic<unsigned> counter{0};
    HANDLE h = INVALID_HANDLE_VALUE;
    std::wstring tempPath;
    // The folder is made when the temporary file finds it missing, rather
    // than looked at before every copy.
    bool folderMade = false;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
      tempPath = ApiPath(Join(folder, std::string(kCopyTempPrefix) + std::to_string(GetCurrentProcessId()) + "-" +
                                          std::to_string(++counter)));
      h = CreateFileW(tempPath.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
      if (h != INVALID_HANDLE_VALUE) break;
      const DWORD error = GetLastError();
      if (error == ERROR_PATH_NOT_FOUND && !folderMade) {
        folderMade = true;
        if (!MakeDirectories(folder)) return ERROR_PATH_NOT_FOUND;
        continue;
      }
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return LastError();
    }
    if (h == INVALID_HANDLE_VALUE) return ERROR_FILE_EXISTS;
    TempFile out(h, tempPath);

    // Exactly the size read at the open is copied: a source that shrinks or
    // grows meanwhile fails the copy instead of installing a cut or mixed file.
    // The copy reads and writes itself (rather than CopyFileExW) so that the
    // size check covers the very handle that was checked and a check sees
    // every piece. It is also the faster under Wine: files of 600 bytes took
    // 3.4 ms each through this loop and 4.3 ms through CopyFileExW (both
    // without the flush below). 64 KiB chunks: a 512 MiB file copies under
    // Wine about four times as fast as with 1 MiB chunks.
    const size_t kBufferSize = size_t{64} << 10;
    const size_t bufferSize = static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(size + 1, 4096), kBufferSize));
    std::unique_ptr<char[]> buffer(new char[bufferSize]);
    uint64_t copied = 0;
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(in.get(), buffer.get(), static_cast<DWORD>(bufferSize), &got, nullptr)) {
        return LastError();
      }
      if (got == 0) break;
      copied += got;
      if (copied > size) return ERROR_FILE_INVALID;
      if (check) check->Piece(buffer.get(), got);
      if (const int error = WriteCounted(out.get(), buffer.get(), got)) return error;
    }
    if (copied != size) return ERROR_FILE_INVALID;
    if (check && !check->Accept()) return kErrorCopyRefused;

    // Attributes as Windows copies them (the source's, plus archive) and the
    // last-write time; zero fields are left as they are.
    FILE_BASIC_INFO basic;
    std::memset(&basic, 0, sizeof(basic));
    basic.LastWriteTime = info.LastWriteTime;
    basic.FileAttributes = (info.FileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE)) |
                           FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(out.get(), FileBasicInfo, &basic, sizeof(basic))) return LastError();
    const std::wstring to = ApiPath(target);
    // Where no file is yet, the copy takes the name at once (still open: it
    // shares deleting for that) and is flushed with the others when the
    // install ends (FlushVolume); a crash before then loses no old file. A
    // flush per file costs under Wine (an fsync) about half of a small
    // file's copy. A read-only copy (every file of a CD) goes the same way:
    // that flush clears the bit for its moment where it is still set.
    if (MoveFileExW(out.path().c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
      out.Release();
      RememberNewCopy(to);
      return out.Close() ? 0 : LastError();
    }
    // On stable storage before it replaces anything: without it, a crash
    // after the rename could leave the target renamed but its data unwritten.
    if (!FlushFileBuffers(out.get())) return LastError();
    if (!out.Close()) return LastError();
    if (const int error = MoveReplacing(out.path(), to)) return error;
    out.Release();
    return 0;
  }

  void RememberNewCopy(const std::wstring& path) {
    const std::lock_guard<std::mutex> lock(m_newCopiesMutex);
    m_newCopies.push_back(path);
  }

  // Flushes every copy that took a new name since the last call, from
  // several threads: each flush waits for the disk, and flushes waiting side
  // by side share the file system's commits (under Wine, ext4 commits its
  // journal once for all the fsyncs waiting on it).
  bool FlushNewCopies() {
    std::vector<std::wstring> copies;
    {
      const std::lock_guard<std::mutex> lock(m_newCopiesMutex);
      copies.swap(m_newCopies);
    }
    std::atomic<size_t> next{0};
    std::atomic<bool> flushed{true};
    const auto work = [&] {
      for (size_t i; (i = next++) < copies.size();) {
        if (!FlushCopy(copies[i])) flushed = false;
      }
    };
    constexpr size_t kFlushThreads = 8;
    std::vector<std::thread> helpers;
    for (size_t n = 1; n < kFlushThreads && n * 16 < copies.size(); ++n) {
      try {
        helpers.emplace_back(work);
      } catch (const std::system_error&) {
        break;  // fewer threads: the flushes are the same
      }
    }
    work();
    for (std::thread& t : helpers) t.join();
    return flushed;
  }

  // Bytes the copies may still write before they fail as on a full disk;
  // negative: no limit.
  std::atomic<int64_t> m_writeLimit{-1};
  // Copies that took a new name unflushed, for FlushVolume.
  std::mutex m_newCopiesMutex;
  std::vector<std::wstring> m_newCopies;
};

}  // namespace

std::unique_ptr<Platform> MakeWin32Platform() { return std::make_unique<Win32Platform>(); }

}  // namespace platform::win32

namespace platform::win32 {

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  if (!args) return out;
  for (int i = 1; i < count; ++i) out.push_back(Utf8(args[i]));
  LocalFree(args);
  return out;
}

}  // namespace platform::win32
