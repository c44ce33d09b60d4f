#include "setup/silentrun.h"

#include <chrono>
#include <csignal>

#include "install/installengine.h"
#include "install/kcsysinfo.h"
#include "install/transaction.h"
#include "platform/platform.h"
#include "setup/choices.h"
#include "setup/installlog.h"
#include "setup/loadmedium.h"
#include "setup/runlog.h"
#include "setup/recovery.h"
#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "setupdata/setupfile.h"
#include "platform/text/utf8.h"
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

// The language of SETUP.INF named so, letter case ignored; empty when none is.
std::string FindLanguage(const SetupData& data, const std::string& name) {
  for (const std::string& l : data.Languages) {
    if (!name.empty() && text::SameName(LanguageSectionName(data.SetupIni, l), name)) return l;
  }
  return std::string();
}

// A target as the user gave it: a full path on a drive that is there, not a file.
bool UsableTarget(platform::Platform& platform, const std::string& target) {
  const std::string full = platform.FullPath(target);
  if (full.size() < 3 || full[1] != ':') return false;
  return platform.IsDirectory(full.substr(0, 3)) && !platform.IsFile(full);
}

}  // namespace

int RunSilentInstall(platform::Platform& platform, EventLoop& loop, const CommandLine& options) {
  InstallLog log(platform);
  const auto start = std::chrono::steady_clock::now();
  const int code = RunSilentInstall(platform, loop, options, &log);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  log.Info("end", {std::to_string(code), std::to_string(seconds)});
  return code;
}

int RunSilentInstall(platform::Platform& platform, EventLoop& loop, const CommandLine& options, InstallLog* log) {
  if (!OpenRunLog(platform, options, log)) return kExitCommandLine;
  SetupData data;
  std::optional<MediumManifest> manifest;
  const std::string failure = LoadMedium(platform, &data, &manifest);
  LogStart(platform, options, data.SourceDir, log);
  if (!failure.empty()) {
    log->Error("setup", {failure});
    ShowMsgBox("Error", failure, MB_OK);
    return kExitSetupInf;
  }
  // The last install of this product preselects; the command line wins.
  const RememberedChoices remembered(platform, ProductKey(data));
  bool damaged = false;
  const Choices last = remembered.Load(&damaged);
  if (damaged) log->Error("settings", {"the settings file cannot be read; it is ignored"});
  std::string language = FindLanguage(data, options.hasLanguage ? options.language : last.language);
  if (language.empty()) {
    if (options.hasLanguage) {
      ShowMsgBox("Error", "SETUP.INF offers no language \"" + options.language + "\"", MB_OK);
      return kExitCommandLine;
    }
    language = data.Languages.front();
  }
  TextCatalogue texts(data.SetupIni);
  texts.SetCurrentLanguage(language);
  log->Info("language", {texts.CurrentLanguage()});
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
  log->Info("licence", {licenceName, std::to_string(licence.size())});
  if (!options.acceptLicense) {
    log->Error("licence", {"not accepted"});
    ShowMsgBox(caption, "The licence must be accepted: /ACCEPTLICENSE or --accept-license.", MB_ICONINFORMATION);
    return kExitLicence;
  }

  const Choices chosen = Overlay(last, ChoicesOf(options));
  CopyRequest request;
  request.Sirel = chosen.hasComponents ? chosen.macros : true;
  request.Beispiel = chosen.hasComponents && chosen.sample;
  request.DXF = chosen.hasComponents && chosen.dxf;
  if (request.Sirel || request.Beispiel) {
    if (options.hasSirel) {
      request.SirelTargetBase = options.sirel;
    } else if (!last.sirel.empty() && platform.IsDirectory(last.sirel)) {
      request.SirelTargetBase = last.sirel;
    } else {
      TKCSysInfo sysInfo(platform);
      const std::vector<std::string> offers = ScanTargetDrives(platform, sysInfo, data.Boot.DefaultTargetSubdir);
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
    std::string dxf = options.dxfTarget;
    if (!options.hasDxfTarget && !last.dxfTarget.empty() && platform.IsDirectory(last.dxfTarget)) {
      dxf = last.dxfTarget;
    }
    if (dxf.empty() || !UsableTarget(platform, dxf)) {
      ShowMsgBox(caption,
                 dxf.empty() ? std::string("The DXF drawings need a target: /DXF= or --dxf=.")
                             : "The target \"" + dxf + "\" cannot be used.",
                 MB_ICONINFORMATION);
      return kExitTarget;
    }
    request.DxfTargetBase = dxf;
  }

  log->Info("components", {std::string(request.Sirel ? "macros " : "") + (request.Beispiel ? "sample " : "") +
                           (request.DXF ? "dxf" : "")});
  log->Info("targets", {request.SirelTargetBase, request.DxfTargetBase});
  NullProgressView view;
  InstallEngine engine(platform, loop, view, texts, data.SourceDir, [&caption] { return caption; });
  if (manifest) engine.UseManifest(&*manifest);
  LogEngine(log, platform, engine);
  engine.BuildCopyPlan(request);
  LogOutcome(log, engine);
  if (engine.Outcome == InstallOutcome::kInstalled &&
      !remembered.Save(ChoicesOfRequest(texts.CurrentLanguage(), request))) {
    log->Error("settings", {"the choices cannot be kept for the next run"});
  }
  ShowMsgBox(caption, engine.InstallAborted ? AbortMessage(stored) : DoneText(stored, texts, engine.KeptBackups),
             MB_ICONINFORMATION);
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
                    const std::function<void(const std::string&)>& error, CommandLine* options, int* exitCode) {
  std::string why;
  if (!ParseCommandLine(args, options, &why)) {
    error("setup: " + why);
    *exitCode = kExitCommandLine;
    return true;
  }
  // Paths as the user of this system writes them (on Linux "/tmp/x").
  for (std::string* path : {&options->sirel, &options->dxfTarget, &options->log}) {
    *path = platform.CommandLinePath(*path);
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
