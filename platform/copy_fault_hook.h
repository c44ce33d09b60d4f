#pragma once

#include <cstdint>

namespace platform {

class Platform;

// For tests: a backend whose copies can be made to fail part-way, as on a
// full disk. The POSIX, Win32 and in-memory platforms offer it beside
// Platform; the fault-injecting wrapper reaches it, the program never does.
class CopyFaultHook {
 public:
  virtual ~CopyFaultHook() = default;

  // After limit more bytes of file data have been written by ShellOperation's
  // copies, writes fail as on a full disk. A negative limit removes it.
  virtual void SetCopyWriteLimit(int64_t limit) = 0;
};

// The hook of the backend below a platform, looked for through forwarding
// wrappers; nullptr when that backend has none.
CopyFaultHook* CopyFaultHookOf(Platform& platform);

}  // namespace platform
