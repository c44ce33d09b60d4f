#include "platform/fault_platform.h"

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

bool FaultPlatform::MakeDirectories(const std::string& path) {
  m_log.push_back("mkdir " + path);
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

bool FaultPlatform::FindEntries(const std::string& pattern, const FindCallback& visit,
                                FindDetail detail) {
  m_log.push_back("find " + pattern);
  if (Hit(FaultOp::kFindEntries, pattern)) return false;
  return m_inner.FindEntries(pattern, visit, detail);
}

int FaultPlatform::ShellOperation(ShellFunc func, const std::string& from, const std::string& to,
                                  uint32_t flags) {
  const std::string names = ListText(from) + " -> " + ListText(to);
  static const char* const kVerbs[] = {"?", "move ", "copy ", "delete ", "rename "};
  m_log.push_back(std::string(func <= kFoRename ? kVerbs[func] : "? ") + names);
  if (func == kFoCopy || func == kFoMove) {
    if (Hit(FaultOp::kCopy, names)) return 5;  // ERROR_ACCESS_DENIED
    if (const Fault* f = Hit(FaultOp::kDiskFull, names)) {
      m_inner.SetCopyWriteLimit(static_cast<int64_t>(f->bytes));
      const int result = m_inner.ShellOperation(func, from, to, flags);
      m_inner.SetCopyWriteLimit(-1);
      return result;
    }
  }
  return m_inner.ShellOperation(func, from, to, flags);
}

}  // namespace platform
