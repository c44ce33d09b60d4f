#include "install/kcfilectrl.h"

#include "install/datepattern.h"
#include "platform/filetime.h"
#include "platform/platform.h"
#include "platform/text/utf8.h"

namespace {

struct AttributeBit {
  TKCFileCtrlAttribute member;
  uint32_t bit;
  bool reported;  // whether a read can report it
};

const AttributeBit kAttributeBits[] = {
    {fcaArchive, 0x20, true},    {fcaDirectory, 0x10, true}, {fcaHidden, 0x02, true}, {fcaNormal, 0x80, true},
    {fcaOffline, 0x1000, false}, {fcaReadonly, 0x01, true},  {fcaSystem, 0x04, true}, {fcaTemporary, 0x100, false},
};

const uint32_t kShellFlags[] = {0x80, 0x10, 0x200, 0x08, 0x400, 0x04, 0x100, 0x40};

const platform::ShellFunc kShellFuncs[] = {platform::kFoCopy, platform::kFoRename, platform::kFoMove,
                                           platform::kFoDelete};

}  // namespace

uint32_t AttributeWordOf(TKCFileCtrlAttributes set) {
  uint32_t word = 0;
  for (const AttributeBit& a : kAttributeBits) {
    if (set.Contains(a.member)) word |= a.bit;
  }
  return word;
}

TKCFileCtrlAttributes AttributesOfWord(uint32_t word) {
  TKCFileCtrlAttributes set;
  for (const AttributeBit& a : kAttributeBits) {
    if (a.reported && (word & 0xFF & a.bit)) set.Include(a.member);
  }
  return set;
}

uint32_t ShellFlagsOf(TKCFileOpFlags options) {
  uint32_t flags = 0;
  for (int m = ffFilesOnly; m <= ffUseRecycleBin; ++m) {
    if (options.Contains(static_cast<TKCFileOpFlag>(m))) flags |= kShellFlags[m];
  }
  return flags;
}

bool TKCFileCtrl::FileOperation(const std::string& Source, const std::string& Target, TKCFileOperation Operation) {
  if (Source.empty()) return false;
  auto nameList = [this](const std::string& name) {
    if (name.find('\0') != std::string::npos) return name + '\0';
    return m_platform.FullPath(name) + '\0' + '\0';
  };
  const std::string from = nameList(Source);
  const std::string to = Operation == foDelete ? from : nameList(Target);
  m_lastError = m_platform.ShellOperation(kShellFuncs[Operation], from, to, ShellFlagsOf(Options));
  return m_lastError == 0;
}

bool TKCFileCtrl::CheckedCopy(const std::string& Source, const std::string& Target, platform::CopyCheck& check) {
  m_lastError = m_platform.CheckedCopy(m_platform.FullPath(Source), m_platform.FullPath(Target), check);
  return m_lastError == 0;
}

void TKCFileCtrl::SetFileName(const std::string& Name) {
  if (!m_platform.IsFile(Name)) return;
  const std::string full = m_platform.FullPath(Name);
  if (full != m_fileName) m_lastAttributes = TKCFileCtrlAttributes();
  m_fileName = full;
}

TKCFileCtrlAttributes TKCFileCtrl::Attributes() const {
  if (m_fileName.empty() || !m_platform.IsFile(m_fileName)) return TKCFileCtrlAttributes();
  const uint32_t word = m_platform.FileAttributes(m_fileName);
  if (word == platform::kInvalidAttributes) return TKCFileCtrlAttributes();
  return AttributesOfWord(word);
}

void TKCFileCtrl::SetAttributes(TKCFileCtrlAttributes Value) {
  if (Value == m_lastAttributes) return;
  if (m_fileName.empty() || !m_platform.IsFile(m_fileName)) return;
  m_platform.SetAttributes(m_fileName, AttributeWordOf(Value));
  m_lastAttributes = Value;
}

int32_t TKCFileCtrl::FileSize() const {
  uint64_t size = 0;
  if (m_fileName.empty() || !m_platform.FileSizeOf(m_fileName, &size)) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(size));
}

std::string TKCFileCtrl::StampText(int which) const {
  platform::FileTime times[3];
  if (m_fileName.empty() || !m_platform.FileTimesOf(m_fileName, &times[0], &times[1], &times[2])) {
    return std::string();
  }
  const platform::FileTime local = m_platform.ToLocalFileTime(times[which]);
  return DateTimeToText(platform::FileTimeToSystemTime(local), m_platform.LocaleDates());
}

bool TKCFileCtrl::SetStamp(int which, const std::string& Text) {
  if (m_fileName.empty() || !m_platform.IsFile(m_fileName)) return true;
  platform::SystemTime parts;
  if (!TextToDateTime(Text, m_platform.LocaleDates(), &parts)) return false;
  platform::FileTime local;
  if (!platform::SystemTimeToFileTime(parts, &local)) return false;
  // Local to UTC: the same bias ToLocalFileTime adds, taken off again.
  const platform::FileTime probe = m_platform.ToLocalFileTime(local);
  const int64_t bias = static_cast<int64_t>(probe.ticks) - static_cast<int64_t>(local.ticks);
  const platform::FileTime utc{static_cast<uint64_t>(static_cast<int64_t>(local.ticks) - bias)};
  static const platform::Stamp kStamps[] = {platform::Stamp::kCreation, platform::Stamp::kLastAccess,
                                            platform::Stamp::kLastWrite};
  return m_platform.SetFileTimeOf(m_fileName, kStamps[which], utc);
}

std::string TKCFileCtrl::FileType() const {
  if (m_fileName.empty() || !m_platform.IsFile(m_fileName)) return std::string();
  std::string type = m_platform.ShellTypeName(m_fileName);
  if (!type.empty()) return type;
  const size_t slash = m_fileName.find_last_of("\\:");
  const size_t dot = m_fileName.rfind('.');
  std::string extension;
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    extension = m_fileName.substr(dot);
  }
  return text::FoldName(extension) + "-Files";
}
