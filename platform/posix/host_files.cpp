#include "platform/posix/host_files.h"

#include <fcntl.h>
#include <sys/xattr.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/dos/dosattrib.h"
#include "platform/filetime.h"

namespace platform::posix {
namespace {

constexpr const char* kDosAttribName = "user.DOSATTRIB";
constexpr uint32_t kKeptBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

std::string BaseName(const std::string& hostPath) {
  const size_t slash = hostPath.rfind('/');
  return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

uint32_t DefaultBits(const std::string& name, bool isDir) {
  uint32_t bits = isDir ? 0u : static_cast<uint32_t>(kAttrArchive);
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") bits |= kAttrHidden;
  return bits;
}

}  // namespace

uint32_t HostAttributes(const std::string& hostPath, const std::string& name, const struct stat& st, bool useXattr,
                        struct stat* followed) {
  struct stat target = st;
  uint32_t attributes = 0;
  if (S_ISLNK(st.st_mode)) {
    // Every symbolic link is a reparse point, as on Windows.
    attributes |= kAttrReparsePoint;
    if (stat(hostPath.c_str(), &target) != 0) target = st;
  }
  if (followed) *followed = target;
  const bool isDir = S_ISDIR(target.st_mode);
  if (isDir) attributes |= kAttrDirectory;
  // A FIFO, socket or device is marked, so nothing opens or copies it.
  if (!isDir && !S_ISREG(target.st_mode) && !S_ISLNK(target.st_mode)) attributes |= kAttrDevice;

  char buffer[256];
  ssize_t n = -1;
  if (useXattr) n = getxattr(hostPath.c_str(), kDosAttribName, buffer, sizeof(buffer));
  uint32_t stored = 0;
  if (n > 0 && dos::ParseDosAttrib(buffer, static_cast<size_t>(n), &stored)) {
    attributes |= stored & kKeptBits;
  } else {
    attributes |= DefaultBits(name, isDir);
  }
  if (!(target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) attributes |= kAttrReadOnly;
  if (attributes == 0) attributes = kAttrNormal;
  return attributes;
}

bool SetHostAttributes(const std::string& hostPath, uint32_t attributes, bool useXattr, const struct stat* known) {
  struct stat st;
  if (known && known->st_mode != 0 && !S_ISLNK(known->st_mode)) {
    st = *known;
  } else if (stat(hostPath.c_str(), &st) != 0) {
    return false;
  }
  const uint32_t wanted = attributes & kKeptBits;
  const mode_t mode = st.st_mode & 07777;
  mode_t newMode = mode;
  if (wanted & kAttrReadOnly) {
    newMode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else if (!(mode & (S_IWUSR | S_IWGRP | S_IWOTH))) {
    newMode |= S_IWUSR;
  }

  if (useXattr) {
    const std::string text = dos::FormatDosAttrib(wanted);
    if (setxattr(hostPath.c_str(), kDosAttribName, text.data(), text.size(), 0) != 0) {
      if (errno != ENOTSUP) return false;
      useXattr = false;
    }
  }
  // Without a place to keep the word, only what the defaults give can be
  // set. The hidden bit of a dot-name comes with the name itself: asking to
  // clear it is followed as far as the file system can.
  const uint32_t defaults = DefaultBits(BaseName(hostPath), S_ISDIR(st.st_mode));
  if (!useXattr && ((wanted | (defaults & kAttrHidden)) & ~kAttrReadOnly) != defaults) {
    return false;
  }
  if (newMode != mode && chmod(hostPath.c_str(), newMode) != 0) return false;
  return true;
}

int WindowsErrorFromErrno(int err) {
  switch (err) {
    case 0: return 0;
    case ENOENT: return 2;   // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return 3;  // ERROR_PATH_NOT_FOUND
    case EMFILE:
    case ENFILE: return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM:
    case EROFS: return 5;                    // ERROR_ACCESS_DENIED
    case ENOMEM: return 8;                   // ERROR_NOT_ENOUGH_MEMORY
    case EBADMSG: return kErrorCopyRefused;  // ERROR_CRC: a copy's check refused the data
    case EXDEV: return 17;                   // ERROR_NOT_SAME_DEVICE
    case EBUSY: return 32;                   // ERROR_SHARING_VIOLATION
    case EEXIST: return 80;                  // ERROR_FILE_EXISTS
    case EINVAL: return 87;                  // ERROR_INVALID_PARAMETER
    case ENOSPC:
    case EDQUOT: return 112;        // ERROR_DISK_FULL
    case ENAMETOOLONG: return 206;  // ERROR_FILENAME_EXCED_RANGE
    case EISDIR: return 267;        // ERROR_DIRECTORY
    case ELOOP: return 1921;        // ERROR_CANT_RESOLVE_FILENAME
    default: return 1117;           // ERROR_IO_DEVICE
  }
}

int ErrnoFromWindowsError(int code) {
  static const int kErrnos[] = {ENOENT, ENOTDIR, EMFILE, EACCES, ENOMEM,       EBADMSG, EXDEV,
                                EBUSY,  EEXIST,  EINVAL, ENOSPC, ENAMETOOLONG, EISDIR,  ELOOP};
  for (const int e : kErrnos) {
    if (WindowsErrorFromErrno(e) == code) return e;
  }
  return EIO;
}

std::string RealHostDirectory(const std::string& hostPath) {
  char resolved[PATH_MAX];
  struct stat st;
  if (!realpath(hostPath.c_str(), resolved) || stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) {
    return std::string();
  }
  return resolved;
}

FileTime ModifyTime(const struct stat& st) { return FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec); }

FileTime AccessTime(const struct stat& st) { return FileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec); }

}  // namespace platform::posix

namespace platform::posix {

bool StatWithBirth(int dirfd, const char* name, bool follow, struct stat* st, FileTime* birth) {
  struct statx sx;
  const int flags = follow ? 0 : AT_SYMLINK_NOFOLLOW;
  if (statx(dirfd, name, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return false;
  std::memset(st, 0, sizeof(*st));
  st->st_mode = sx.stx_mode;
  st->st_size = static_cast<off_t>(sx.stx_size);
  st->st_uid = sx.stx_uid;
  st->st_gid = sx.stx_gid;
  st->st_nlink = sx.stx_nlink;
  st->st_ino = sx.stx_ino;
  st->st_atim.tv_sec = sx.stx_atime.tv_sec;
  st->st_atim.tv_nsec = sx.stx_atime.tv_nsec;
  st->st_mtim.tv_sec = sx.stx_mtime.tv_sec;
  st->st_mtim.tv_nsec = sx.stx_mtime.tv_nsec;
  st->st_ctim.tv_sec = sx.stx_ctime.tv_sec;
  st->st_ctim.tv_nsec = sx.stx_ctime.tv_nsec;
  if (birth) {
    *birth = (sx.stx_mask & STATX_BTIME) ? FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec)
                                         : FileTimeFromUnix(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  }
  return true;
}

}  // namespace platform::posix
