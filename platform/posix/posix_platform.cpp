#include "platform/posix/posix_platform.h"

#include <dirent.h>
#include <pthread.h>
#include <sched.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/dos/dospath.h"
#include "platform/dos/ntfsorder.h"
#include "platform/dos/wildcard.h"
#include "platform/englishdates.h"
#include "platform/filetime.h"
#include "platform/posix/host_files.h"
#include "platform/text/utf8.h"

namespace platform::posix {
namespace {

std::string JoinHost(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string DosDirectoryOf(const std::string& dosPath) {
  const size_t slash = dosPath.rfind('\\');
  if (slash == std::string::npos) return dosPath;
  return slash <= 2 ? dosPath.substr(0, 3) : dosPath.substr(0, slash);
}

std::string FoldName(const std::string& name) { return text::FoldName(name); }

std::string HostDirName(const std::string& host) {
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host.substr(0, slash);
}

std::string HostBaseName(const std::string& hostPath) {
  const size_t slash = hostPath.rfind('/');
  return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

}  // namespace

PosixPlatform::PosixPlatform(DriveTable drives, std::string programHostPath, Options options)
    : m_drives(std::move(drives)), m_programHostPath(std::move(programHostPath)), m_options(options) {
  m_currentDir = DosDirectoryOf(m_drives.HostToDos(m_programHostPath));
  if (m_currentDir.size() < 3) m_currentDir = "C:\\";
}

std::unique_ptr<PosixPlatform> PosixPlatform::ForThisProcess() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  DriveTable table = SystemDriveTable(exe);
  return std::make_unique<PosixPlatform>(std::move(table), exe);
}

bool PosixPlatform::Resolve(const std::string& dosPath, std::string* hostPath, std::string* normalized,
                            struct stat* found) const {
  if (dosPath.find('\0') != std::string::npos) return false;
  std::string full;
  if (!dos::NormalizeDosPath(dosPath, m_currentDir, &full)) return false;
  const Drive* drive = m_drives.Find(full[0]);
  if (!drive) return false;
  if (normalized) *normalized = full;

  const std::vector<std::string_view> parts = dos::SplitDosComponents(full);
  std::string exact = drive->hostRoot;
  for (std::string_view part : parts) exact = JoinHost(exact, std::string(part));
  // As on Windows, a name written with a trailing separator must be a directory.
  const char last = dosPath.back();
  const std::string dirSuffix = (last == '\\' || last == '/') && !parts.empty() ? "/" : "";
  struct stat st;
  struct stat* result = found ? found : &st;
  result->st_mode = 0;
  if (lstat(exact.c_str(), result) == 0) {
    if (!S_ISDIR(result->st_mode) && !dirSuffix.empty()) result->st_mode = 0;
    *hostPath = exact + (S_ISDIR(result->st_mode) ? "" : dirSuffix);
    return true;
  }
  result->st_mode = 0;
  if (errno != ENOENT) {
    *hostPath = exact + dirSuffix;
    return true;
  }
  // Some component is spelt in another case, or does not exist yet. Most
  // often only the last one is missing: try its folder as written first.
  std::string current = drive->hostRoot;
  size_t i = 0;
  if (parts.size() > 1) {
    std::string parent = drive->hostRoot;
    for (size_t k = 0; k + 1 < parts.size(); ++k) parent = JoinHost(parent, std::string(parts[k]));
    if (lstat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      current = parent;
      i = parts.size() - 1;
    }
  }
  const size_t knownMissing = i == parts.size() - 1 ? i : parts.size();
  for (; i < parts.size(); ++i) {
    const std::string name(parts[i]);
    const std::string candidate = JoinHost(current, name);
    if (i != knownMissing && lstat(candidate.c_str(), &st) == 0) {
      current = candidate;
      continue;
    }
    std::string match;
    if (!FindNoCase(current, name, &match)) break;
    current = JoinHost(current, match);
  }
  const bool complete = i == parts.size();
  for (; i < parts.size(); ++i) current = JoinHost(current, std::string(parts[i]));
  if (complete && lstat(current.c_str(), result) == 0) {
    if (!S_ISDIR(result->st_mode) && !dirSuffix.empty()) result->st_mode = 0;
    *hostPath = current + (S_ISDIR(result->st_mode) ? "" : dirSuffix);
  } else {
    result->st_mode = 0;
    *hostPath = current + dirSuffix;
  }
  return true;
}

bool PosixPlatform::FindNoCase(const std::string& dirHost, const std::string& name, std::string* match) const {
  struct stat st;
  if (stat(dirHost.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  DirListing& l = m_listing;
  const bool fresh = l.valid && l.dir == dirHost && l.dev == st.st_dev && l.ino == st.st_ino &&
                     l.mtime.tv_sec == st.st_mtim.tv_sec && l.mtime.tv_nsec == st.st_mtim.tv_nsec;
  if (!fresh) {
    l.valid = false;
    l.names.clear();
    DIR* dir = opendir(dirHost.c_str());
    if (!dir) return false;
    while (const dirent* e = readdir(dir)) {
      const std::string entry = e->d_name;
      if (entry == "." || entry == "..") continue;
      AddListed(entry);
    }
    closedir(dir);
    l.dir = dirHost;
    l.dev = st.st_dev;
    l.ino = st.st_ino;
    l.mtime = st.st_mtim;
    l.valid = true;
  }
  const auto it = l.names.find(FoldName(name));
  if (it == l.names.end()) return false;
  *match = it->second;
  return true;
}

void PosixPlatform::AddListed(const std::string& name) const {
  const auto [it, fresh] = m_listing.names.emplace(FoldName(name), name);
  if (!fresh && name < it->second) it->second = name;
}

void PosixPlatform::NoteNewEntry(const std::string& dirHost, const std::string& name) {
  // Our own change of the folder listed last: keep the listing current
  // instead of reading the folder again for the next name.
  if (!m_listing.valid || m_listing.dir != dirHost) return;
  struct stat st;
  if (stat(dirHost.c_str(), &st) != 0) {
    m_listing.valid = false;
    return;
  }
  AddListed(name);
  m_listing.mtime = st.st_mtim;
}

bool PosixPlatform::ToHostPath(const std::string& dosPath, std::string* hostPath) const {
  return Resolve(dosPath, hostPath);
}

std::string PosixPlatform::ProgramFileName() { return m_drives.HostToDos(m_programHostPath); }

std::string PosixPlatform::CommandLinePath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  const std::string dos = ToDosPath(path);
  return dos.empty() ? path : dos;
}

std::string PosixPlatform::FullPath(const std::string& path) {
  std::string full;
  if (path.find('\0') != std::string::npos || !dos::NormalizeDosPath(path, m_currentDir, &full)) {
    return std::string();
  }
  return full;
}

bool PosixPlatform::IsFile(const std::string& path) {
  std::string host;
  struct stat st;
  if (!Resolve(path, &host, nullptr, &st) || st.st_mode == 0) return false;
  if (S_ISLNK(st.st_mode) && stat(host.c_str(), &st) != 0) return false;
  return !S_ISDIR(st.st_mode);
}

bool PosixPlatform::IsDirectory(const std::string& path) {
  std::string host;
  struct stat st;
  if (!Resolve(path, &host, nullptr, &st) || st.st_mode == 0) return false;
  if (S_ISLNK(st.st_mode) && stat(host.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode);
}

bool PosixPlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  std::string host;
  if (!Resolve(path, &host)) return false;
  // O_NONBLOCK: a FIFO of that name must not hold the program; it is
  // refused below like any other file that is not a regular one.
  const int fd = open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  std::string data;
  if (ok) {
    data.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    for (;;) {
      if (done == data.size()) data.resize(data.size() + 65536);
      const ssize_t n = read(fd, &data[done], data.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    data.resize(done);
  }
  close(fd);
  if (ok) *contents = std::move(data);
  return ok;
}

ProbeHandle PosixPlatform::ProbeCreate(const std::string& path) {
  std::string host;
  if (!Resolve(path, &host)) return kNoProbe;
  // Exclusive: an existing file of that name is never truncated.
  const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  return fd < 0 ? kNoProbe : static_cast<ProbeHandle>(fd);
}

void PosixPlatform::ProbeClose(ProbeHandle handle) {
  if (handle != kNoProbe) close(static_cast<int>(handle));
}

bool PosixPlatform::RemoveFile(const std::string& path) {
  std::string host;
  struct stat st;
  if (!Resolve(path, &host) || lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return unlink(host.c_str()) == 0;
}

bool PosixPlatform::MakeDirectories(const std::string& path) {
  std::string full;
  if (path.find('\0') != std::string::npos || !dos::NormalizeDosPath(path, m_currentDir, &full)) {
    return false;
  }
  const Drive* drive = m_drives.Find(full[0]);
  if (!drive) return false;
  std::string current = drive->hostRoot;
  for (std::string_view part : dos::SplitDosComponents(full)) {
    const std::string name(part);
    std::string candidate = JoinHost(current, name);
    struct stat st;
    if (stat(candidate.c_str(), &st) != 0) {
      std::string match;
      if (FindNoCase(current, name, &match)) {
        candidate = JoinHost(current, match);
      } else if (mkdir(candidate.c_str(), 0777) == 0) {
        NoteNewEntry(current, name);
      } else if (errno != EEXIST) {
        return false;
      }
      if (stat(candidate.c_str(), &st) != 0) return false;
    }
    if (!S_ISDIR(st.st_mode)) return false;
    current = candidate;
  }
  return true;
}

bool PosixPlatform::ChangeDirectory(const std::string& path) {
  std::string host;
  std::string full;
  struct stat st;
  if (!Resolve(path, &host, &full) || stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return false;
  }
  m_currentDir = full;
  return true;
}

std::string PosixPlatform::CurrentDirectory() { return m_currentDir; }

uint32_t PosixPlatform::FileAttributes(const std::string& path) {
  std::string host;
  struct stat st;
  if (!Resolve(path, &host, nullptr, &st) || st.st_mode == 0) return kInvalidAttributes;
  return HostAttributes(host, HostBaseName(host), st, m_options.userXattrs);
}

bool PosixPlatform::SetAttributes(const std::string& path, uint32_t attributes) {
  std::string host;
  struct stat st;
  return Resolve(path, &host, nullptr, &st) && st.st_mode != 0 &&
         SetHostAttributes(host, attributes, m_options.userXattrs, &st);
}

FindResult PosixPlatform::Enumerate(const std::string& pattern, const FindCallback& visit, FindDetail detail) {
  const size_t cut = pattern.find_last_of("\\/");
  std::string dirPart;
  std::string mask;
  if (cut == std::string::npos) {
    const bool driveRelative = pattern.size() >= 2 && pattern[1] == ':';
    dirPart = driveRelative ? pattern.substr(0, 2) : std::string(".");
    mask = driveRelative ? pattern.substr(2) : pattern;
  } else {
    dirPart = pattern.substr(0, cut + 1);
    mask = pattern.substr(cut + 1);
  }
  std::string host;
  std::string full;
  if (mask.empty() || !Resolve(dirPart, &host, &full)) return FindResult::kNoMatch;
  const int dirfd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd < 0) {
    // A folder that is not there has nothing to match; one that is there but
    // cannot be opened is a failure.
    return errno == ENOENT || errno == ENOTDIR ? FindResult::kNoMatch : FindResult::kFailed;
  }
  DIR* dir = fdopendir(dirfd);
  if (!dir) {
    close(dirfd);
    return FindResult::kFailed;
  }
  struct Name {
    std::string name;
    bool regular;  // known from the listing to be a plain file
  };
  std::vector<Name> names;
  for (;;) {
    errno = 0;
    const dirent* e = readdir(dir);
    if (!e) break;
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    if (dos::WildcardMatch(mask, n)) names.push_back({n, e->d_type == DT_REG});
  }
  if (errno != 0) {
    // A listing that breaks off part-way (a read error on a damaged disc).
    closedir(dir);
    return FindResult::kFailed;
  }
  std::sort(names.begin(), names.end(),
            [](const Name& a, const Name& b) { return dos::CompareNtfsOrder(a.name, b.name) < 0; });
  // Windows reports "." and ".." first in every directory but a drive root.
  if (full.size() > 3) {
    for (const char* dot : {"..", "."}) {
      if (dos::WildcardMatch(mask, dot)) names.insert(names.begin(), Name{dot, false});
    }
  }

  bool any = false;
  FindData data;
  for (const Name& entry : names) {
    const std::string& name = entry.name;
    data.name = name;
    if (detail == FindDetail::kBasic && entry.regular) {
      // A plain file: its defaults, without asking the file system.
      const bool dotName = name[0] == '.';
      data.attributes = kAttrArchive | (dotName ? kAttrHidden : 0u);
      data.size = 0;
      data.fullSize = 0;
      data.creation = data.lastAccess = data.lastWrite = FileTime{};
      any = true;
      if (!visit(data)) break;
      continue;
    }
    struct stat st;
    FileTime birth;
    if (!StatWithBirth(dirfd, name.c_str(), false, &st, &birth)) continue;
    const std::string entryHost = name == "." ? host : JoinHost(host, name);
    struct stat target;
    data.attributes = HostAttributes(entryHost, name, st, m_options.userXattrs, &target);
    data.fullSize = S_ISDIR(target.st_mode) ? 0 : static_cast<uint64_t>(target.st_size);
    data.size = static_cast<uint32_t>(data.fullSize);
    data.creation = birth;
    data.lastAccess = AccessTime(target);
    data.lastWrite = ModifyTime(target);
    any = true;
    if (!visit(data)) break;
  }
  closedir(dir);
  return any ? FindResult::kFound : FindResult::kNoMatch;
}

bool PosixPlatform::ExistingHostAncestor(const std::string& dosPath, std::string* hostPath) const {
  std::string host;
  if (!Resolve(dosPath, &host)) return false;
  struct stat st;
  while (lstat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    if (host == "/" || host.empty()) return false;
    host = HostDirName(host);
  }
  *hostPath = host;
  return true;
}

std::string PosixPlatform::RealPath(const std::string& path) {
  std::string host;
  if (!Resolve(path, &host)) return std::string();
  if (host.size() > 1 && host.back() == '/') host.pop_back();
  // The longest part that exists is resolved, links and all; the rest does
  // not exist yet and is appended as written.
  std::string rest;
  std::string existing = host;
  char buffer[PATH_MAX];
  while (!realpath(existing.c_str(), buffer)) {
    if (errno != ENOENT && errno != ENOTDIR) return std::string();
    if (existing == "/" || existing.empty()) return std::string();
    const size_t slash = existing.rfind('/');
    rest = existing.substr(slash + 1) + (rest.empty() ? "" : "/" + rest);
    existing = slash == 0 ? "/" : existing.substr(0, slash);
  }
  std::string real = buffer;
  if (!rest.empty()) real = JoinHost(real, rest);
  return m_drives.HostToDos(real);
}

bool PosixPlatform::MoveEntry(const std::string& from, const std::string& to, bool replace) {
  std::string fromHost;
  std::string toHost;
  struct stat st;
  if (!Resolve(from, &fromHost, nullptr, &st) || st.st_mode == 0 || !Resolve(to, &toHost)) {
    return false;
  }
  if (!toHost.empty() && toHost.back() == '/') toHost.pop_back();
  const int flags = replace ? 0 : RENAME_NOREPLACE;
  if (renameat2(AT_FDCWD, fromHost.c_str(), AT_FDCWD, toHost.c_str(), flags) != 0) {
    if (replace || errno != EINVAL) return false;
    // A file system without the no-replace rename: test, then rename.
    struct stat existing;
    if (lstat(toHost.c_str(), &existing) == 0 || rename(fromHost.c_str(), toHost.c_str()) != 0) {
      return false;
    }
  }
  m_listing.valid = false;
  return true;
}

bool PosixPlatform::RemoveDirectory(const std::string& path) {
  std::string host;
  struct stat st;
  if (!Resolve(path, &host, nullptr, &st) || !S_ISDIR(st.st_mode)) return false;
  if (rmdir(host.c_str()) != 0) return false;
  m_listing.valid = false;
  return true;
}

bool PosixPlatform::DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* allocationUnit) {
  std::string host;
  struct statvfs vfs;
  if (!ExistingHostAncestor(path, &host) || statvfs(host.c_str(), &vfs) != 0) return false;
  // A file system that counts no blocks (ramfs) gives no figure to go by.
  if (vfs.f_blocks == 0) return false;
  const uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  *freeForUser = static_cast<uint64_t>(vfs.f_bavail) * unit;
  *allocationUnit = unit;
  return true;
}

bool PosixPlatform::FlushVolume(const std::string& path) {
  std::string host;
  if (!ExistingHostAncestor(path, &host)) return false;
  const int fd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = syncfs(fd) == 0;
  close(fd);
  return ok;
}

std::string PosixPlatform::StateDirectory() { return HomeFolder({".local", "state", "sirel-setup"}); }

std::string PosixPlatform::SettingsDirectory() { return HomeFolder({".config", "sirel-setup"}); }

std::string PosixPlatform::HomeFolder(std::initializer_list<const char*> parts) {
  // Under the user's home, which is drive C:.
  const Drive* home = m_drives.Find('C');
  if (!home) return std::string();
  std::string host = home->hostRoot;
  for (const char* part : parts) {
    host = JoinHost(host, part);
    if (mkdir(host.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
  }
  struct stat st;
  if (lstat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::string();
  return m_drives.HostToDos(host);
}

AppendHandle PosixPlatform::OpenAppend(const std::string& path) {
  std::string host;
  if (!Resolve(path, &host)) return kNoAppend;
  const int fd = open(host.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return kNoAppend;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return kNoAppend;
  }
  // The folder entry of the new file reaches the disk before anything relies on it.
  const int dirfd = open(HostDirName(host).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd >= 0) {
    fsync(dirfd);
    close(dirfd);
  }
  m_listing.valid = false;
  return static_cast<AppendHandle>(fd);
}

bool PosixPlatform::Append(AppendHandle handle, const std::string& text, bool durable) {
  if (handle == kNoAppend) return false;
  const int fd = static_cast<int>(handle);
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return !durable || fdatasync(fd) == 0;
}

void PosixPlatform::CloseAppend(AppendHandle handle) {
  if (handle != kNoAppend) close(static_cast<int>(handle));
}

std::string PosixPlatform::ErrorText(int code) { return std::strerror(ErrnoFromWindowsError(code)); }

bool PosixPlatform::SameContent(const std::string& a, const std::string& b) {
  std::string hostA;
  std::string hostB;
  if (!Resolve(a, &hostA) || !Resolve(b, &hostB)) return false;
  const int fa = open(hostA.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const int fb = open(hostB.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat sa;
  struct stat sb;
  bool same = fa >= 0 && fb >= 0 && fstat(fa, &sa) == 0 && fstat(fb, &sb) == 0 && S_ISREG(sa.st_mode) &&
              S_ISREG(sb.st_mode) && sa.st_size == sb.st_size;
  std::vector<char> x(same ? 1 << 16 : 0);
  std::vector<char> y(x.size());
  for (off_t at = 0; same && at < sa.st_size;) {
    const ssize_t n = pread(fa, x.data(), x.size(), at);
    const ssize_t m = n > 0 ? pread(fb, y.data(), static_cast<size_t>(n), at) : -1;
    same = n > 0 && m == n && std::memcmp(x.data(), y.data(), static_cast<size_t>(n)) == 0;
    at += n;
  }
  if (fa >= 0) close(fa);
  if (fb >= 0) close(fb);
  return same;
}

FileTime PosixPlatform::ToLocalFileTime(FileTime utc) {
  // Like Windows, the bias in force now is applied, not the one of that date.
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  const int64_t bias = static_cast<int64_t>(local.tm_gmtoff) * 10000000;
  const int64_t ticks = static_cast<int64_t>(utc.ticks) + bias;
  return FileTime{ticks < 0 ? 0 : static_cast<uint64_t>(ticks)};
}

uint32_t PosixPlatform::LogicalDriveStrings(uint32_t bufferLength, char* buffer) {
  std::string letters;
  for (const Drive& d : m_drives.drives()) letters += d.letter;
  return dos::WriteDriveStrings(letters, bufferLength, buffer);
}

uint32_t PosixPlatform::DriveTypeOf(const std::string& root) {
  if (root.size() < 2 || root[1] != ':') return kDriveNoRootDir;
  const Drive* d = m_drives.Find(root[0]);
  return d ? d->type : kDriveNoRootDir;
}

bool PosixPlatform::FileSizeOf(const std::string& path, uint64_t* size) {
  std::string host;
  if (!Resolve(path, &host)) return false;
  const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  close(fd);
  if (ok) *size = static_cast<uint64_t>(st.st_size);
  return ok;
}

bool PosixPlatform::FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess,
                                FileTime* lastWrite) {
  std::string host;
  struct stat st;
  FileTime birth;
  if (!Resolve(path, &host) || !StatWithBirth(AT_FDCWD, host.c_str(), true, &st, &birth)) {
    return false;
  }
  if (creation) *creation = birth;
  if (lastAccess) *lastAccess = AccessTime(st);
  if (lastWrite) *lastWrite = ModifyTime(st);
  return true;
}

bool PosixPlatform::SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) {
  // Linux keeps no settable birth time.
  if (which == Stamp::kCreation) return false;
  std::string host;
  if (!Resolve(path, &host)) return false;
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_nsec = UTIME_OMIT;
  int64_t seconds = 0;
  int64_t nanoseconds = 0;
  FileTimeToUnix(utc, &seconds, &nanoseconds);
  struct timespec& slot = times[which == Stamp::kLastAccess ? 0 : 1];
  slot.tv_sec = static_cast<time_t>(seconds);
  slot.tv_nsec = static_cast<long>(nanoseconds);
  return utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
}

bool PosixPlatform::SetThreadPriority(std::thread& thread, int priority) {
  if (!thread.joinable()) return false;
  // Linux gives an unprivileged program no higher priority than normal: the
  // lower ones map to the idle and batch policies, the rest to the normal one.
  const int policy = priority <= 0 ? SCHED_IDLE : priority <= 2 ? SCHED_BATCH : SCHED_OTHER;
  sched_param param{};
  param.sched_priority = 0;
  return pthread_setschedparam(thread.native_handle(), policy, &param) == 0;
}

std::string PosixPlatform::ShellTypeName(const std::string& /*path*/) {
  // Linux desktops keep no per-extension type names the way the shell does.
  return std::string();
}

LocaleDateData PosixPlatform::LocaleDates() { return EnglishLocaleDates(); }

}  // namespace platform::posix
