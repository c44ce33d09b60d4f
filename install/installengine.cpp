#include "install/installengine.h"

#include "install/eventloop.h"
#include "install/manifest.h"
#include "platform/platform.h"
#include "install/spacecheck.h"
#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "stools/stools.h"

namespace {

constexpr size_t kMaxSubdir = 1024;
constexpr uint32_t kArchiveOnly = 0x20;

// Shows the busy cursor for its lifetime, also when the work fails.
class BusyCursor {
 public:
  explicit BusyCursor(CopyProgressView& view) : m_view(view) { m_view.SetBusyCursor(true); }
  ~BusyCursor() { m_view.SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  CopyProgressView& m_view;
};

}  // namespace

InstallEngine::InstallEngine(platform::Platform& platform, EventLoop& loop, CopyProgressView& view,
                             const TextCatalogue& texts, std::string SourceDir,
                             std::function<std::string()> messageCaption)
    : KCFileGrep(platform, loop),
      KCFileCtrl(platform),
      m_platform(platform),
      m_loop(loop),
      m_view(view),
      m_texts(texts),
      m_sourceDir(std::move(SourceDir)),
      m_messageCaption(std::move(messageCaption)),
      m_transaction(platform) {
  KCFileGrep.FileMasks = "*.*";
  KCFileGrep.CaseSensitiveContent = false;
  KCFileGrep.ThreadedSearch = false;
  KCFileGrep.SetThreadPriority(tpIdle);
  KCFileGrep.OnFound = [this](void* Sender, const std::string& found) { KCFileGrepFound(Sender, found); };
  KCFileCtrl.Options = {ffNoActionConfirm, ffShowNoErrors, ffShowNoProgress};
}

void InstallEngine::BuildCopyPlan(const CopyRequest& request) {
  PlanFixedList(request);
  BusyCursor busy(m_view);
  PlanSearchGroups(request);
  if (m_loop.Terminating()) {
    // A close request during the search abandons the install before any copy.
    InstallAborted = true;
    Outcome = InstallOutcome::kAbandoned;
    return;
  }
  PlanProblem problem;
  if (!CheckPlan(&problem)) {
    Tell(problem.textId, problem.args);
    InstallAborted = true;
    Outcome = InstallOutcome::kRefused;
    return;
  }
  SpaceShortage shortage;
  if (!CheckSpace(m_platform, SourceFileList, TargetFileList, &shortage, &SpaceChecked)) {
    Tell(kSpaceShortText, {shortage.drive.substr(0, 1), MegabytesUp(shortage.need), MegabytesDown(shortage.free)});
    InstallAborted = true;
    Outcome = InstallOutcome::kNoSpace;
    return;
  }
  if (OnPlanned) OnPlanned();
  CopyPlannedFiles();
}

void InstallEngine::Tell(int textId, const std::vector<std::string>& args) const {
  ShowMsgBox(m_messageCaption(), Format(m_texts.TextOrBuiltIn(textId), args), MB_ICONINFORMATION);
}

void InstallEngine::PlanCopy(const CopyRequest& request) {
  PlanFixedList(request);
  PlanSearchGroups(request);
}

void InstallEngine::PlanFixedList(const CopyRequest& request) {
  SourceFileList.clear();
  TargetFileList.clear();
  m_targetBases.clear();
  PlanComponents.clear();
  SpaceChecked.clear();
  m_planProblems.clear();
  InstallAborted = false;
  Outcome = InstallOutcome::kInstalled;
  KeptBackups.clear();
  LastRollback = RollbackReport();
  FailureDetails.clear();
  if (!request.Sirel) return;
  const std::string programDir = AddBackslash(m_sourceDir);
  for (int id = kFixedListFirstId;; ++id) {
    const std::string t = m_texts.LanguageText(id);
    if (t.empty()) break;
    SourceFileList.push_back(programDir + t);
    TargetFileList.push_back(AddBackslash(request.SirelTargetBase) + t);
    m_targetBases.push_back(request.SirelTargetBase);
    PlanComponents.push_back(kFixedListFirstId);
  }
}

void InstallEngine::PlanSearchGroups(const CopyRequest& request) {
  if (request.Sirel) AddSearchGroups(kSirelGroupsFirstId, request.SirelTargetBase);
  if (request.Beispiel) AddSearchGroups(kSampleGroupsFirstId, request.SirelTargetBase);
  if (request.DXF) AddSearchGroups(kDxfGroupsFirstId, request.DxfTargetBase);
}

void InstallEngine::AddSearchGroups(int FirstId, const std::string& TargetBase) {
  const std::string programDir = AddBackslash(m_sourceDir);
  const std::string medium = m_platform.FullPath(programDir);
  for (int id = FirstId;; ++id) {
    if (m_loop.Terminating()) return;
    const std::string t = m_texts.LanguageText(id);
    if (t.empty()) return;
    const size_t p = t.find(';');
    CurrentSearchRoot = programDir + (p == std::string::npos ? std::string() : t.substr(0, p));
    CurrentTargetDir = AddBackslash(TargetBase) + (p == std::string::npos ? t : t.substr(p + 1)).substr(0, kMaxSubdir);
    // A group whose folder lies outside the medium, by its text or by the
    // links on its way, is not searched, and refuses the plan.
    const std::string real = m_platform.RealPath(CurrentSearchRoot);
    if (!PathLiesIn(m_platform.FullPath(CurrentSearchRoot), medium) || real.empty() ||
        !PathLiesIn(real, m_platform.RealPath(medium))) {
      m_planProblems.push_back(
          {kOutsideMediumText, {CurrentSearchRoot}, "search group outside the medium: " + CurrentSearchRoot});
      continue;
    }
    m_currentBase = TargetBase;
    m_currentComponent = FirstId;
    KCFileGrep.Dirs = CurrentSearchRoot;
    KCFileGrep.Search();
    if (!KCFileGrep.UnreadableFolder().empty()) {
      m_planProblems.push_back({kUnreadableFolderText,
                                {KCFileGrep.UnreadableFolder()},
                                "folder cannot be read: " + KCFileGrep.UnreadableFolder()});
    }
  }
}

void InstallEngine::KCFileGrepFound(void* /*Sender*/, const std::string& found) {
  std::string path;
  path.reserve(found.size());
  for (char c : found) {
    if (c != KCFileGrep.ReturnDelimiter) path += c;
  }
  if (m_platform.IsDirectory(path)) return;
  SourceFileList.push_back(path);
  const std::string rest =
      path.size() > CurrentSearchRoot.size() ? path.substr(CurrentSearchRoot.size()) : std::string();
  TargetFileList.push_back(AddBackslash(CurrentTargetDir) + rest.substr(0, kMaxSubdir));
  m_targetBases.push_back(m_currentBase);
  PlanComponents.push_back(m_currentComponent);
}

void InstallEngine::Abort() {
  const std::string first = m_texts.LanguageText(24);
  ShowMsgBox(m_messageCaption(), FailureDetails.empty() ? first : first + "\n\n" + FailureDetails, MB_ICONINFORMATION);
  if (!LastRollback.complete()) {
    Tell(kRestoreIncompleteText, {LastRollback.keptIn, LastRollback.listFile});
  }
  InstallAborted = true;
}

void InstallEngine::RollBack() { LastRollback = m_transaction.Rollback(); }

void InstallEngine::CopyPlannedFiles() {
  m_view.SetMeterMaxValue(static_cast<int>(SourceFileList.size()));
  m_transaction.Begin(m_targetBases, TargetFileList, InstallTransaction::NowStamp());
  // The lists are read by index and each entry is copied out before window
  // messages run, so a handler that touches the lists cannot pull them away.
  for (size_t i = 0; i < SourceFileList.size() && i < TargetFileList.size(); ++i) {
    if (m_loop.Terminating()) {
      RollBack();
      InstallAborted = true;
      Outcome = InstallOutcome::kAbandoned;
      if (!LastRollback.complete()) {
        Tell(kRestoreIncompleteText, {LastRollback.keptIn, LastRollback.listFile});
      }
      return;
    }
    const std::string source = SourceFileList[i];
    const std::string target = TargetFileList[i];
    const std::string base = i < m_targetBases.size() ? m_targetBases[i] : std::string();
    m_view.StepMeterValue();
    // Prepare says why when it fails; CopyOneFile sets its own reason.
    const bool copied = m_transaction.Prepare(target, base, &m_failureReason) && CopyOneFile(source, target);
    if (!copied) {
      FailureDetails = source + "\n" + target + "\n" + m_failureReason;
      if (OnCopyFailed) OnCopyFailed(source, target);
      RollBack();
      Outcome = InstallOutcome::kCopyFailed;
      Abort();
      return;
    }
    if (OnCopied) OnCopied(source, target);
  }
  // Success is reported only once the files are on stable storage.
  if (!m_transaction.Commit(&KeptBackups)) {
    FailureDetails = "the installed files cannot be put on stable storage";
    RollBack();
    Outcome = InstallOutcome::kCopyFailed;
    Abort();
    return;
  }
  Outcome = InstallOutcome::kInstalled;
}

bool InstallEngine::CopyOneFile(const std::string& Source, const std::string& Target) {
  const size_t cut = Source.find_last_of("\\:");
  m_view.SetLabelFile(cut == std::string::npos ? Source : Source.substr(cut + 1));
  m_loop.ProcessMessages();
  // Nothing stands where the file goes: the transaction has just set aside
  // the file that was there, and refused a folder (the shell would copy
  // into it, and the check below would read another file).
  m_failureReason.clear();
  const bool ok = m_manifest ? CopyChecked(Source, Target) : KCFileCtrl.CopyFile(Source, Target);
  if (!ok && m_failureReason.empty()) m_failureReason = m_platform.ErrorText(KCFileCtrl.LastError());
  if (!ok) return false;
  // The copy keeps the archive attribute alone; one look then tells both
  // whether it is there and what it keeps (each look at a name costs under
  // Wine a walk of the path).
  const bool set = m_platform.SetAttributes(Target, kArchiveOnly);
  const uint32_t word = m_platform.FileAttributes(Target);
  if (word == platform::kInvalidAttributes || (word & platform::kAttrDirectory)) {
    m_failureReason = "the copy is not there";
    return false;
  }
  const TKCFileCtrlAttributes got = AttributesOfWord(word);
  if (got == TKCFileCtrlAttributes{fcaArchive}) return true;
  m_failureReason = "the copy does not keep the archive attribute alone";
  // Where the file system keeps no attribute word, a name that starts with a
  // dot is hidden by its name alone; the word was set as far as it can be.
  const size_t nameAt = Target.find_last_of("\\:");
  const std::string name = nameAt == std::string::npos ? Target : Target.substr(nameAt + 1);
  return set && !name.empty() && name[0] == '.' && got == TKCFileCtrlAttributes{fcaArchive, fcaHidden};
}

void InstallEngine::UseManifest(const MediumManifest* manifest) {
  m_manifest = manifest;
  m_mediumDir = m_platform.FullPath(AddBackslash(m_sourceDir));
}

bool InstallEngine::CopyChecked(const std::string& Source, const std::string& Target) {
  const std::string relative = MediumRelativePath(m_platform.FullPath(Source), m_mediumDir);
  const std::string* digest = m_manifest->DigestOf(relative);
  if (!digest) {
    // The list cannot name itself; a group that copies the whole medium
    // copies it unchecked.
    if (IsManifestPath(relative)) return KCFileCtrl.CopyFile(Source, Target);
    m_failureReason = std::string("the file is not listed in ") + MediumManifest::kFileName;
    return false;
  }
  DigestCheck check(*digest);
  const bool ok = KCFileCtrl.CheckedCopy(Source, Target, check);
  if (check.Refused()) {
    m_failureReason =
        std::string("the file is damaged on the medium: its content differs from ") + MediumManifest::kFileName;
  }
  return ok;
}
