// The install as a transaction, on real files: each position of a plan of
// 25 files over an older installation fails in turn, in every way a run can
// fail, and the targets must come back exactly as they were.
#include "install/transaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "platform/fault_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "tests/support/hook_loop.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_medium.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char kSetup[] =
    "[English]\nTxt_024=Copy failed\nTxt_073=Sirel\nTxt_080= Setup\n"
    "Txt_500=README.TXT\nTxt_501=CHANGES.TXT\nTxt_502=SIREL.CFG\n"
    "Txt_600=macros\\;MACROS\nTxt_700=sample\\;PROJECTS\\SAMPLE\nTxt_800=dxf\\;DRAWINGS\n";

std::string Data(const std::string& name) { return "new " + name + std::string(64, '.'); }

void SetTime(const std::string& host, time_t seconds) {
  const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  utimensat(AT_FDCWD, host.c_str(), times, 0);
}

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The medium: 25 files with names unique across the plan.
    for (const char* f : {"README.TXT", "CHANGES.TXT", "SIREL.CFG"}) Medium(f);
    for (int i = 1; i <= 8; ++i) Medium("macros/m0" + std::to_string(i) + ".mac");
    for (int i = 1; i <= 4; ++i) Medium("macros/sub/s0" + std::to_string(i) + ".mac");
    for (int i = 1; i <= 4; ++i) Medium("sample/p0" + std::to_string(i) + ".prj");
    for (int i = 1; i <= 6; ++i) Medium("dxf/d0" + std::to_string(i) + ".dxf");
    // The older installation: some files the same, some changed by the
    // user, one read-only, a file of the user's own and an empty folder.
    Old('C', "SIREL/README.TXT", Data("README.TXT"));
    Old('C', "SIREL/CHANGES.TXT", "old changes");
    Old('C', "SIREL/SIREL.CFG", "user settings");
    Old('C', "SIREL/MACROS/m01.mac", Data("m01.mac"));
    Old('C', "SIREL/MACROS/m02.mac", "edited by the user");
    Old('C', "SIREL/MACROS/sub/s01.mac", "old s01");
    Old('C', "SIREL/MACROS/mine.mac", "the user's own");
    mkdir(drives.Host('C', "SIREL/EMPTY").c_str(), 0755);
    Old('E', "CAD/DRAWINGS/d01.dxf", "old drawing");
    drives.platform().SetAttributes("C:\\SIREL\\CHANGES.TXT", platform::kAttrArchive | platform::kAttrReadOnly);
    before = State();
  }
  void Medium(const std::string& relative) {
    const size_t slash = relative.rfind('/');
    TempDrives::Write(drives.Host('D', "CD/" + relative), Data(relative.substr(slash + 1)));
  }
  void Old(char letter, const std::string& relative, const std::string& data) {
    TempDrives::Write(drives.Host(letter, relative), data);
    SetTime(drives.Host(letter, relative), 1000000000);
  }
  Lines State() {
    Lines all = drives.Snapshot('C');
    for (const std::string& l : drives.Snapshot('E')) all.push_back("E " + l);
    return all;
  }
  InstallEngine Run(platform::Platform& platform, EventLoop& loop, LabelView& view) {
    return InstallEngine(platform, loop, view, texts, "D:\\CD", [] { return std::string("Sirel Setup"); });
  }
  static CopyRequest All() {
    CopyRequest r;
    r.Sirel = r.Beispiel = r.DXF = true;
    r.SirelTargetBase = "C:\\SIREL";
    r.DxfTargetBase = "E:\\CAD";
    return r;
  }
  // The planned files in plan order: medium path (host) and target (DOS).
  std::vector<std::pair<std::string, std::string>> Plan() {
    HookLoop loop;
    LabelView view;
    InstallEngine engine(drives.platform(), loop, view, texts, "D:\\CD", [] { return std::string(); });
    engine.PlanCopy(All());
    std::vector<std::pair<std::string, std::string>> plan;
    for (size_t i = 0; i < engine.SourceFileList.size(); ++i) {
      std::string host;
      drives.platform().ToHostPath(engine.SourceFileList[i], &host);
      plan.emplace_back(host, engine.TargetFileList[i]);
    }
    return plan;
  }
  static std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

  TempDrives drives{"CDE"};
  TMemIniFile ini{kSetup};
  TextCatalogue texts{ini};
  RecordingPresenter presenter;
  Lines before;

  void SetUpTexts() { texts.SetCurrentLanguage("English"); }
};

TEST_F(TransactionTest, EveryFailureAtEveryPositionLeavesTheTargetsAsTheyWere) {
  SetUpTexts();
  const auto plan = Plan();
  ASSERT_EQ(plan.size(), 25u);
  enum Kind { kCopyRefused, kDiskFull, kAttributeLost, kSourceVanishes, kCloseRequest };
  const char* const kNames[] = {"copy refused", "disk full mid-file", "attribute not kept", "source vanishes",
                                "close request"};
  for (int kind = kCopyRefused; kind <= kCloseRequest; ++kind) {
    for (size_t k = 0; k < plan.size(); ++k) {
      const std::string name = BaseName(plan[k].second);
      const std::string what = std::string(kNames[kind]) + " at " + std::to_string(k) + " " + name;
      platform::FaultPlatform faults(drives.platform());
      HookLoop loop;
      LabelView view;
      if (kind == kCopyRefused) faults.Add({platform::FaultOp::kCopy, name + " ->"});
      if (kind == kDiskFull) faults.Add({platform::FaultOp::kDiskFull, name + " ->", 0, 20});
      if (kind == kAttributeLost) faults.Add({platform::FaultOp::kAttributeReadBack, plan[k].second});
      loop.onMessages = [&] {
        if (view.label != name) return;
        if (kind == kSourceVanishes) std::rename(plan[k].first.c_str(), (plan[k].first + ".away").c_str());
        if (kind == kCloseRequest) loop.terminating = true;
      };
      presenter.messages.clear();
      InstallEngine engine(faults, loop, view, texts, "D:\\CD", [] { return std::string("Sirel Setup"); });
      engine.BuildCopyPlan(All());
      if (kind == kSourceVanishes) std::rename((plan[k].first + ".away").c_str(), plan[k].first.c_str());

      const bool lastClose = kind == kCloseRequest && k + 1 == plan.size();
      if (lastClose) {
        // A close request after the last file comes too late to stop it.
        EXPECT_EQ(engine.Outcome, InstallOutcome::kInstalled) << what;
        continue;
      }
      EXPECT_TRUE(engine.InstallAborted) << what;
      EXPECT_TRUE(engine.LastRollback.complete()) << what;
      EXPECT_EQ(State(), before) << what;
      const size_t messages = kind == kCloseRequest ? 0u : 1u;
      EXPECT_EQ(presenter.messages.size(), messages) << what;
    }
  }
}

TEST_F(TransactionTest, AKilledRunIsUndoneByTheNextStart) {
  SetUpTexts();
  const auto plan = Plan();
  for (size_t k = 0; k < plan.size(); ++k) {
    // skip 0: the first call that names the file (setting the old version
    // aside, or the copy of a new one); skip 1: the copy after setting aside.
    const int calls = drives.platform().IsFile(plan[k].second) ? 2 : 1;
    for (int skip = 0; skip < calls; ++skip) {
      const std::string name = BaseName(plan[k].second);
      const std::string what = "killed at " + std::to_string(k) + " " + name + " call " + std::to_string(skip);
      EXPECT_EXIT(
          {
            platform::FaultPlatform faults(drives.platform());
            faults.Add({platform::FaultOp::kCrash, name + " ->", skip});
            HookLoop loop;
            LabelView view;
            InstallEngine engine(faults, loop, view, texts, "D:\\CD", [] { return std::string(); });
            engine.BuildCopyPlan(All());
            std::_Exit(0);
          },
          ::testing::ExitedWithCode(platform::FaultPlatform::kCrashExitCode), "")
          << what;
      // A copy cut off by the kill leaves its temporary file behind.
      const std::string folder = plan[k].second.substr(0, plan[k].second.rfind('\\'));
      std::string host;
      if (drives.platform().IsDirectory(folder) && drives.platform().ToHostPath(folder, &host)) {
        TempDrives::Write(host + "/" + platform::kCopyTempPrefix + "4242-7", "half");
      }
      const std::vector<RecoveredRun> runs = InstallTransaction::RecoverInterruptedRuns(drives.platform());
      ASSERT_EQ(runs.size(), 1u) << what;
      EXPECT_TRUE(runs[0].report.complete()) << what;
      EXPECT_EQ(runs[0].bases, (Lines{"C:\\SIREL", "E:\\CAD"})) << what;
      EXPECT_EQ(State(), before) << what;
      EXPECT_TRUE(InstallTransaction::RecoverInterruptedRuns(drives.platform()).empty()) << what;
    }
  }
}

TEST_F(TransactionTest, SuccessKeepsExactlyTheChangedFilesInTheBackupFolder) {
  SetUpTexts();
  HookLoop loop;
  LabelView view;
  platform::FaultPlatform faults(drives.platform());
  InstallEngine engine(faults, loop, view, texts, "D:\\CD", [] { return std::string(); });
  engine.BuildCopyPlan(All());
  ASSERT_EQ(engine.Outcome, InstallOutcome::kInstalled);
  ASSERT_EQ(engine.KeptBackups.size(), 2u);
  const std::string sirel = engine.KeptBackups[0];
  ASSERT_EQ(sirel.rfind("C:\\SIREL\\_backup\\", 0), 0u) << sirel;
  ASSERT_EQ(engine.KeptBackups[1].rfind("E:\\CAD\\_backup\\", 0), 0u) << engine.KeptBackups[1];
  std::string host;
  ASSERT_TRUE(drives.platform().ToHostPath(sirel, &host));
  const Lines kept = TempDrives::List(host);
  EXPECT_EQ(kept, (Lines{"CHANGES.TXT", "MACROS", "SIREL.CFG"}));
  EXPECT_EQ(TempDrives::List(host + "/MACROS"), (Lines{"m02.mac", "sub"}));
  EXPECT_EQ(TempDrives::List(host + "/MACROS/sub"), Lines{"s01.mac"});
  EXPECT_EQ(TempDrives::Read(host + "/SIREL.CFG"), "user settings");
  EXPECT_EQ(drives.platform().FileAttributes(sirel + "\\CHANGES.TXT"),
            platform::kAttrArchive | platform::kAttrReadOnly);
  // The new files are in place, the user's own file and empty folder stay.
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/SIREL.CFG")), Data("SIREL.CFG"));
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/MACROS/mine.mac")), "the user's own");
  EXPECT_TRUE(TempDrives::Exists(drives.Host('C', "SIREL/EMPTY")));
  // Durable before the message: one flush for each target drive.
  int flushes = 0;
  for (const std::string& line : faults.log()) flushes += line.rfind("flush ", 0) == 0;
  EXPECT_EQ(flushes, 2);
  EXPECT_TRUE(InstallTransaction::RecoverInterruptedRuns(drives.platform()).empty());
}

TEST_F(TransactionTest, AFreshInstallMakesNoBackupFolder) {
  SetUpTexts();
  HookLoop loop;
  LabelView view;
  CopyRequest r = All();
  r.SirelTargetBase = "C:\\FRESH";
  r.DxfTargetBase = "E:\\FRESH";
  InstallEngine engine(drives.platform(), loop, view, texts, "D:\\CD", [] { return std::string(); });
  engine.BuildCopyPlan(r);
  ASSERT_EQ(engine.Outcome, InstallOutcome::kInstalled);
  EXPECT_TRUE(engine.KeptBackups.empty());
  EXPECT_EQ(TempDrives::List(drives.Host('C', "FRESH")),
            (Lines{"CHANGES.TXT", "MACROS", "PROJECTS", "README.TXT", "SIREL.CFG"}));
  EXPECT_EQ(TempDrives::List(drives.Host('E', "FRESH")), Lines{"DRAWINGS"});
}

TEST_F(TransactionTest, ARollbackThatCannotPutAFileBackSaysWhereItIs) {
  SetUpTexts();
  HookLoop loop;
  LabelView view;
  platform::FaultPlatform faults(drives.platform());
  faults.Add({platform::FaultOp::kCopy, "d06.dxf ->"});
  // Putting SIREL.CFG back fails both ways.
  faults.Add({platform::FaultOp::kMove, "SIREL.CFG -> C:\\SIREL\\SIREL.CFG"});
  faults.Add({platform::FaultOp::kRemove, "C:\\SIREL\\SIREL.CFG"});
  InstallEngine engine(faults, loop, view, texts, "D:\\CD", [] { return std::string(); });
  engine.BuildCopyPlan(All());
  EXPECT_EQ(engine.Outcome, InstallOutcome::kCopyFailed);
  ASSERT_EQ(engine.LastRollback.notRestored.size(), 1u);
  const RollbackReport::Left& left = engine.LastRollback.notRestored[0];
  EXPECT_EQ(left.target, "C:\\SIREL\\SIREL.CFG");
  std::string host;
  ASSERT_TRUE(drives.platform().ToHostPath(left.backup, &host));
  EXPECT_EQ(TempDrives::Read(host), "user settings");  // never deleted
  ASSERT_TRUE(drives.platform().ToHostPath(engine.LastRollback.listFile, &host));
  EXPECT_NE(TempDrives::Read(host).find("C:\\SIREL\\SIREL.CFG\t" + left.backup), std::string::npos);
  ASSERT_EQ(presenter.messages.size(), 2u);
  EXPECT_EQ(presenter.messages[0].text.rfind("Copy failed\n\n", 0), 0u) << presenter.messages[0].text;
  EXPECT_NE(presenter.messages[1].text.find(engine.LastRollback.keptIn), std::string::npos);
  // Every other file is back as it was, and the report says what was done.
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/MACROS/m02.mac")), "edited by the user");
  const std::vector<std::string>& steps = engine.LastRollback.steps;
  for (const char* step : {"restored C:\\SIREL\\MACROS\\m02.mac", "removed C:\\SIREL\\MACROS\\m03.mac",
                           "removed folder C:\\SIREL\\PROJECTS"}) {
    EXPECT_NE(std::find(steps.begin(), steps.end(), step), steps.end()) << step;
  }
  EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL/PROJECTS")));
}

TEST_F(TransactionTest, SpaceIsCheckedBeforeTheFirstByte) {
  SetUpTexts();
  // Three files of 1, 4096 and 5000 bytes into a new folder, 4 KiB units:
  // 4096 + 4096 + 8192, the largest once more (8192), one folder (4096).
  TempDrives::Write(drives.Host('D', "CD/small/a"), "1");
  TempDrives::Write(drives.Host('D', "CD/small/b"), std::string(4096, 'b'));
  TempDrives::Write(drives.Host('D', "CD/small/c"), std::string(5000, 'c'));
  const TMemIniFile small("[English]\nTxt_600=small\\;\n");
  TextCatalogue smallTexts(small);
  smallTexts.SetCurrentLanguage("English");
  const uint64_t need = 4096 + 4096 + 8192 + 8192 + 4096;
  for (const uint64_t free : {need - 1, need}) {
    HookLoop loop;
    LabelView view;
    platform::FaultPlatform faults(drives.platform());
    faults.SetFreeSpace(free, 4096);
    presenter.messages.clear();
    InstallEngine engine(faults, loop, view, smallTexts, "D:\\CD", [] { return std::string(); });
    CopyRequest r;
    r.Sirel = true;
    r.SirelTargetBase = "C:\\ROOM";
    engine.BuildCopyPlan(r);
    if (free < need) {
      EXPECT_EQ(engine.Outcome, InstallOutcome::kNoSpace);
      ASSERT_EQ(presenter.messages.size(), 1u);
      EXPECT_NE(presenter.messages[0].text.find("drive C:"), std::string::npos) << presenter.messages[0].text;
      EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "ROOM")));
    } else {
      EXPECT_EQ(engine.Outcome, InstallOutcome::kInstalled);
      EXPECT_EQ(TempDrives::List(drives.Host('C', "ROOM")), (Lines{"a", "b", "c"}));
    }
  }
}

TEST(JournalTest, TextFormReadsBackAndACutLastLineIsIgnored) {
  const std::vector<JournalEntry> entries = {
      {JournalEntry::kBase, "C:\\SIREL", "C:\\SIREL\\_backup\\1"},
      {JournalEntry::kFolder, "C:\\SIREL\\A%B", ""},
      {JournalEntry::kNewFile, "C:\\SIREL\\odd\tname\n.txt", ""},
      {JournalEntry::kReplaced, "C:\\SIREL\\x", "C:\\SIREL\\_backup\\1\\x"},
  };
  std::string text = std::string(RunJournal::kHeader) + "\n";
  for (const JournalEntry& e : entries) text += RunJournal::Format(e);
  std::vector<JournalEntry> read;
  ASSERT_TRUE(RunJournal::Parse(text + "commit", &read));  // cut before its end
  ASSERT_EQ(read.size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(read[i].kind, entries[i].kind) << i;
    EXPECT_EQ(read[i].path, entries[i].path) << i;
    EXPECT_EQ(read[i].backup, entries[i].backup) << i;
  }
  EXPECT_FALSE(RunJournal::Parse("not a journal\n", &read));
}

}  // namespace
