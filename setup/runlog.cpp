#include "setup/runlog.h"

#include <cstdint>
#include <vector>

#include "install/installengine.h"
#include "install/sha256.h"
#include "install/transaction.h"
#include "platform/platform.h"
#include "setup/installlog.h"
#include "setupdata/catalogue.h"
#include "stools/stools.h"

namespace {

// "C:=3 D:=5 ...": each drive root and its type.
std::string DriveTable(platform::Platform& platform) {
  char roots[255] = {};
  const uint32_t count = platform.LogicalDriveStrings(254, roots);
  std::string table;
  for (uint32_t p = 0; count <= 254 && p + 1 < count; p += 4) {
    const std::string root(roots + p, 3);
    table += (table.empty() ? "" : " ") + root.substr(0, 2) + "=" + std::to_string(platform.DriveTypeOf(root));
  }
  return table;
}

// The space check of each target drive: need and free bytes.
void LogSpace(InstallLog* log, const std::vector<DriveSpace>& drives) {
  for (const DriveSpace& d : drives) {
    log->Info("space", {d.drive, std::to_string(d.need), d.free == UINT64_MAX ? "-" : std::to_string(d.free)});
  }
}

}  // namespace

bool OpenRunLog(platform::Platform& platform, const CommandLine& options, InstallLog* log) {
  if (!options.hasLog) return true;
  // Never onto the medium; a log that cannot be written stops the run
  // before anything is copied.
  const std::string program = platform.ProgramFileName();
  const std::string medium = program.substr(0, program.find_last_of('\\') + 1);
  const std::string path = platform.FullPath(options.log);
  if (path.empty() || PathLiesIn(path, RemoveBackslash(platform.FullPath(medium))) || !log->Open(path)) {
    ShowMsgBox("Error", "The log file \"" + options.log + "\" cannot be written.", MB_OK);
    return false;
  }
  return true;
}

void LogStart(platform::Platform& platform, const CommandLine& options, const std::string& sourceDir, InstallLog* log) {
  std::string setup;
  const std::string sum =
      platform.ReadWholeFile(AddBackslash(sourceDir) + "SETUP.INF", &setup) ? Sha256::Of(setup) : std::string("-");
  log->Info("start", {SETUP_VERSION, options.text, sourceDir, sum, DriveTable(platform)});
}

void LogEngine(InstallLog* log, platform::Platform& platform, InstallEngine& engine) {
  engine.OnCopied = [log, &platform](const std::string& source, const std::string& target) {
    uint64_t bytes = 0;
    platform.FileSizeOf(target, &bytes);
    log->Info("copied", {source, target, std::to_string(bytes)});
  };
  engine.OnCopyFailed = [log, &engine](const std::string& source, const std::string& target) {
    log->Error("failed", {source, target, std::to_string(engine.KCFileCtrl.LastError()), engine.CopyFailureReason()});
  };
  engine.OnPlanned = [log, &platform, &engine] {
    // Files and bytes per component, then the space check of each drive.
    uint64_t bytes[3] = {};
    size_t files[3] = {};
    for (size_t i = 0; i < engine.SourceFileList.size() && i < engine.PlanComponents.size(); ++i) {
      const int id = engine.PlanComponents[i];
      const int c = id == kSampleGroupsFirstId ? 1 : id == kDxfGroupsFirstId ? 2 : 0;
      uint64_t size = 0;
      platform.FileSizeOf(engine.SourceFileList[i], &size);
      bytes[c] += size;
      ++files[c];
    }
    static const char* const kNames[] = {"macros", "sample", "dxf"};
    std::vector<std::string> fields = {std::to_string(engine.SourceFileList.size())};
    for (int c = 0; c < 3; ++c) {
      if (files[c]) {
        fields.push_back(std::string(kNames[c]) + "=" + std::to_string(files[c]) + " files " +
                         std::to_string(bytes[c]) + " bytes");
      }
    }
    log->Info("plan", fields);
    LogSpace(log, engine.SpaceChecked);
  };
}

void LogOutcome(InstallLog* log, const InstallEngine& engine) {
  for (const std::string& kept : engine.KeptBackups) log->Info("backup", {kept});
  if (engine.Outcome == InstallOutcome::kNoSpace) LogSpace(log, engine.SpaceChecked);
  for (const std::string& step : engine.LastRollback.steps) log->Info("rollback", {step});
  for (const RollbackReport::Left& left : engine.LastRollback.notRestored) {
    log->Error("not restored", {left.target, left.backup});
  }
}
