#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/kcfilectrl.h"
#include "install/kcfilegrep.h"

class EventLoop;
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
  bool Sirel = false;     // Sirel_CheckBox: the macro library
  bool Beispiel = false;  // Beispiel_CheckBox: the sample project
  bool DXF = false;       // DXF_CheckBox: the drawings
  std::string SirelTargetBase;  // drive_Combo's item or zielSirel_Edit
  std::string DxfTargetBase;    // zielDXF_Edit
};

// The copy plan and the copy run: the fixed list and the search groups of the
// chosen components become two parallel lists of full source and target
// paths, which are then copied one by one, each copy marked archive-only and
// checked; the run stops at the first failure.
class InstallEngine {
 public:
  // messageCaption gives the caption of the failure message at the moment it
  // is shown; texts reads the lists and text 24 in the current language.
  InstallEngine(platform::Platform& platform, EventLoop& loop, CopyProgressView& view,
                const TextCatalogue& texts, std::string SourceDir,
                std::function<std::string()> messageCaption);

  // Plans the copy, checks the plan and runs it; the outcome is InstallAborted.
  void BuildCopyPlan(const CopyRequest& request);

  // Builds the plan only: the first part of BuildCopyPlan, without the busy
  // cursor.
  void PlanCopy(const CopyRequest& request);
  // Checks every planned source lies in the program's directory and every
  // target in its base. False with the first offending entry in *why.
  bool CheckPlan(std::string* why) const;

  void AddSearchGroups(int FirstId, const std::string& TargetBase);
  void KCFileGrepFound(void* Sender, const std::string& found);
  void CopyPlannedFiles();
  bool CopyOneFile(const std::string& Source, const std::string& Target);

  std::vector<std::string> SourceFileList;
  std::vector<std::string> TargetFileList;
  bool InstallAborted = false;
  std::string CurrentSearchRoot;
  std::string CurrentTargetDir;
  TKCFileGrep KCFileGrep;
  TKCFileCtrl KCFileCtrl;

 private:
  void PlanFixedList(const CopyRequest& request);
  void PlanSearchGroups(const CopyRequest& request);
  void Abort();

  platform::Platform& m_platform;
  EventLoop& m_loop;
  CopyProgressView& m_view;
  const TextCatalogue& m_texts;
  std::string m_sourceDir;
  std::function<std::string()> m_messageCaption;
  // The target base of each planned entry, for the plan check.
  std::vector<std::string> m_targetBases;
  std::string m_currentBase;
  std::string m_lastCreatedDir;
};
