#include "install/installengine.h"

#include <gtest/gtest.h>

#include "platform/fault_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "tests/support/queue_event_loop.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_medium.h"

namespace {

// Records what the copy run shows.
class RecordingView : public CopyProgressView {
 public:
  void SetMeterMaxValue(int MaxValue) override { events.push_back("max " + std::to_string(MaxValue)); }
  void StepMeterValue() override { events.push_back("step"); }
  void SetLabelFile(const std::string& Caption) override { events.push_back("label " + Caption); }
  void SetBusyCursor(bool Busy) override {
    busy = Busy;
    events.push_back(Busy ? "busy" : "idle");
  }
  std::vector<std::string> events;
  bool busy = false;
};

using Lines = std::vector<std::string>;

// A medium on D:\CD (the program D:\CD\SETUP.EXE) and targets on C:.
class EngineTest : public ::testing::Test {
 protected:
  void Load(const std::string& english) {
    ini = TMemIniFile("[English]\nTxt_024=A file could not be copied.\nTxt_073=Sirel\nTxt_080= Setup\n" + english);
    texts.SetCurrentLanguage("English");
    engine =
        std::make_unique<InstallEngine>(faults, loop, view, texts, "D:\\CD", [] { return std::string("Sirel Setup"); });
  }
  void Medium(const std::string& relative, const std::string& data = "data") {
    TempDrives::Write(drives.Host('D', "CD/" + relative), data);
  }
  Lines Plan(const CopyRequest& r) {
    engine->PlanCopy(r);
    Lines lines;
    for (size_t i = 0; i < engine->SourceFileList.size(); ++i) {
      lines.push_back(engine->SourceFileList[i] + " > " + engine->TargetFileList[i]);
    }
    return lines;
  }
  static CopyRequest Sirel(const std::string& base = "C:\\SIREL") {
    CopyRequest r;
    r.Sirel = true;
    r.SirelTargetBase = base;
    return r;
  }

  TempDrives drives{"CD"};
  platform::FaultPlatform faults{drives.platform()};
  QueueEventLoop loop;
  RecordingView view;
  RecordingPresenter presenter;
  TMemIniFile ini;
  TextCatalogue texts{ini};
  std::unique_ptr<InstallEngine> engine;
};

TEST_F(EngineTest, PlanMapsFixedFilesAndGroupsToTheirTargets) {
  Medium("README.TXT");
  Medium("macros/a.mac");
  Medium("macros/sub/b.mac");
  Medium("sample/p.spr");
  struct Case {
    const char* name;
    const char* lists;
    CopyRequest request;
    Lines expected;
  };
  CopyRequest sampleOnly;
  sampleOnly.Beispiel = true;
  sampleOnly.SirelTargetBase = "C:\\S";
  CopyRequest dxfOnly;
  dxfOnly.DXF = true;
  dxfOnly.DxfTargetBase = "C:\\DXF\\";
  const Case cases[] = {
      {"trailing backslash gives single separators",
       "Txt_500=README.TXT\nTxt_600=macros\\;MACROS\n",
       Sirel(),
       {"D:\\CD\\README.TXT > C:\\SIREL\\README.TXT", "D:\\CD\\macros\\a.mac > C:\\SIREL\\MACROS\\a.mac",
        "D:\\CD\\macros\\sub\\b.mac > C:\\SIREL\\MACROS\\sub\\b.mac"}},
      {"no trailing backslash doubles the join",
       "Txt_600=macros;MACROS\n",
       Sirel(),
       {"D:\\CD\\macros\\a.mac > C:\\SIREL\\MACROS\\\\a.mac",
        "D:\\CD\\macros\\sub\\b.mac > C:\\SIREL\\MACROS\\\\sub\\b.mac"}},
      {"group into the base itself", "Txt_600=sample\\;\n", Sirel(), {"D:\\CD\\sample\\p.spr > C:\\SIREL\\p.spr"}},
      {"only the sample project",
       "Txt_500=README.TXT\nTxt_600=macros\\;M\nTxt_700=sample\\;P\n",
       sampleOnly,
       {"D:\\CD\\sample\\p.spr > C:\\S\\P\\p.spr"}},
      {"dxf base with backslash", "Txt_800=sample\\;DRAW\n", dxfOnly, {"D:\\CD\\sample\\p.spr > C:\\DXF\\DRAW\\p.spr"}},
      {"no component, no plan", "Txt_500=README.TXT\n", CopyRequest(), {}},
      {"list stops at the first empty text",
       "Txt_500=README.TXT\nTxt_501=\nTxt_502=X\n",
       Sirel(),
       {"D:\\CD\\README.TXT > C:\\SIREL\\README.TXT"}},
      {"group outside the medium is not searched", "Txt_600=..\\;M\n", Sirel(), {}},
  };
  for (const Case& c : cases) {
    Load(c.lists);
    EXPECT_EQ(Plan(c.request), c.expected) << c.name;
  }
}

TEST_F(EngineTest, GroupWithoutSemicolonSearchesTheWholeMedium) {
  Medium("SETUP.INF");
  Load("Txt_600=ALL\n");
  EXPECT_EQ(Plan(Sirel()), Lines{"D:\\CD\\SETUP.INF > C:\\SIREL\\ALL\\SETUP.INF"});
}

TEST_F(EngineTest, CopiesEveryEntryArchiveOnlyWithMeterAndLabel) {
  Medium("README.TXT", "readme");
  Medium("macros/a.mac", "a");
  const std::string hidden = drives.Host('D', "CD/macros/ro.mac");
  Medium("macros/ro.mac", "ro");
  platform::FaultPlatform(drives.platform()).SetAttributes("D:\\CD\\macros\\ro.mac", 0x23);
  Load("Txt_500=README.TXT\nTxt_600=macros\\;MACROS\n");
  engine->BuildCopyPlan(Sirel());
  EXPECT_FALSE(engine->InstallAborted);
  EXPECT_TRUE(presenter.messages.empty());
  EXPECT_EQ(view.events, (Lines{"busy", "max 3", "step", "label README.TXT", "step", "label a.mac", "step",
                                "label ro.mac", "idle"}));
  for (const char* f : {"SIREL/README.TXT", "SIREL/MACROS/a.mac", "SIREL/MACROS/ro.mac"}) {
    EXPECT_EQ(drives.platform().FileAttributes("C:\\" + std::string(f)), 0x20u) << f;
  }
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/MACROS/ro.mac")), "ro");
}

TEST_F(EngineTest, FirstFailureStopsTheRunWithOneMessage) {
  struct Case {
    const char* name;
    platform::Fault fault;  // hits the second entry, b.mac
    bool closeRequest;
    const char* reason;  // the last line of the failure message
  };
  const Case cases[] = {
      {"source missing", {platform::FaultOp::kCopy, "<none>"}, false, "No such file or directory"},
      {"target creation refused", {platform::FaultOp::kCopy, "b.mac"}, false, "Permission denied"},
      {"disk full after some bytes",
       {platform::FaultOp::kDiskFull, "b.mac", 0, 3000},
       false,
       "No space left on device"},
      {"attribute not kept",
       {platform::FaultOp::kAttributeReadBack, "SIREL\\b.mac"},
       false,
       "the copy does not keep the archive attribute alone"},
      {"close request mid-copy", {platform::FaultOp::kCopy, "<none>"}, true, ""},
      {"a folder where the file goes",
       {platform::FaultOp::kCopy, "<none>"},
       false,
       "a folder stands where the file goes"},
  };
  for (const Case& c : cases) {
    TempDrives::Write(drives.Host('C', "SIREL/b.mac"), "old b");
    for (const char* f : {"SIREL/a.mac", "SIREL/c.mac"}) std::remove(drives.Host('C', f).c_str());
    Medium("a.mac", std::string(5000, 'a'));
    Medium("b.mac", std::string(5000, 'b'));
    Medium("c.mac", std::string(5000, 'c'));
    if (std::string(c.name) == "source missing") std::remove(drives.Host('D', "CD/b.mac").c_str());
    const bool folder = std::string(c.name) == "a folder where the file goes";
    if (folder) {
      std::remove(drives.Host('C', "SIREL/b.mac").c_str());
      TempDrives::Write(drives.Host('C', "SIREL/b.mac/keep.txt"), "kept");
    }
    faults.Clear();
    faults.Add(c.fault);
    faults.ClearLog();
    presenter.messages.clear();
    QueueEventLoop closing;
    if (c.closeRequest) closing.TerminateAfter(2);  // after the second entry's messages
    Load("Txt_500=a.mac\nTxt_501=b.mac\nTxt_502=c.mac\n");
    InstallEngine run(faults, c.closeRequest ? static_cast<EventLoop&>(closing) : loop, view, texts, "D:\\CD",
                      [] { return std::string("Sirel Setup"); });
    run.BuildCopyPlan(Sirel());

    EXPECT_TRUE(run.InstallAborted) << c.name;
    if (c.closeRequest) {
      EXPECT_TRUE(presenter.messages.empty()) << c.name;
    } else {
      ASSERT_EQ(presenter.messages.size(), 1u) << c.name;
      // Text 24 first, then the source, the target and why.
      const std::string& text = presenter.messages[0].text;
      EXPECT_EQ(text.substr(0, text.find('\n')), "A file could not be copied.") << c.name;
      EXPECT_NE(text.find("\n\nD:\\CD\\b.mac\nC:\\SIREL\\b.mac\n" + std::string(c.reason)), std::string::npos)
          << c.name << ": " << text;
      EXPECT_EQ(presenter.messages[0].caption, "Sirel Setup") << c.name;
      EXPECT_EQ(presenter.messages[0].flags, 64) << c.name;
    }
    for (const std::string& line : faults.log()) {
      EXPECT_EQ(line.find("c.mac"), std::string::npos) << c.name << ": " << line;
    }
    // The run is undone: a.mac, copied before the failure, is gone again.
    EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL/a.mac"))) << c.name;
    EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL/c.mac"))) << c.name;
    const Lines left = TempDrives::List(drives.Host('C', "SIREL"));
    for (const std::string& name : left) {
      EXPECT_TRUE(name == "b.mac") << c.name << ": " << name;
    }
    if (folder) {
      EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL/b.mac")), Lines{"keep.txt"}) << c.name;
      std::remove(drives.Host('C', "SIREL/b.mac/keep.txt").c_str());
      std::remove(drives.Host('C', "SIREL/b.mac").c_str());
    } else {
      EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/b.mac")), "old b") << c.name;
    }
    EXPECT_FALSE(view.busy) << c.name;
  }
}

TEST_F(EngineTest, PlanLeavingItsBaseIsRefusedBeforeAnyByteIsWritten) {
  Medium("a.mac");
  Medium("macros/x.mac");
  TempDrives::Write(drives.Host('D', "outside.txt"), "secret");
  struct Case {
    const char* name;
    const char* lists;
  };
  const Case cases[] = {
      {"fixed file above the medium", "Txt_500=a.mac\nTxt_501=..\\outside.txt\n"},
      {"group target leaving the base", "Txt_500=a.mac\nTxt_600=macros\\;..\\..\\WINDOWS\n"},
      {"fixed file naming the base", "Txt_500=a.mac\nTxt_501=.\n"},
  };
  for (const Case& c : cases) {
    presenter.messages.clear();
    faults.ClearLog();
    Load(c.lists);
    engine->BuildCopyPlan(Sirel());
    EXPECT_TRUE(engine->InstallAborted) << c.name;
    EXPECT_EQ(presenter.messages.size(), 1u) << c.name;
    for (const std::string& line : faults.log()) {
      EXPECT_NE(line.rfind("copy ", 0), 0u) << c.name << ": " << line;
    }
    EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL/a.mac"))) << c.name;
  }
}

TEST_F(EngineTest, CloseRequestDuringTheSearchAbandonsBeforeAnyCopy) {
  Medium("macros/a.mac");
  Medium("macros/sub/b.mac");
  loop.TerminateAfter(1);
  Load("Txt_600=macros\\;M\n");
  engine->BuildCopyPlan(Sirel());
  EXPECT_TRUE(engine->InstallAborted);
  EXPECT_TRUE(presenter.messages.empty());
  EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL")));
  EXPECT_FALSE(view.busy);
}

TEST_F(EngineTest, EmptyPlanSucceedsSilently) {
  Load("");
  engine->BuildCopyPlan(Sirel());
  EXPECT_FALSE(engine->InstallAborted);
  EXPECT_TRUE(presenter.messages.empty());
}

}  // namespace
