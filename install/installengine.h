#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/kcfilectrl.h"
#include "install/kcfilegrep.h"
#include "install/spacecheck.h"
#include "install/transaction.h"

class EventLoop;
class MediumManifest;
class TextCatalogue;

// The parts of the copy page and the window the copy run drives. The wizard
// implements it; tools and tests use their own.
class CopyProgressView {
 public:
  virtual ~CopyProgressView() = default;
  virtual void SetMeterMaxValue(int MaxValue) = 0;  // KCMeter_File.MaxValue
  virtual void StepMeterValue() = 0;                // KCMeter_File.UserValue + 1
  virtual void SetLabelFile(const std::string& Caption) = 0;
  virtual void SetBusyCursor(bool Busy) = 0;
};

// A view that shows nothing.
class NullProgressView : public CopyProgressView {
 public:
  void SetMeterMaxValue(int) override {}
  void StepMeterValue() override {}
  void SetLabelFile(const std::string&) override {}
  void SetBusyCursor(bool) override {}
};

// What the user chose: the components and their target bases.
struct CopyRequest {
  bool Sirel = false;           // Sirel_CheckBox: the macro library
  bool Beispiel = false;        // Beispiel_CheckBox: the sample project
  bool DXF = false;             // DXF_CheckBox: the drawings
  std::string SirelTargetBase;  // drive_Combo's item or zielSirel_Edit
  std::string DxfTargetBase;    // zielDXF_Edit
};

// How a run ended.
enum class InstallOutcome {
  kInstalled,   // every file copied, checked and on stable storage
  kRefused,     // the plan was refused before anything was written
  kNoSpace,     // a target drive lacks room; nothing was written
  kCopyFailed,  // a copy failed; the run was rolled back
  kAbandoned,   // a close request; the run was rolled back
};

// Why a plan is refused: the text id of the message, its arguments, and the
// reason in plain words for the tools.
struct PlanProblem {
  int textId = 0;
  std::vector<std::string> args;
  std::string why;
};

// The copy plan and the copy run: the fixed list and the search groups of the
// chosen components become two parallel lists of full source and target
// paths, which are then copied one by one, each copy marked archive-only and
// checked. The run is a transaction: it stops at the first failure and puts
// the previous tree back.
class InstallEngine {
 public:
  // messageCaption gives the caption of the failure message at the moment it
  // is shown; texts reads the lists and text 24 in the current language.
  InstallEngine(platform::Platform& platform, EventLoop& loop, CopyProgressView& view, const TextCatalogue& texts,
                std::string SourceDir, std::function<std::string()> messageCaption);

  // Plans the copy, checks the plan and runs it; the outcome is InstallAborted.
  void BuildCopyPlan(const CopyRequest& request);

  // Builds the plan only: the first part of BuildCopyPlan, without the busy
  // cursor.
  void PlanCopy(const CopyRequest& request);
  // Checks the plan before anything is written: every search group could be
  // searched, every source is a regular file whose real place lies in the
  // program's directory, every target's real place lies strictly inside its
  // base, and no two sources land on one target. False with the first
  // problem.
  bool CheckPlan(PlanProblem* problem) const;
  bool CheckPlan(std::string* why) const;
  // Every problem of the plan, in plan order (for the authors' check).
  std::vector<PlanProblem> PlanProblems() const;

  // With the medium's checksum list, every file is hashed as it is copied
  // and takes its target's place only when its digest is the one listed; a
  // file the list does not name is not copied. nullptr (the default): files
  // are copied without a check. The list must outlive the copy run.
  void UseManifest(const MediumManifest* manifest);

  void AddSearchGroups(int FirstId, const std::string& TargetBase);
  void KCFileGrepFound(void* Sender, const std::string& found);
  void CopyPlannedFiles();
  bool CopyOneFile(const std::string& Source, const std::string& Target);
  // The reason of the last failure of CopyOneFile, in plain words.
  const std::string& CopyFailureReason() const { return m_failureReason; }

  std::vector<std::string> SourceFileList;
  std::vector<std::string> TargetFileList;
  // The component of each planned entry: the first id of its list (500 for
  // the fixed list, 600, 700 or 800 for a search group).
  std::vector<int> PlanComponents;
  // The space check of the last run: one entry a target drive.
  std::vector<DriveSpace> SpaceChecked;
  bool InstallAborted = false;
  InstallOutcome Outcome = InstallOutcome::kInstalled;
  // The backup folders that keep the old versions of changed files after a
  // successful run.
  std::vector<std::string> KeptBackups;
  // What the last rollback could not put back.
  RollbackReport LastRollback;
  // Why the last copy failed: source, target and the reason, one a line
  // (the copy-failure message shows them below text 24).
  std::string FailureDetails;
  std::string CurrentSearchRoot;
  std::string CurrentTargetDir;
  TKCFileGrep KCFileGrep;
  TKCFileCtrl KCFileCtrl;

  // Told of each file once it is copied and checked, and of the file whose
  // copy failed (a log listens; handlers are tested before each call).
  std::function<void()> OnPlanned;  // the plan passed its checks; the copy starts
  std::function<void(const std::string& Source, const std::string& Target)> OnCopied;
  std::function<void(const std::string& Source, const std::string& Target)> OnCopyFailed;

 private:
  void PlanFixedList(const CopyRequest& request);
  // The plan check; stops at the first problem unless all are asked for.
  void CollectPlanProblems(std::vector<PlanProblem>* problems, bool all) const;
  void PlanSearchGroups(const CopyRequest& request);
  void Abort();
  // Shows a message of the current language (its built-in text when missing).
  void Tell(int textId, const std::vector<std::string>& args) const;
  void RollBack();
  // The copy of one file checked against the list; sets m_failureReason
  // when the list names no digest or the data differs.
  bool CopyChecked(const std::string& Source, const std::string& Target);

  platform::Platform& m_platform;
  EventLoop& m_loop;
  CopyProgressView& m_view;
  const TextCatalogue& m_texts;
  std::string m_sourceDir;
  std::function<std::string()> m_messageCaption;
  // The target base of each planned entry, for the plan check.
  std::vector<std::string> m_targetBases;
  std::string m_currentBase;
  int m_currentComponent = 0;
  // Problems met while planning (a group outside the medium, a folder that
  // cannot be listed); the plan check refuses the plan for the first.
  std::vector<PlanProblem> m_planProblems;
  InstallTransaction m_transaction;
  std::string m_failureReason;
  const MediumManifest* m_manifest = nullptr;
  std::string m_mediumDir;  // the full path of the medium, for the list's paths
};
