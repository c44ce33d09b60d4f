#pragma once

#include <cstdint>
#include <string>

#include "install/enumset.h"
#include "install/kcsysinfo.h"

namespace platform {
class CopyCheck;
class Platform;
}  // namespace platform

enum TKCFileCtrlAttribute {
  fcaArchive,
  fcaDirectory,
  fcaHidden,
  fcaNormal,
  fcaOffline,
  fcaReadonly,
  fcaSystem,
  fcaTemporary,
  fcaCompressed,
};
using TKCFileCtrlAttributes = EnumSet<TKCFileCtrlAttribute>;

enum TKCFileOpFlag {
  ffFilesOnly,
  ffNoActionConfirm,
  ffNoMKDIRConfirm,
  ffRenameFileOnCollision,
  ffShowNoErrors,
  ffShowNoProgress,
  ffSimpleProgress,
  ffUseRecycleBin,
};
using TKCFileOpFlags = EnumSet<TKCFileOpFlag>;

enum TKCFileOperation { foCopy, foRename, foMove, foDelete };

// The attribute word bits of a set (fcaCompressed adds nothing).
uint32_t AttributeWordOf(TKCFileCtrlAttributes set);
// The members of an attribute word that a read reports: only its low eight bits.
TKCFileCtrlAttributes AttributesOfWord(uint32_t word);
// The shell operation flags of a set of options.
uint32_t ShellFlagsOf(TKCFileOpFlags options);

// Shell file operations and the properties of one file.
class TKCFileCtrl : public TKCCustomComponent {
 public:
  explicit TKCFileCtrl(platform::Platform& platform) : m_platform(platform) {}

  // One shell operation on Source and Target; true when the shell reports
  // success. An empty Source fails without a shell call. A name without a
  // zero character is expanded to its full path; one with zeros is taken as a
  // ready name list.
  bool FileOperation(const std::string& Source, const std::string& Target, TKCFileOperation Operation);
  bool CopyFile(const std::string& Source, const std::string& Target) { return FileOperation(Source, Target, foCopy); }
  // The copy of one file with every byte shown to check
  // (Platform::CheckedCopy), both names expanded to full paths.
  bool CheckedCopy(const std::string& Source, const std::string& Target, platform::CopyCheck& check);
  // The error code of the last shell operation (0 after success).
  int LastError() const { return m_lastError; }

  TKCFileOpFlags Options = {ffFilesOnly, ffUseRecycleBin};

  // Takes Name (as a full path) when it names an existing file; otherwise the
  // previous file stays. A new file also forgets the last attribute set written.
  void SetFileName(const std::string& Name);
  const std::string& FileName() const { return m_fileName; }

  // The attributes of the file; empty when it does not exist as a file.
  TKCFileCtrlAttributes Attributes() const;
  // Writes the attribute word, unless Value equals the set written last or
  // the file does not exist.
  void SetAttributes(TKCFileCtrlAttributes Value);

  // Low 32 bits of the size; 0 when the file cannot be opened.
  int32_t FileSize() const;

  // Time stamps as local date and time text; "" when the file cannot be
  // opened. A write parses the text in the same format; false when the text
  // cannot be read as a date and time (nothing changes) or the stamp cannot be
  // set.
  std::string FileCreateStamp() const { return StampText(0); }
  std::string FileAccessStamp() const { return StampText(1); }
  std::string FileWriteStamp() const { return StampText(2); }
  bool SetFileCreateStamp(const std::string& Text) { return SetStamp(0, Text); }
  bool SetFileAccessStamp(const std::string& Text) { return SetStamp(1, Text); }
  bool SetFileWriteStamp(const std::string& Text) { return SetStamp(2, Text); }

  // The shell's type name, else the upper-cased extension and "-Files".
  std::string FileType() const;

 private:
  std::string StampText(int which) const;
  bool SetStamp(int which, const std::string& Text);

  platform::Platform& m_platform;
  std::string m_fileName;
  TKCFileCtrlAttributes m_lastAttributes;
  int m_lastError = 0;
};
