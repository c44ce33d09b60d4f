// The one file of the core that includes <windows.h>.
#include "platform/win32/win32_platform.h"

#include <windows.h>
#include <pthread.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "stools/stools.h"

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

// Opens a file for reading without sharing, as the file properties do.
HANDLE OpenExclusive(const std::string& path, DWORD access) {
  return CreateFileA(path.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string LocaleString(LCTYPE type, const char* fallback) {
  char buffer[128];
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer));
  return n > 1 ? std::string(buffer, static_cast<size_t>(n - 1)) : std::string(fallback);
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

class Win32Platform : public Platform {
 public:
  Win32Platform() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

  std::string ProgramFileName() override {
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, n);
  }

  std::string FullPath(const std::string& path) override {
    if (path.empty() || path.find('\0') != std::string::npos) return std::string();
    char buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
    if (n == 0 || n >= sizeof(buffer)) return std::string();
    std::string full(buffer, n);
    if (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
  }

  bool IsFile(const std::string& path) override {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool IsDirectory(const std::string& path) override {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool ReadWholeFile(const std::string& path, std::string* contents) override {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return false;
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < data.size()) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
      if (!::ReadFile(file.get(), &data[done], want, &got, nullptr) || got == 0) break;
      done += got;
    }
    data.resize(done);
    *contents = std::move(data);
    return true;
  }

  ProbeHandle ProbeCreate(const std::string& path) override {
    // FILE_FLAG_OPEN_REPARSE_POINT: a link of the probe's name is not followed.
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return h == INVALID_HANDLE_VALUE ? kNoProbe : reinterpret_cast<ProbeHandle>(h);
  }

  void ProbeClose(ProbeHandle handle) override {
    if (handle != kNoProbe) CloseHandle(reinterpret_cast<HANDLE>(handle));
  }

  bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  bool MakeDirectories(const std::string& path) override {
    const std::string full = FullPath(path);
    if (full.empty()) return false;
    if (IsDirectory(full)) return true;
    const size_t cut = full.find_last_of('\\');
    if (cut != std::string::npos && cut > 2 && !MakeDirectories(full.substr(0, cut))) return false;
    if (cut != std::string::npos && cut == 2 && !IsDirectory(full.substr(0, 3))) return false;
    return CreateDirectoryA(full.c_str(), nullptr) || IsDirectory(full);
  }

  bool ChangeDirectory(const std::string& path) override { return SetCurrentDirectoryA(path.c_str()) != 0; }

  std::string CurrentDirectory() override {
    char buffer[MAX_PATH * 4];
    const DWORD n = GetCurrentDirectoryA(sizeof(buffer), buffer);
    return n > 0 && n < sizeof(buffer) ? std::string(buffer, n) : std::string();
  }

  uint32_t FileAttributes(const std::string& path) override { return GetFileAttributesA(path.c_str()); }

  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return SetFileAttributesA(path.c_str(), attributes) != 0;
  }

  bool FindEntries(const std::string& pattern, const FindCallback& visit, FindDetail) override {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindData entry;
    do {
      entry.name = data.cFileName;
      entry.attributes = data.dwFileAttributes;
      entry.size = data.nFileSizeLow;
      entry.fullSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) entry.size = 0, entry.fullSize = 0;
      entry.creation = FromFILETIME(data.ftCreationTime);
      entry.lastAccess = FromFILETIME(data.ftLastAccessTime);
      entry.lastWrite = FromFILETIME(data.ftLastWriteTime);
      if (!visit(entry)) break;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
  }

  FileTime ToLocalFileTime(FileTime utc) override {
    const FILETIME in = ToFILETIME(utc);
    FILETIME out;
    if (!FileTimeToLocalFileTime(&in, &out)) return utc;
    return FromFILETIME(out);
  }

  uint32_t LogicalDriveStrings(uint32_t bufferLength, char* buffer) override {
    return GetLogicalDriveStringsA(bufferLength, buffer);
  }

  uint32_t DriveTypeOf(const std::string& root) override { return GetDriveTypeA(root.c_str()); }

  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to,
                     uint32_t flags) override {
    // The lists must end with two zero characters.
    std::string source = from + std::string(2, '\0');
    std::string target = to + std::string(2, '\0');
    SHFILEOPSTRUCTA op;
    std::memset(&op, 0, sizeof(op));
    op.hwnd = nullptr;
    op.wFunc = func;
    op.pFrom = source.c_str();
    op.pTo = func == kFoDelete ? source.c_str() : target.c_str();
    op.fFlags = static_cast<FILEOP_FLAGS>(flags);
    op.lpszProgressTitle = "";
    return SHFileOperationA(&op);
  }

  bool FileSizeOf(const std::string& path, uint64_t* size) override {
    Handle file(OpenExclusive(path, GENERIC_READ));
    LARGE_INTEGER s;
    if (!file.valid() || !GetFileSizeEx(file.get(), &s)) return false;
    *size = static_cast<uint64_t>(s.QuadPart);
    return true;
  }

  bool FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess,
                   FileTime* lastWrite) override {
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
    return SetFileTime(file.get(), which == Stamp::kCreation ? &t : nullptr,
                       which == Stamp::kLastAccess ? &t : nullptr,
                       which == Stamp::kLastWrite ? &t : nullptr) != 0;
  }

  std::string ShellTypeName(const std::string& path) override {
    SHFILEINFOA info;
    std::memset(&info, 0, sizeof(info));
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME)) return std::string();
    return info.szTypeName;
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
    char era[64];
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, "gg", era, sizeof(era)) > 1) d.eraName = era;
    return d;
  }

  bool SetThreadPriority(std::thread& thread, int priority) override {
    static const int kPriorities[] = {THREAD_PRIORITY_IDLE,    THREAD_PRIORITY_LOWEST,
                                      THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                                      THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                                      THREAD_PRIORITY_TIME_CRITICAL};
    if (!thread.joinable() || priority < 0 || priority > 6) return false;
    const HANDLE h = pthread_gethandle(thread.native_handle());
    return h && ::SetThreadPriority(h, kPriorities[priority]) != 0;
  }

  // The shell's copy cannot be stopped after a number of bytes; the disk-full
  // faults are tested on the POSIX backend.
  void SetCopyWriteLimit(int64_t) override {}
};

}  // namespace

std::unique_ptr<Platform> MakeWin32Platform() { return std::make_unique<Win32Platform>(); }

void InstallMessageBoxPresenter() {
  class MessageBoxPresenter : public MessagePresenter {
   public:
    int32_t Show(const char* Text, const char* Caption, int32_t Flags) override {
      return MessageBoxA(nullptr, Text, Caption, static_cast<UINT>(Flags) | MB_TASKMODAL);
    }
  };
  static MessageBoxPresenter presenter;
  SetMessagePresenter(&presenter);
}

}  // namespace platform::win32
