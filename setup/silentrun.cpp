#include "setup/silentrun.h"

#include <csignal>

#include "install/installengine.h"
#include "install/kcsysinfo.h"
#include "platform/platform.h"
#include "setup/recovery.h"
#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "setupdata/setupfile.h"
#include "setupdata/textcase.h"
#include "stools/stools.h"

int ExitCodeOf(InstallOutcome outcome) {
  switch (outcome) {
    case InstallOutcome::kInstalled: return kExitInstalled;
    case InstallOutcome::kRefused: return kExitTarget;
    case InstallOutcome::kNoSpace: return kExitSpace;
    case InstallOutcome::kCopyFailed: return kExitCopyFailed;
    case InstallOutcome::kAbandoned: return kExitAbandoned;
  }
  return kExitCopyFailed;
}

namespace {

// A target as the user gave it: a full path on a drive that is there, not a file.
bool UsableTarget(platform::Platform& platform, const std::string& target) {
  const std::string full = platform.FullPath(target);
  if (full.size() < 3 || full[1] != ':') return false;
  return platform.IsDirectory(full.substr(0, 3)) && !platform.IsFile(full);
}

}  // namespace

int RunSilentInstall(platform::Platform& platform, EventLoop& loop, const CommandLine& options) {
  SetupData data;
  const SetupLoadResult loaded = LoadSetup(platform, &data);
  if (loaded != SetupLoadResult::kLoaded) {
    ReportStartupFailure(loaded);
    return kExitSetupInf;
  }
  std::string language = data.Languages.front();
  if (options.hasLanguage) {
    language.clear();
    for (const std::string& l : data.Languages) {
      if (language.empty() && SameTextNoCase(l.substr(0, kMaxLanguageName), options.language)) language = l;
    }
    if (language.empty()) {
      ShowMsgBox("Error", "SETUP.INF offers no language \"" + options.language + "\"", MB_OK);
      return kExitCommandLine;
    }
  }
  TextCatalogue texts(data.SetupIni);
  texts.SetCurrentLanguage(language);
  const StoredTexts stored = ReadStoredTexts(texts);
  const std::string caption = MessageCaption(stored);

  // A run that was killed is undone before anything else is written.
  UndoInterruptedRuns(platform, texts, caption);

  // The licence is read as the wizard reads it; only the option accepts it.
  std::string licence;
  const std::string licenceName = texts.LanguageText(1);
  if (licenceName.empty() || !platform.ReadWholeFile(AddBackslash(data.SourceDir) + licenceName, &licence)) {
    ShowMsgBox(caption, "The licence file \"" + licenceName + "\" could not be read from the delivery medium.",
               MB_ICONINFORMATION);
  }
  if (!options.acceptLicense) {
    ShowMsgBox(caption, "The licence must be accepted: /ACCEPTLICENSE or --accept-license.", MB_ICONINFORMATION);
    return kExitLicence;
  }

  CopyRequest request;
  request.Sirel = options.hasComponents ? options.macros : true;
  request.Beispiel = options.hasComponents && options.sample;
  request.DXF = options.hasComponents && options.dxf;
  if (request.Sirel || request.Beispiel) {
    if (options.hasSirel) {
      request.SirelTargetBase = options.sirel;
    } else {
      TKCSysInfo sysInfo(platform);
      const std::vector<std::string> offers =
          ScanTargetDrives(platform, sysInfo, data.Boot.DefaultTargetSubdir);
      if (offers.empty()) {
        ShowMsgBox(caption, stored.NoDriveMessage, MB_ICONINFORMATION);
        return kExitTarget;
      }
      request.SirelTargetBase = offers.front();
    }
    if (!UsableTarget(platform, request.SirelTargetBase)) {
      ShowMsgBox(caption, "The target \"" + request.SirelTargetBase + "\" cannot be used.", MB_ICONINFORMATION);
      return kExitTarget;
    }
  }
  if (request.DXF) {
    if (!options.hasDxfTarget || !UsableTarget(platform, options.dxfTarget)) {
      ShowMsgBox(caption,
                 options.hasDxfTarget ? "The target \"" + options.dxfTarget + "\" cannot be used."
                                      : std::string("The DXF drawings need a target: /DXF= or --dxf=."),
                 MB_ICONINFORMATION);
      return kExitTarget;
    }
    request.DxfTargetBase = options.dxfTarget;
  }

  NullProgressView view;
  InstallEngine engine(platform, loop, view, texts, data.SourceDir, [&caption] { return caption; });
  engine.BuildCopyPlan(request);
  ShowMsgBox(caption, engine.InstallAborted ? AbortMessage(stored) : DoneText(stored, texts, engine.KeptBackups), MB_ICONINFORMATION);
  return ExitCodeOf(engine.Outcome);
}

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void RequestStop(int) { g_stopRequested = 1; }

}  // namespace

SignalEventLoop::SignalEventLoop() {
  g_stopRequested = 0;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
}

SignalEventLoop::~SignalEventLoop() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

bool SignalEventLoop::Terminating() { return g_stopRequested != 0; }

bool RunCommandLine(platform::Platform& platform, const std::vector<std::string>& args,
                    const std::function<void(const std::string&)>& usage,
                    const std::function<void(const std::string&)>& error, CommandLine* options,
                    int* exitCode) {
  std::string why;
  if (!ParseCommandLine(args, options, &why)) {
    error("setup: " + why);
    *exitCode = kExitCommandLine;
    return true;
  }
  if (options->help) {
    usage(UsageText());
    *exitCode = kExitInstalled;
    return true;
  }
  if (!options->silent) return false;
  SignalEventLoop loop;
  *exitCode = RunSilentInstall(platform, loop, *options);
  return true;
}
