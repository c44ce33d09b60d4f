#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/platform.h"

// Small host-side pieces of the POSIX backend: the attribute word of a host
// file, errno mapped to Windows errors, stat with the birth time, a host
// folder with its links resolved.
namespace platform::posix {

// Attribute word of an entry, given its lstat data: user.DOSATTRIB when
// present (and useXattr), else the defaults (a file is archive, a name that
// begins with a dot is hidden), read-only when no write bit is set, the
// directory bit, and the reparse-point bit for a link to a directory.
// followed receives the stat data of the link's target (or st itself).
uint32_t HostAttributes(const std::string& hostPath, const std::string& name, const struct stat& st, bool useXattr,
                        struct stat* followed = nullptr);

// Writes the attribute word (read-only, hidden, system, archive) of an existing
// entry: user.DOSATTRIB and the write bits. Without extended attributes only a
// word that the defaults give for that name can be kept. False on failure.
// known, when given, is the entry's lstat data.
bool SetHostAttributes(const std::string& hostPath, uint32_t attributes, bool useXattr,
                       const struct stat* known = nullptr);

// The Windows error code that stands for an errno value.
int WindowsErrorFromErrno(int err);
// The errno value a Windows error code stands for (EIO when none).
int ErrnoFromWindowsError(int code);

// The absolute host path of a folder with every symbolic link resolved; a
// relative path counts from the process's working directory. Empty when the
// path names no folder (a file, nothing, a link to nothing).
std::string RealHostDirectory(const std::string& hostPath);

// FileTimes of a stat buffer; creation falls back to the last write time where
// the file system keeps no birth time.
FileTime ModifyTime(const struct stat& st);
FileTime AccessTime(const struct stat& st);

}  // namespace platform::posix

namespace platform::posix {

// lstat (or stat, when follow) of name relative to dirfd (AT_FDCWD for a
// path), through statx so that the birth time comes along; *birth is the last
// write time where the file system keeps no birth time.
bool StatWithBirth(int dirfd, const char* name, bool follow, struct stat* st, FileTime* birth);

}  // namespace platform::posix
