#include "install/installengine.h"

#include "install/eventloop.h"
#include "platform/platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/textcase.h"
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

// True when the normalised path lies in the normalised base or below it.
bool LiesIn(const std::string& path, const std::string& base) {
  if (path.empty() || base.empty() || path.size() < base.size()) return false;
  if (!SameTextNoCase(std::string_view(path).substr(0, base.size()), base)) return false;
  return path.size() == base.size() || base.back() == '\\' || path[base.size()] == '\\';
}

}  // namespace

InstallEngine::InstallEngine(platform::Platform& platform, EventLoop& loop,
                             CopyProgressView& view, const TextCatalogue& texts,
                             std::string SourceDir, std::function<std::string()> messageCaption)
    : KCFileGrep(platform, loop),
      KCFileCtrl(platform),
      m_platform(platform),
      m_loop(loop),
      m_view(view),
      m_texts(texts),
      m_sourceDir(std::move(SourceDir)),
      m_messageCaption(std::move(messageCaption)) {
  KCFileGrep.FileMasks = "*.*";
  KCFileGrep.CaseSensitiveContent = false;
  KCFileGrep.ThreadedSearch = false;
  KCFileGrep.SetThreadPriority(tpIdle);
  KCFileGrep.OnFound = [this](void* Sender, const std::string& found) {
    KCFileGrepFound(Sender, found);
  };
  KCFileCtrl.Options = {ffNoActionConfirm, ffShowNoErrors, ffShowNoProgress};
}

void InstallEngine::BuildCopyPlan(const CopyRequest& request) {
  PlanFixedList(request);
  BusyCursor busy(m_view);
  PlanSearchGroups(request);
  if (m_loop.Terminating()) {
    // A close request during the search abandons the install before any copy.
    InstallAborted = true;
    return;
  }
  std::string why;
  if (!CheckPlan(&why)) {
    Abort();
    return;
  }
  CopyPlannedFiles();
}

void InstallEngine::PlanCopy(const CopyRequest& request) {
  PlanFixedList(request);
  PlanSearchGroups(request);
}

void InstallEngine::PlanFixedList(const CopyRequest& request) {
  SourceFileList.clear();
  TargetFileList.clear();
  m_targetBases.clear();
  InstallAborted = false;
  if (!request.Sirel) return;
  const std::string programDir = AddBackslash(m_sourceDir);
  for (int id = kFixedListFirstId;; ++id) {
    const std::string t = m_texts.LanguageText(id);
    if (t.empty()) break;
    SourceFileList.push_back(programDir + t);
    TargetFileList.push_back(AddBackslash(request.SirelTargetBase) + t);
    m_targetBases.push_back(request.SirelTargetBase);
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
    CurrentTargetDir = AddBackslash(TargetBase) +
                       (p == std::string::npos ? t : t.substr(p + 1)).substr(0, kMaxSubdir);
    // A group that names a folder outside the medium is not searched.
    if (!LiesIn(m_platform.FullPath(CurrentSearchRoot), medium)) continue;
    m_currentBase = TargetBase;
    KCFileGrep.Dirs = CurrentSearchRoot;
    KCFileGrep.Search();
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
}

bool InstallEngine::CheckPlan(std::string* why) const {
  const std::string medium = m_platform.FullPath(AddBackslash(m_sourceDir));
  for (size_t i = 0; i < SourceFileList.size() && i < TargetFileList.size(); ++i) {
    if (!LiesIn(m_platform.FullPath(SourceFileList[i]), medium)) {
      *why = "source outside the medium: " + SourceFileList[i];
      return false;
    }
    const std::string base = i < m_targetBases.size() ? m_platform.FullPath(m_targetBases[i]) : "";
    const std::string target = m_platform.FullPath(TargetFileList[i]);
    if (!LiesIn(target, base) || target.size() == base.size()) {
      *why = "target outside its base: " + TargetFileList[i];
      return false;
    }
  }
  return true;
}

void InstallEngine::Abort() {
  ShowMsgBox(m_messageCaption(), m_texts.LanguageText(24), MB_ICONINFORMATION);
  InstallAborted = true;
}

void InstallEngine::CopyPlannedFiles() {
  m_view.SetMeterMaxValue(static_cast<int>(SourceFileList.size()));
  m_lastCreatedDir.clear();
  // The lists are read by index and each entry is copied out before window
  // messages run, so a handler that touches the lists cannot pull them away.
  for (size_t i = 0; i < SourceFileList.size() && i < TargetFileList.size(); ++i) {
    if (m_loop.Terminating()) {
      InstallAborted = true;
      return;
    }
    const std::string source = SourceFileList[i];
    const std::string target = TargetFileList[i];
    m_view.StepMeterValue();
    const size_t cut = target.rfind('\\');
    const std::string dir = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    if (dir != m_lastCreatedDir) {
      m_platform.MakeDirectories(dir);
      m_lastCreatedDir = dir;
    }
    if (!CopyOneFile(source, target)) {
      Abort();
      return;
    }
  }
}

bool InstallEngine::CopyOneFile(const std::string& Source, const std::string& Target) {
  const size_t cut = Source.find_last_of("\\:");
  m_view.SetLabelFile(cut == std::string::npos ? Source : Source.substr(cut + 1));
  m_loop.ProcessMessages();
  // A folder standing where the file goes fails the copy: the shell would
  // copy into the folder, and the check below would read another file.
  if (m_platform.IsDirectory(Target)) return false;
  const bool ok = KCFileCtrl.CopyFile(Source, Target);
  KCFileCtrl.SetFileName(Target);
  m_platform.SetAttributes(Target, kArchiveOnly);
  if (!ok || !m_platform.IsFile(Target)) return false;
  return KCFileCtrl.Attributes() == TKCFileCtrlAttributes{fcaArchive};
}
