#include "setupdata/setupfile.h"

#include "platform/platform.h"
#include "setupdata/setupvalue.h"
#include "stools/stools.h"

std::string SourceDirOf(const std::string& programPath) {
  const size_t cut = programPath.find_last_of("\\:");
  const std::string dir = cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
  return RemoveBackslash(dir);
}

std::string SetupFilePath(const std::string& SourceDir) { return AddBackslash(SourceDir) + "SETUP.INF"; }

BootSetup ReadBootSetup(const TMemIniFile& SetupIni) {
  BootSetup boot;
  boot.TotalFileSize = ReadSetupInteger(SetupIni, "BootSetup", "TotalFileSize", 1);
  boot.ReqSpace = ReadSetupInteger(SetupIni, "BootSetup", "ReqSpace", 1);
  boot.SetupVersion = ReadSetupValue(SetupIni, "BootSetup", "Version");
  boot.SetupVersion = SetupIni.Cut(boot.SetupVersion, kMaxVersionLength);
  boot.DefaultBrowsePath = ReadSetupValue(SetupIni, "BootSetup", "DefaultPath");
  boot.DefaultTargetSubdir = ReadSetupValue(SetupIni, "BootSetup", "DefaultDir");
  return boot;
}

std::vector<std::string> LanguageList(const TMemIniFile& SetupIni) {
  std::vector<std::string> languages;
  for (size_t n = 1; n <= kMaxLanguages + 1; ++n) {
    std::string name = ReadSetupValue(SetupIni, "Languages", std::to_string(n));
    if (name.empty()) break;
    languages.push_back(std::move(name));
  }
  return languages;
}

SetupLoadResult LoadSetup(platform::Platform& platform, SetupData* data) {
  data->SourceDir = SourceDirOf(platform.ProgramFileName());
  const std::string path = SetupFilePath(data->SourceDir);
  if (!platform.IsFile(path)) return SetupLoadResult::kMissing;
  std::string text;
  if (!platform.ReadWholeFile(path, &text)) return SetupLoadResult::kUnreadable;
  data->SetupIni = TMemIniFile(text);
  data->Boot = ReadBootSetup(data->SetupIni);
  data->Languages = LanguageList(data->SetupIni);
  if (data->Languages.empty()) return SetupLoadResult::kNoLanguage;
  if (data->Languages.size() > kMaxLanguages) return SetupLoadResult::kTooManyLanguages;
  return SetupLoadResult::kLoaded;
}

std::string StartupFailureText(SetupLoadResult result) {
  switch (result) {
    case SetupLoadResult::kLoaded: return std::string();
    case SetupLoadResult::kMissing: return "File SETUP.INF not found";
    case SetupLoadResult::kUnreadable: return "File SETUP.INF cannot be read";
    case SetupLoadResult::kNoLanguage: return "File SETUP.INF offers no language";
    case SetupLoadResult::kTooManyLanguages: return "File SETUP.INF offers more than 253 languages";
  }
  return std::string();
}

void ReportStartupFailure(SetupLoadResult result) { ShowMsgBox("Error", StartupFailureText(result), MB_OK); }
