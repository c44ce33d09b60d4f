#include "platform/fault_platform.h"

#include <cstdio>
#include <cstdlib>

#include "platform/copy_fault_hook.h"

namespace platform {
namespace {

// The names of a double-zero list joined by "|", for matching and the log.
std::string ListText(const std::string& list) {
  std::string text;
  for (char c : list) {
    if (c != '\0') {
      text += c;
    } else if (!text.empty() && text.back() != '|') {
      text += '|';
    }
  }
  if (!text.empty() && text.back() == '|') text.pop_back();
  return text;
}

}  // namespace

const Fault* FaultPlatform::Hit(FaultOp op, const std::string& path) {
  for (Planned& p : m_faults) {
    if (p.fault.op != op) continue;
    if (!p.fault.pathContains.empty() && path.find(p.fault.pathContains) == std::string::npos) {
      continue;
    }
    if (p.seen++ < p.fault.skip) continue;
    return &p.fault;
  }
  return nullptr;
}

bool FaultPlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  if (Hit(FaultOp::kReadFile, path)) return false;
  return m_inner.ReadWholeFile(path, contents);
}

ProbeHandle FaultPlatform::ProbeCreate(const std::string& path) {
  m_log.push_back("probe " + path);
  if (Hit(FaultOp::kProbeCreate, path)) return kNoProbe;
  return m_inner.ProbeCreate(path);
}

void FaultPlatform::CrashPoint(const std::string& path) {
  if (Hit(FaultOp::kCrash, path)) std::_Exit(kCrashExitCode);
}

bool FaultPlatform::MakeDirectories(const std::string& path) {
  m_log.push_back("mkdir " + path);
  CrashPoint(path);
  if (Hit(FaultOp::kMakeDirectories, path)) return false;
  return m_inner.MakeDirectories(path);
}

uint32_t FaultPlatform::FileAttributes(const std::string& path) {
  const uint32_t real = m_inner.FileAttributes(path);
  if (real == kInvalidAttributes) return real;
  if (const Fault* f = Hit(FaultOp::kAttributeReadBack, path)) return f->attributes;
  return real;
}

bool FaultPlatform::SetAttributes(const std::string& path, uint32_t attributes) {
  m_log.push_back("attrib " + path);
  if (Hit(FaultOp::kSetAttributes, path)) return false;
  return m_inner.SetAttributes(path, attributes);
}

FindResult FaultPlatform::Enumerate(const std::string& pattern, const FindCallback& visit, FindDetail detail) {
  m_log.push_back("find " + pattern);
  if (Hit(FaultOp::kFindEntries, pattern)) return FindResult::kNoMatch;
  if (Hit(FaultOp::kListFails, pattern)) return FindResult::kFailed;
  return m_inner.Enumerate(pattern, visit, detail);
}

bool FaultPlatform::MoveEntry(const std::string& from, const std::string& to, bool replace) {
  const std::string names = from + " -> " + to;
  m_log.push_back("move " + names);
  CrashPoint(names);
  if (Hit(FaultOp::kMove, names)) return false;
  return m_inner.MoveEntry(from, to, replace);
}

bool FaultPlatform::RemoveFile(const std::string& path) {
  m_log.push_back("remove " + path);
  if (Hit(FaultOp::kRemove, path)) return false;
  return m_inner.RemoveFile(path);
}

bool FaultPlatform::RemoveDirectory(const std::string& path) {
  m_log.push_back("rmdir " + path);
  if (Hit(FaultOp::kRemove, path)) return false;
  return m_inner.RemoveDirectory(path);
}

bool FaultPlatform::FlushVolume(const std::string& path) {
  m_log.push_back("flush " + path);
  if (Hit(FaultOp::kFlush, path)) return false;
  return m_inner.FlushVolume(path);
}

bool FaultPlatform::DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* unit) {
  if (!m_fakeSpace) return m_inner.DiskSpace(path, freeForUser, unit);
  *freeForUser = m_freeSpace;
  *unit = m_unit;
  return true;
}

int FaultPlatform::ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) {
  const std::string names = ListText(from) + " -> " + ListText(to);
  static const char* const kVerbs[] = {"?", "move ", "copy ", "delete ", "rename "};
  m_log.push_back(std::string(func <= kFoRename ? kVerbs[func] : "? ") + names);
  if (func == kFoCopy || func == kFoMove) {
    return Copy(names, [&] { return m_inner.ShellOperation(func, from, to, flags); });
  }
  return m_inner.ShellOperation(func, from, to, flags);
}

int FaultPlatform::CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) {
  const std::string names = source + " -> " + target;
  m_log.push_back("copy " + names);
  return Copy(names, [&] { return m_inner.CheckedCopy(source, target, check); });
}

int FaultPlatform::Copy(const std::string& names, const std::function<int()>& run) {
  CrashPoint(names);
  if (Hit(FaultOp::kCopy, names)) return 5;  // ERROR_ACCESS_DENIED
  const Fault* f = Hit(FaultOp::kDiskFull, names);
  if (!f) return run();
  CopyFaultHook* hook = CopyFaultHookOf(m_inner);
  if (!hook) {
    // A test asked for what this backend cannot do; passing the copy
    // would let it pass without the failure it meant to check.
    std::fprintf(stderr, "FaultPlatform: the backend has no copy fault hook\n");
    std::abort();
  }
  hook->SetCopyWriteLimit(static_cast<int64_t>(f->bytes));
  const int result = run();
  hook->SetCopyWriteLimit(-1);
  return result;
}

}  // namespace platform
