#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setupdata/memini.h"

namespace platform {
class Platform;
}

// The [BootSetup] settings, read once at start-up.
struct BootSetup {
  std::string SetupVersion;         // "Version", at most 10 characters of the file's text
  std::string DefaultBrowsePath;    // "DefaultPath"
  std::string DefaultTargetSubdir;  // "DefaultDir"
  int32_t TotalFileSize = 1;        // read, never used
  int32_t ReqSpace = 1;             // read, never used
};

constexpr size_t kMaxVersionLength = 10;
// Language keys are counted in a byte: more than this many cannot be offered.
constexpr size_t kMaxLanguages = 253;

// The directory part of a program path (up to its last backslash or colon)
// without a trailing backslash: "D:\SETUP.EXE" gives "D:", "C:\x\s.exe" "C:\x".
std::string SourceDirOf(const std::string& programPath);

// Path of the setup file in SourceDir.
std::string SetupFilePath(const std::string& SourceDir);

// Reads "TotalFileSize", "ReqSpace", "Version", "DefaultPath", "DefaultDir",
// in that order.
BootSetup ReadBootSetup(const TMemIniFile& SetupIni);

// Language names from [Languages] keys "1", "2", ... up to the first empty
// one; at most kMaxLanguages + 1 are read, so a longer list shows as too long.
std::vector<std::string> LanguageList(const TMemIniFile& SetupIni);

// Everything start-up reads from SETUP.INF.
struct SetupData {
  std::string SourceDir;
  TMemIniFile SetupIni;
  BootSetup Boot;
  std::vector<std::string> Languages;
};

enum class SetupLoadResult {
  kLoaded,
  kMissing,           // no file SETUP.INF in SourceDir
  kUnreadable,        // the file exists but cannot be read
  kNoLanguage,        // [Languages] offers no language
  kTooManyLanguages,  // more than kMaxLanguages languages
};

// Start-up loading: SourceDir from the program's path, the existence test,
// SetupIni, the [BootSetup] settings and the language list.
SetupLoadResult LoadSetup(platform::Platform& platform, SetupData* data);

// The message that ends start-up after a failed load ("File SETUP.INF not
// found" for a missing file); empty for kLoaded.
std::string StartupFailureText(SetupLoadResult result);

// Shows the start-up failure with caption "Error" and flags 0.
void ReportStartupFailure(SetupLoadResult result);
