// The shell file operations of the POSIX backend: copy, move, rename, delete.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/dos/dosattrib.h"
#include "platform/dos/namelist.h"
#include "platform/posix/host_files.h"
#include "platform/posix/posix_platform.h"

namespace platform::posix {
namespace {

constexpr int kErrorFileNotFound = 2;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorInvalidParameter = 87;
constexpr int kErrorDirectory = 267;

std::string DosJoin(const std::string& dir, const std::string& name) {
  return (!dir.empty() && dir.back() == '\\') ? dir + name : dir + "\\" + name;
}

std::string DosBaseName(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string HostDirName(const std::string& host) {
  const size_t slash = host.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host.substr(0, slash);
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

int LastError() { return WindowsErrorFromErrno(errno); }

// Closes a descriptor and removes the temporary file unless released.
class TempFile {
 public:
  TempFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (m_fd >= 0) close(m_fd);
    if (!m_released) unlink(m_path.c_str());
  }
  int fd() const { return m_fd; }
  const std::string& path() const { return m_path; }
  // Closes the descriptor; false when the close reports a write error.
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
  }
  void Release() { m_released = true; }

 private:
  int m_fd;
  std::string m_path;
  bool m_released = false;
};

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (m_fd >= 0) close(m_fd);
  }
  int get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

bool PosixPlatform::WriteAllowed(size_t* chunk) {
  if (m_writeLimit < 0) return true;
  if (m_writeLimit == 0) return false;
  if (static_cast<int64_t>(*chunk) > m_writeLimit) *chunk = static_cast<size_t>(m_writeLimit);
  return true;
}

int PosixPlatform::CopyFileData(const std::string& srcHost, const std::string& dstHost, CopyCheck* check) {
  // O_NONBLOCK: a FIFO must not hold the copy; only regular files are copied.
  FileDescriptor in(open(srcHost.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (in.get() < 0) return errno;
  struct stat st;
  if (fstat(in.get(), &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  const std::string srcName = srcHost.substr(srcHost.rfind('/') + 1);
  const uint32_t srcAttributes = HostAttributes(srcHost, srcName, st, m_options.userXattrs);

  // The data goes to a hidden temporary file beside the target, which is
  // renamed over the target only once it is complete. It is created with its
  // final mode, so a read-only copy needs no second step.
  mode_t mode = (st.st_mode & 0777) | S_IRUSR;
  if (srcAttributes & kAttrReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  const std::string dstDir = HostDirName(dstHost);
  std::string tempPath;
  int outFd = -1;
  for (int attempt = 0; attempt < 100 && outFd < 0; ++attempt) {
    tempPath = dstDir + "/" + kCopyTempPrefix + std::to_string(getpid()) + "-" + std::to_string(++m_tempCounter);
    outFd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (outFd < 0 && errno != EEXIST) return errno;
  }
  if (outFd < 0) return EEXIST;
  TempFile out(outFd, tempPath);

  const uint64_t size = static_cast<uint64_t>(st.st_size);
  uint64_t copied = 0;
  // A check must see the data, so it is read into memory. In pieces of 64
  // KiB, which stay in the processor's cache between the read, the check and
  // the write: with 1 MiB a read and write of 1 GiB took twice as long.
  bool useRange = check == nullptr;
  const size_t pieceSize = check ? size_t{64} << 10 : size_t{1} << 20;
  constexpr uint64_t kStartWriteback = uint64_t{8} << 20;
  uint64_t started = 0;  // the bytes whose writing to disk was started
  std::vector<char> buffer;
  // Exactly the size read above is copied: a source that shrinks or grows
  // meanwhile fails the copy instead of installing a cut or mixed file.
  for (bool more = true; more;) {
    size_t chunk = useRange ? size_t{1} << 30 : pieceSize;
    if (m_options.copyPiece) chunk = std::min(chunk, m_options.copyPiece);
    if (!WriteAllowed(&chunk)) return ENOSPC;
    ssize_t n;
    if (useRange) {
      n = copy_file_range(in.get(), nullptr, out.fd(), nullptr, chunk, 0);
      if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
        useRange = false;
        continue;
      }
    } else {
      if (buffer.empty()) buffer.resize(pieceSize);
      n = read(in.get(), buffer.data(), chunk);
      if (n > 0 && check) check->Piece(buffer.data(), static_cast<size_t>(n));
      for (ssize_t done = 0; n > 0 && done < n;) {
        const ssize_t w = write(out.fd(), buffer.data() + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errno;
        done += w;
      }
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (m_writeLimit > 0) m_writeLimit -= std::min<int64_t>(n, m_writeLimit);
    copied += static_cast<uint64_t>(n);
    if (n > 0 && m_options.afterCopyPiece) m_options.afterCopyPiece(srcHost, copied);
    if (check && copied - started >= kStartWriteback) {
      // A checked copy is bound by the processor: the disk writes what is
      // done meanwhile instead of all of it at the install's final flush.
      sync_file_range(out.fd(), static_cast<off_t>(started), static_cast<off_t>(copied - started),
                      SYNC_FILE_RANGE_WRITE);
      started = copied;
    }
    if (copied > size) return EIO;
    more = n > 0 && copied < size;
  }
  if (copied != size) return EIO;
  {
    // Nothing may follow the bytes counted at the start.
    char probe;
    const ssize_t extra = pread(in.get(), &probe, 1, static_cast<off_t>(size));
    if (extra != 0) return extra < 0 ? errno : EIO;
  }
  if (check && !check->Accept()) return EBADMSG;

  // Attributes and last-write time travel with the data, as Windows copies them.
  if (m_options.userXattrs) {
    const std::string text = dos::FormatDosAttrib((srcAttributes | kAttrArchive) &
                                                  (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive));
    if (fsetxattr(out.fd(), "user.DOSATTRIB", text.data(), text.size(), 0) != 0 && errno != ENOTSUP) {
      return errno;
    }
  }
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (futimens(out.fd(), times) != 0) return errno;
  if (!out.Close()) return errno;
  if (rename(out.path().c_str(), dstHost.c_str()) != 0) return errno;
  out.Release();
  NoteNewEntry(dstDir, dstHost.substr(dstHost.rfind('/') + 1));
  return 0;
}

int PosixPlatform::CopyTree(const std::string& source, const std::string& target) {
  if (!MakeDirectories(target)) return 5;
  int error = 0;
  std::vector<std::string> names;
  FindEntries(DosJoin(source, "*.*"), [&](const FindData& d) {
    if (d.name != "." && d.name != "..") names.push_back(d.name);
    return true;
  });
  for (const std::string& name : names) {
    error = CopyOne(DosJoin(source, name), DosJoin(target, name));
    if (error) break;
  }
  return error;
}

int PosixPlatform::CopyOne(const std::string& source, const std::string& target, CopyCheck* check) {
  std::string srcHost;
  std::string dstHost;
  struct stat src;
  struct stat dst;
  if (!Resolve(source, &srcHost, nullptr, &src) || !Resolve(target, &dstHost, nullptr, &dst)) {
    return kErrorInvalidParameter;
  }
  if (src.st_mode == 0) return kErrorFileNotFound;
  if (S_ISLNK(src.st_mode) && stat(srcHost.c_str(), &src) != 0) return LastError();
  if (S_ISDIR(src.st_mode)) return check ? kErrorAccessDenied : CopyTree(source, target);
  if (dst.st_mode != 0 &&
      (S_ISDIR(dst.st_mode) || (S_ISLNK(dst.st_mode) && stat(dstHost.c_str(), &dst) == 0 && S_ISDIR(dst.st_mode)))) {
    // An existing directory as target receives the file under its own name.
    return CopyOne(source, DosJoin(target, DosBaseName(source)), check);
  }
  int error = CopyFileData(srcHost, dstHost, check);
  if (error == ENOENT && dst.st_mode == 0) {
    // The target's folder is missing: make it and try once more.
    const std::string targetDir = target.substr(0, target.find_last_of('\\') + 1);
    if (targetDir.empty() || !MakeDirectories(targetDir)) return 3;  // ERROR_PATH_NOT_FOUND
    if (!Resolve(target, &dstHost)) return kErrorInvalidParameter;
    error = CopyFileData(srcHost, dstHost, check);
  }
  return WindowsErrorFromErrno(error);
}

int PosixPlatform::CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) {
  const std::string from = FullPath(source);
  const std::string to = FullPath(target);
  if (from.empty() || to.empty()) return kErrorInvalidParameter;
  return CopyOne(from, to, &check);
}

int PosixPlatform::MoveOne(const std::string& source, const std::string& target) {
  std::string srcHost;
  std::string dstHost;
  if (!Resolve(source, &srcHost) || !Resolve(target, &dstHost)) return kErrorInvalidParameter;
  struct stat st;
  if (lstat(srcHost.c_str(), &st) != 0) return LastError();
  struct stat dst;
  if (stat(dstHost.c_str(), &dst) == 0 && S_ISDIR(dst.st_mode) && !S_ISDIR(st.st_mode)) {
    return MoveOne(source, DosJoin(target, DosBaseName(source)));
  }
  if (rename(srcHost.c_str(), dstHost.c_str()) == 0) return 0;
  if (errno != EXDEV) return LastError();
  const int error = CopyOne(source, target);
  return error ? error : DeleteOne(source);
}

int PosixPlatform::DeleteOne(const std::string& path) {
  std::string host;
  if (!Resolve(path, &host)) return kErrorInvalidParameter;
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return LastError();
  if (!S_ISDIR(st.st_mode)) return unlink(host.c_str()) == 0 ? 0 : LastError();
  std::vector<std::string> names;
  FindEntries(DosJoin(path, "*.*"), [&](const FindData& d) {
    if (d.name != "." && d.name != "..") names.push_back(d.name);
    return true;
  });
  for (const std::string& name : names) {
    const int error = DeleteOne(DosJoin(path, name));
    if (error) return error;
  }
  return rmdir(host.c_str()) == 0 ? 0 : LastError();
}

int PosixPlatform::ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) {
  // Expand each source name, wildcards in its last component included.
  std::vector<std::string> sources;
  for (const std::string& name : dos::SplitNameList(from)) {
    const std::string full = FullPath(name);
    if (full.empty()) return kErrorInvalidParameter;
    if (!HasWildcard(DosBaseName(full))) {
      sources.push_back(full);
      continue;
    }
    const std::string dir = full.substr(0, full.find_last_of('\\') + 1);
    FindEntries(full, [&](const FindData& d) {
      const bool isDir = (d.attributes & kAttrDirectory) != 0;
      if (d.name == "." || d.name == ".." || (isDir && (flags & kFofFilesOnly))) return true;
      sources.push_back(dir + d.name);
      return true;
    });
  }
  if (sources.empty()) return kErrorFileNotFound;

  if (func == kFoDelete) {
    for (const std::string& s : sources) {
      if (const int error = DeleteOne(s)) return error;
    }
    return 0;
  }

  std::vector<std::string> targets;
  for (const std::string& name : dos::SplitNameList(to)) {
    const std::string full = FullPath(name);
    if (full.empty()) return kErrorInvalidParameter;
    targets.push_back(full);
  }
  if (targets.empty()) return kErrorInvalidParameter;

  // Pair every source with its full target name.
  std::vector<std::string> pairedTargets;
  if ((flags & kFofMultiDestFiles) && targets.size() == sources.size()) {
    pairedTargets = targets;
  } else if (targets.size() != 1) {
    return kErrorInvalidParameter;
  } else if (sources.size() == 1 && !IsDirectory(targets[0])) {
    pairedTargets = targets;
  } else {
    if (func == kFoRename) return kErrorInvalidParameter;
    if (!IsDirectory(targets[0]) && !MakeDirectories(targets[0])) return kErrorDirectory;
    for (const std::string& s : sources) pairedTargets.push_back(DosJoin(targets[0], DosBaseName(s)));
  }

  for (size_t i = 0; i < sources.size(); ++i) {
    int error = 0;
    if (func == kFoCopy) {
      error = CopyOne(sources[i], pairedTargets[i]);
    } else {
      error = MoveOne(sources[i], pairedTargets[i]);
    }
    if (error) return error;
  }
  return 0;
}

}  // namespace platform::posix
