// The check of a copy plan before the first byte is written.
#include <map>
#include <unordered_map>

#include "install/installengine.h"
#include "platform/platform.h"
#include "setupdata/catalogue.h"
#include "stools/stools.h"

namespace {

// Real places of folders, asked once per folder.
class RealFolders {
 public:
  explicit RealFolders(platform::Platform& platform) : m_platform(platform) {}
  // The real path of a target: its folder's real path (remembered) and the
  // name. A target that is itself a link is replaced, never written through.
  std::string Of(const std::string& full) {
    const size_t cut = full.rfind('\\');
    if (cut == std::string::npos || cut < 2) return m_platform.RealPath(full);
    const std::string folder = full.substr(0, cut);
    auto it = m_folders.find(folder);
    if (it == m_folders.end()) it = m_folders.emplace(folder, m_platform.RealPath(folder)).first;
    if (it->second.empty()) return std::string();
    return AddBackslash(it->second) + full.substr(cut + 1);
  }

 private:
  platform::Platform& m_platform;
  std::unordered_map<std::string, std::string> m_folders;
};

}  // namespace

bool InstallEngine::CheckPlan(std::string* why) const {
  PlanProblem problem;
  const bool ok = CheckPlan(&problem);
  if (!ok) *why = problem.why;
  return ok;
}

bool InstallEngine::CheckPlan(PlanProblem* problem) const {
  std::vector<PlanProblem> problems;
  CollectPlanProblems(&problems, false);
  if (problems.empty()) return true;
  *problem = problems.front();
  return false;
}

std::vector<PlanProblem> InstallEngine::PlanProblems() const {
  std::vector<PlanProblem> problems;
  CollectPlanProblems(&problems, true);
  return problems;
}

void InstallEngine::CollectPlanProblems(std::vector<PlanProblem>* problems, bool all) const {
  const auto found = [&](PlanProblem p) {
    problems->push_back(std::move(p));
    return !all;
  };
  for (const PlanProblem& p : m_planProblems) {
    if (found(p)) return;
  }
  const std::string medium = m_platform.FullPath(AddBackslash(m_sourceDir));
  const std::string realMedium = m_platform.RealPath(medium);
  RealFolders real(m_platform);
  std::map<std::string, std::string> realBases;
  std::unordered_map<std::string, size_t> landing;  // folded target -> entry
  for (size_t i = 0; i < SourceFileList.size() && i < TargetFileList.size(); ++i) {
    const std::string& source = SourceFileList[i];
    const std::string fullSource = m_platform.FullPath(source);
    // A source is read through whatever links lie on its way: it is
    // resolved whole.
    const std::string realSource = m_platform.RealPath(fullSource);
    if (!PathLiesIn(fullSource, medium) || realSource.empty() || !PathLiesIn(realSource, realMedium)) {
      if (found({kOutsideMediumText, {source}, "source outside the medium: " + source})) return;
      continue;
    }
    const uint32_t a = m_platform.FileAttributes(fullSource);
    if (a != platform::kInvalidAttributes && (a & (platform::kAttrDevice | platform::kAttrDirectory))) {
      if (found({kNotRegularFileText, {source}, "not a regular file: " + source})) return;
      continue;
    }

    const std::string& target = TargetFileList[i];
    const std::string baseText = i < m_targetBases.size() ? m_targetBases[i] : std::string();
    const std::string base = m_platform.FullPath(baseText);
    const std::string fullTarget = m_platform.FullPath(target);
    auto rb = realBases.find(base);
    if (rb == realBases.end()) rb = realBases.emplace(base, m_platform.RealPath(base)).first;
    // A base on no drive at all cannot be written to; its text decides.
    const std::string realTarget = rb->second.empty() ? fullTarget : real.Of(fullTarget);
    const std::string& realBase = rb->second.empty() ? base : rb->second;
    const bool inside = PathLiesIn(fullTarget, base) && fullTarget.size() > base.size() &&
                        PathLiesIn(realTarget, realBase) && realTarget.size() > realBase.size();
    if (!inside) {
      if (found({kOutsideTargetText, {target}, "target outside its base: " + target})) return;
      continue;
    }
    const auto [it, fresh] = landing.emplace(FoldPathCase(realTarget), i);
    if (!fresh) {
      const std::string& first = SourceFileList[it->second];
      if (found({kSameTargetText, {first, source}, "two sources land on one target: " + first + " and " + source})) {
        return;
      }
    }
  }
}
