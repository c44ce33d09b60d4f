// The install as a transaction on the Win32 backend (under Wine in the
// Windows suite): every failure at every position of a plan over an older
// installation leaves the targets exactly as they were.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "platform/fault_platform.h"
#include "platform/win32/win32_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "tests/support/hook_loop.h"
#include "tests/support/recording_presenter.h"

namespace {

using Lines = std::vector<std::string>;

std::string Data(const std::string& name) { return "new " + name + std::string(64, '.'); }

class Win32TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TEMP");
    work = std::string(tmp ? tmp : "C:\\windows\\temp") + "\\setup-transaction-" + std::to_string(std::rand());
    const std::vector<std::string> names = {"README.TXT", "CHANGES.TXT", "SIREL.CFG"};
    for (const std::string& n : names) Write(work + "\\medium\\" + n, Data(n));
    for (int i = 1; i <= 8; ++i) Medium("macros", "m0" + std::to_string(i) + ".mac");
    for (int i = 1; i <= 4; ++i) Medium("macros\\sub", "s0" + std::to_string(i) + ".mac");
    for (int i = 1; i <= 4; ++i) Medium("sample", "p0" + std::to_string(i) + ".prj");
    for (int i = 1; i <= 6; ++i) Medium("dxf", "d0" + std::to_string(i) + ".dxf");
    Old("SIREL\\README.TXT", Data("README.TXT"));
    Old("SIREL\\CHANGES.TXT", "old changes");
    Old("SIREL\\SIREL.CFG", "user settings");
    Old("SIREL\\MACROS\\m02.mac", "edited by the user");
    Old("SIREL\\MACROS\\mine.mac", "the user's own");
    Old("CAD\\DRAWINGS\\d01.dxf", "old drawing");
    ASSERT_TRUE(platform->MakeDirectories(work + "\\target\\SIREL\\EMPTY"));
    ASSERT_TRUE(platform->SetAttributes(work + "\\target\\SIREL\\CHANGES.TXT",
                                        platform::kAttrArchive | platform::kAttrReadOnly));
  }
  void TearDown() override {
    platform->SetAttributes(work + "\\target\\SIREL\\CHANGES.TXT", platform::kAttrArchive);
    const uint32_t quiet = platform::kFofNoConfirmation | platform::kFofNoErrorUi | platform::kFofSilent;
    platform->ShellOperation(platform::kFoDelete, work + std::string(1, '\0'), "", quiet);
  }
  void Write(const std::string& path, const std::string& data) {
    platform->MakeDirectories(path.substr(0, path.rfind('\\')));
    platform->RemoveFile(path);
    const platform::AppendHandle h = platform->OpenAppend(path);
    ASSERT_NE(h, platform::kNoAppend) << path;
    EXPECT_TRUE(platform->Append(h, data, false));
    platform->CloseAppend(h);
  }
  void Medium(const std::string& folder, const std::string& name) {
    Write(work + "\\medium\\" + folder + "\\" + name, Data(name));
  }
  void Old(const std::string& relative, const std::string& data) {
    const std::string path = work + "\\target\\" + relative;
    Write(path, data);
    platform->SetFileTimeOf(path, platform::Stamp::kLastWrite, platform::FileTime{126000000000000000ull});
  }
  // Every entry below the targets: name, attribute word, last-write time, content.
  void Walk(const std::string& dir, Lines* lines) {
    std::vector<std::string> subdirs;
    platform->FindEntries(dir + "\\*.*", [&](const platform::FindData& d) {
      if (d.name == "." || d.name == "..") return true;
      const std::string path = dir + "\\" + d.name;
      if (d.attributes & platform::kAttrDirectory) {
        subdirs.push_back(path);
        lines->push_back(path + "\\");
        return true;
      }
      std::string content;
      platform->ReadWholeFile(path, &content);
      lines->push_back(path + " " + std::to_string(d.attributes) + " " + std::to_string(d.lastWrite.ticks) + " " +
                       content);
      return true;
    });
    for (const std::string& s : subdirs) Walk(s, lines);
  }
  Lines State() {
    Lines lines;
    Walk(work + "\\target", &lines);
    return lines;
  }
  CopyRequest All() const {
    CopyRequest r;
    r.Sirel = r.Beispiel = r.DXF = true;
    r.SirelTargetBase = work + "\\target\\SIREL";
    r.DxfTargetBase = work + "\\target\\CAD";
    return r;
  }

  std::unique_ptr<platform::Platform> platform = platform::win32::MakeWin32Platform();
  std::string work;
  TMemIniFile ini{
      "[English]\nTxt_024=Copy failed\nTxt_500=README.TXT\nTxt_501=CHANGES.TXT\n"
      "Txt_502=SIREL.CFG\nTxt_600=macros\\;MACROS\nTxt_700=sample\\;PROJECTS\\SAMPLE\n"
      "Txt_800=dxf\\;DRAWINGS\n"};
  RecordingPresenter presenter;
};

TEST_F(Win32TransactionTest, EveryFailureAtEveryPositionLeavesTheTargetsAsTheyWere) {
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("English");
  const Lines before = State();
  ASSERT_GT(before.size(), 8u);
  Lines targets;
  {
    HookLoop loop;
    LabelView view;
    InstallEngine planner(*platform, loop, view, texts, work + "\\medium", [] { return std::string(); });
    planner.PlanCopy(All());
    targets = planner.TargetFileList;
  }
  ASSERT_EQ(targets.size(), 25u);
  enum Kind { kCopyRefused, kDiskFull, kAttributeLost, kCloseRequest };
  const char* const kNames[] = {"copy refused", "disk full mid-file", "attribute not kept", "close request"};
  for (int kind = kCopyRefused; kind <= kCloseRequest; ++kind) {
    for (size_t k = 0; k + 1 < targets.size(); ++k) {
      const std::string name = targets[k].substr(targets[k].rfind('\\') + 1);
      const std::string what = std::string(kNames[kind]) + " at " + std::to_string(k) + " " + name;
      platform::FaultPlatform faults(*platform);
      HookLoop loop;
      LabelView view;
      if (kind == kCopyRefused) faults.Add({platform::FaultOp::kCopy, name + " ->"});
      if (kind == kDiskFull) faults.Add({platform::FaultOp::kDiskFull, name + " ->", 0, 20});
      if (kind == kAttributeLost) faults.Add({platform::FaultOp::kAttributeReadBack, targets[k]});
      loop.onMessages = [&] {
        if (kind == kCloseRequest && view.label == name) loop.terminating = true;
      };
      presenter.messages.clear();
      InstallEngine engine(faults, loop, view, texts, work + "\\medium", [] { return std::string(); });
      engine.BuildCopyPlan(All());
      EXPECT_TRUE(engine.InstallAborted) << what;
      EXPECT_TRUE(engine.LastRollback.complete()) << what;
      EXPECT_EQ(State(), before) << what;
    }
  }
}

TEST_F(Win32TransactionTest, SuccessKeepsTheChangedFilesAndAReadOnlyOneStaysReadOnly) {
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("English");
  HookLoop loop;
  LabelView view;
  InstallEngine engine(*platform, loop, view, texts, work + "\\medium", [] { return std::string(); });
  engine.BuildCopyPlan(All());
  ASSERT_EQ(engine.Outcome, InstallOutcome::kInstalled);
  ASSERT_EQ(engine.KeptBackups.size(), 2u);
  const std::string kept = engine.KeptBackups[0];
  EXPECT_EQ(platform->FileAttributes(kept + "\\CHANGES.TXT"), platform::kAttrArchive | platform::kAttrReadOnly);
  EXPECT_TRUE(platform->IsFile(kept + "\\SIREL.CFG"));
  EXPECT_TRUE(platform->IsFile(kept + "\\MACROS\\m02.mac"));
  EXPECT_FALSE(platform->IsFile(kept + "\\README.TXT"));  // the same as the new one
  EXPECT_EQ(platform->FileAttributes(work + "\\target\\SIREL\\CHANGES.TXT"), platform::kAttrArchive);
  platform->SetAttributes(kept + "\\CHANGES.TXT", platform::kAttrArchive);
}

}  // namespace
