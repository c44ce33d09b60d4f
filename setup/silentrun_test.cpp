#include "setup/silentrun.h"

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "install/eventloop.h"
#include "install/sha256.h"
#include "platform/fault_platform.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_medium.h"

namespace {

using Args = std::vector<std::string>;

class ClosingLoop : public EventLoop {
 public:
  void ProcessMessages() override { ++processed; }
  bool Terminating() override { return closeAfter >= 0 && processed > closeAfter; }
  void Synchronize(const std::function<void()>& call) override { call(); }
  int processed = 0;
  int closeAfter = -1;
};

// A medium on D: (the program D:\SETUP.EXE), targets on C: and E:.
void MakeMedium(TempDrives& drives) {
  TempDrives::Write(drives.Host('D', "SETUP.INF"),
                    "[BootSetup]\nVersion=2.0\nDefaultDir=SIREL\n[Languages]\n1=English\n2=Deutsch\n"
                    "[English]\nTxt_001=LICENSE.TXT\nTxt_019=No drive\nTxt_024=Copy failed\n"
                    "Txt_025=%s cancelled %s\nTxt_031=Done\nTxt_073=Sirel\n"
                    "Txt_500=README.TXT\nTxt_600=macros\\;MACROS\nTxt_800=dxf\\;DRAWINGS\n"
                    "[Deutsch]\nTxt_001=LIZENZ.TXT\nTxt_031=Fertig\nTxt_500=README.TXT\n"
                    "Txt_600=macros\\;MACROS\nTxt_800=dxf\\;DRAWINGS\n");
  TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence");
  TempDrives::Write(drives.Host('D', "README.TXT"), "readme");
  TempDrives::Write(drives.Host('D', "macros/a.mac"), "a");
  TempDrives::Write(drives.Host('D', "macros/sub/b.mac"), "b");
  TempDrives::Write(drives.Host('D', "dxf/x.dxf"), "0\nEOF\n");
}

TEST(SilentRunTest, EachOutcomeHasItsExitCode) {
  struct Case {
    const char* name;
    Args args;
    std::function<void(TempDrives&, platform::FaultPlatform&, ClosingLoop&)> prepare;
    int code;
    const char* lastMessage;  // part of it
  };
  const auto none = [](TempDrives&, platform::FaultPlatform&, ClosingLoop&) {};
  const Args full = {"/S", "/ACCEPTLICENSE", "/COMPONENTS=macros,dxf", "/SIREL=C:\\SIREL", "/DXF=E:\\CAD"};
  const Case cases[] = {
      {"installed", full, none, kExitInstalled, "Done"},
      {"installed in the second language",
       {"--silent", "--accept-license", "--language=DEUTSCH", "--sirel=C:\\S"},
       none,
       kExitInstalled,
       "Fertig"},
      {"the default target: a drive that holds SIREL",
       {"/S", "/ACCEPTLICENSE"},
       [](TempDrives& d, platform::FaultPlatform&, ClosingLoop&) { mkdir(d.Host('E', "SIREL").c_str(), 0755); },
       kExitInstalled,
       "Done"},
      {"no drive holds SIREL", {"/S", "/ACCEPTLICENSE"}, none, kExitTarget, "No drive"},
      {"SETUP.INF missing", full,
       [](TempDrives& d, platform::FaultPlatform&, ClosingLoop&) { std::remove(d.Host('D', "SETUP.INF").c_str()); },
       kExitSetupInf, "File SETUP.INF not found"},
      {"licence not accepted", {"/S", "/SIREL=C:\\SIREL"}, none, kExitLicence, "licence must be accepted"},
      {"unknown language", {"/S", "/ACCEPTLICENSE", "/LANG=Klingon"}, none, kExitCommandLine, "no language"},
      {"target on no drive", {"/S", "/ACCEPTLICENSE", "/SIREL=Q:\\SIREL"}, none, kExitTarget, "cannot be used"},
      {"DXF without a target", {"/S", "/ACCEPTLICENSE", "/COMPONENTS=dxf"}, none, kExitTarget, "need a target"},
      {"hostile medium", full,
       [](TempDrives& d, platform::FaultPlatform&, ClosingLoop&) { mkfifo(d.Host('D', "macros/p.mac").c_str(), 0644); },
       kExitTarget, "cancelled"},
      {"not enough space", full,
       [](TempDrives&, platform::FaultPlatform& f, ClosingLoop&) { f.SetFreeSpace(100, 4096); }, kExitSpace,
       "cancelled"},
      {"copy failed", full,
       [](TempDrives&, platform::FaultPlatform& f, ClosingLoop&) {
         f.Add({platform::FaultOp::kCopy, "b.mac ->"});
       },
       kExitCopyFailed, "cancelled"},
      {"close request", full, [](TempDrives&, platform::FaultPlatform&, ClosingLoop& l) { l.closeAfter = 2; },
       kExitAbandoned, "cancelled"},
  };
  for (const Case& c : cases) {
    TempDrives drives("CDE");
    MakeMedium(drives);
    platform::FaultPlatform faults(drives.platform());
    ClosingLoop loop;
    c.prepare(drives, faults, loop);
    RecordingPresenter presenter;
    CommandLine options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(c.args, &options, &error)) << c.name << ": " << error;
    EXPECT_EQ(RunSilentInstall(faults, loop, options), c.code) << c.name;
    ASSERT_FALSE(presenter.messages.empty()) << c.name;
    EXPECT_NE(presenter.messages.back().text.find(c.lastMessage), std::string::npos)
        << c.name << ": " << presenter.messages.back().text;
    if (c.code != kExitInstalled) {
      // Nothing stays on the target drives (but the program's own folders).
      std::vector<std::string> left = TempDrives::List(drives.Host('C'));
      for (const char* own : {".local", ".config"}) left.erase(std::remove(left.begin(), left.end(), own), left.end());
      EXPECT_TRUE(left.empty()) << c.name << ": " << ::testing::PrintToString(left);
    }
  }
}

// With SETUP.SUM on the medium every copy is checked against it: a damaged
// or unlisted file fails the run, which leaves the targets exactly as they
// were; a damaged SETUP.INF ends start-up.
TEST(SilentRunTest, WithAChecksumListADamagedFileChangesNothing) {
  const std::vector<std::string> all = {"SETUP.INF",    "LICENSE.TXT",      "README.TXT",
                                        "macros/a.mac", "macros/sub/b.mac", "dxf/x.dxf"};
  struct Case {
    const char* name;
    std::vector<std::string> listed;
    std::function<void(TempDrives&)> change;  // after the list was written
    int code;
    const char* message;  // part of one message
  };
  const std::string big(3 << 20, 'b');  // hashed beside its copy
  const Case cases[] = {
      {"intact", all, [](TempDrives&) {}, kExitInstalled, "Done"},
      {"listed in another letter case",
       {"setup.inf", "readme.txt", "MACROS/A.MAC", "macros/SUB/b.mac", "dxf/X.DXF"},
       [](TempDrives&) {},
       kExitInstalled,
       "Done"},
      {"a flipped byte", all,
       [&](TempDrives& d) { TempDrives::Write(d.Host('D', "macros/sub/b.mac"), big.substr(1) + "c"); }, kExitCopyFailed,
       "D:\\macros\\sub\\b.mac\nC:\\SIREL\\MACROS\\sub\\b.mac\nthe file is damaged on the medium"},
      {"a planned file not listed",
       {"SETUP.INF", "README.TXT", "macros/a.mac", "macros/sub/b.mac"},
       [](TempDrives&) {},
       kExitCopyFailed,
       "D:\\dxf\\x.dxf\nE:\\CAD\\DRAWINGS\\x.dxf\nthe file is not listed in SETUP.SUM"},
      {"SETUP.INF changed", all,
       [](TempDrives& d) {
         TempDrives::Write(d.Host('D', "SETUP.INF"), TempDrives::Read(d.Host('D', "SETUP.INF")) + "\n");
       },
       kExitSetupInf, "File SETUP.INF is damaged (it does not match SETUP.SUM)"},
  };
  for (const Case& c : cases) {
    TempDrives drives("CDE");
    MakeMedium(drives);
    TempDrives::Write(drives.Host('D', "macros/sub/b.mac"), big);
    TempDrives::Write(drives.Host('C', "SIREL/MACROS/sub/b.mac"), "old b");
    TempDrives::Write(drives.Host('E', "CAD/DRAWINGS/x.dxf"), "old x");
    drives.WriteChecksums('D', c.listed);
    c.change(drives);
    // C: is also the home folder; the program's own folders there start with a dot.
    const std::vector<std::string> before[] = {drives.Snapshot('C', "."), drives.Snapshot('E')};
    DirectEventLoop loop;
    RecordingPresenter presenter;
    CommandLine options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"/S", "/ACCEPTLICENSE", "/COMPONENTS=macros,dxf", "/SIREL=C:\\SIREL", "/DXF=E:\\CAD"},
                                 &options, &error));
    EXPECT_EQ(RunSilentInstall(drives.platform(), loop, options), c.code) << c.name;
    EXPECT_TRUE(
        std::any_of(presenter.messages.begin(), presenter.messages.end(),
                    [&](const RecordingPresenter::Message& m) { return m.text.find(c.message) != std::string::npos; }))
        << c.name << ": " << (presenter.messages.empty() ? std::string() : presenter.messages.front().text);
    if (c.code == kExitInstalled) {
      EXPECT_TRUE(TempDrives::Read(drives.Host('C', "SIREL/MACROS/sub/b.mac")) == big) << c.name;
    } else {
      EXPECT_EQ(drives.Snapshot('C', "."), before[0]) << c.name;
      EXPECT_EQ(drives.Snapshot('E'), before[1]) << c.name;
    }
  }
}

TEST(SilentRunTest, TheTreeIsThePlan) {
  TempDrives drives("CDE");
  MakeMedium(drives);
  DirectEventLoop loop;
  RecordingPresenter presenter;
  CommandLine options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"/S", "/ACCEPTLICENSE", "/COMPONENTS=macros,dxf", "/SIREL=C:\\SIREL", "/DXF=E:\\CAD"},
                               &options, &error));
  ASSERT_EQ(RunSilentInstall(drives.platform(), loop, options), kExitInstalled);
  const std::pair<const char*, const char*> installed[] = {{"SIREL/README.TXT", "README.TXT"},
                                                           {"SIREL/MACROS/a.mac", "macros/a.mac"},
                                                           {"SIREL/MACROS/sub/b.mac", "macros/sub/b.mac"}};
  for (const auto& [target, source] : installed) {
    EXPECT_EQ(TempDrives::Read(drives.Host('C', target)), TempDrives::Read(drives.Host('D', source))) << target;
    std::string dos = std::string("C:\\") + target;
    std::replace(dos.begin(), dos.end(), '/', '\\');
    EXPECT_EQ(drives.platform().FileAttributes(dos), 0x20u) << target;
  }
  EXPECT_EQ(TempDrives::Read(drives.Host('E', "CAD/DRAWINGS/x.dxf")), "0\nEOF\n");
}

TEST(SilentRunTest, TheLogHasOneLineAnEventAndNeverGoesOntoTheMedium) {
  TempDrives drives("CDE");
  MakeMedium(drives);
  DirectEventLoop loop;
  RecordingPresenter presenter;
  CommandLine options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"/S", "/ACCEPTLICENSE", "/SIREL=C:\\SIREL", "/LOG=C:\\setup.log"}, &options, &error));
  ASSERT_EQ(RunSilentInstall(drives.platform(), loop, options), kExitInstalled);
  std::vector<std::string> events;
  std::string line;
  const std::string logText = TempDrives::Read(drives.Host('C', "setup.log"));
  // The start names the medium's SETUP.INF by its SHA-256 and the drives.
  EXPECT_NE(logText.find("\t" + Sha256::Of(TempDrives::Read(drives.Host('D', "SETUP.INF"))) + "\tC:=3 D:=3 E:=3\n"),
            std::string::npos)
      << logText;
  std::istringstream text(logText);
  while (std::getline(text, line)) {
    // timestamp, level, event: the time masked.
    const size_t tab = line.find('\t');
    ASSERT_EQ(tab, 25u) << line;  // 2026-12-08T23:41:05+01:00
    events.push_back(line.substr(tab + 1, line.find('\t', line.find('\t', tab + 1) + 1) - tab - 1));
  }
  EXPECT_EQ(events, (std::vector<std::string>{"info\tstart", "info\tlanguage", "info\tlicence", "info\tcomponents",
                                              "info\ttargets", "info\tplan", "info\tspace", "info\tcopied",
                                              "info\tcopied", "info\tcopied", "info\tend"}));
  // Onto the medium: refused before anything is read.
  ASSERT_TRUE(ParseCommandLine({"/S", "/ACCEPTLICENSE", "/LOG=D:\\setup.log"}, &options, &error));
  EXPECT_EQ(RunSilentInstall(drives.platform(), loop, options), kExitCommandLine);
  EXPECT_FALSE(TempDrives::Exists(drives.Host('D', "setup.log")));
}

TEST(SilentRunTest, TheNextRunTakesTheRememberedChoices) {
  TempDrives drives("CDE");
  MakeMedium(drives);
  DirectEventLoop loop;
  RecordingPresenter presenter;
  CommandLine options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine(
      {"/S", "/ACCEPTLICENSE", "/LANG=deutsch", "/COMPONENTS=macros,dxf", "/SIREL=C:\\CAD\\SIREL", "/DXF=E:\\DWG"},
      &options, &error));
  ASSERT_EQ(RunSilentInstall(drives.platform(), loop, options), kExitInstalled);
  struct Case {
    const char* name;
    std::function<void()> change;  // to the settings file or the targets
    int code;
    const char* where;  // host path (C:) of the README installed
  };
  const std::string settings = drives.Host('C', ".config/sirel-setup/setup.ini");
  const Case cases[] = {
      {"remembered", [] {}, kExitInstalled, "CAD/SIREL/README.TXT"},
      {"a damaged settings file is ignored", [&] { TempDrives::Write(settings, std::string("\0\1\2", 3)); },
       kExitTarget, ""},
      {"a target that is gone is not taken",
       [&] { TempDrives::Write(settings, "[SIREL|Sirel]\nLanguage=Deutsch\nComponents=macros\nSirel=C:\\GONE\n"); },
       kExitTarget, ""},
  };
  for (const Case& c : cases) {
    c.change();
    presenter.messages.clear();
    ASSERT_TRUE(ParseCommandLine({"/S", "/ACCEPTLICENSE"}, &options, &error));
    EXPECT_EQ(RunSilentInstall(drives.platform(), loop, options), c.code) << c.name;
    if (c.code == kExitInstalled) {
      EXPECT_EQ(presenter.messages.back().text, "Fertig") << c.name;  // the remembered language
      EXPECT_TRUE(TempDrives::Exists(drives.Host('E', "DWG/DRAWINGS/x.dxf"))) << c.name;
      EXPECT_TRUE(TempDrives::Exists(drives.Host('C', c.where))) << c.name;
    }
  }
}

}  // namespace

// Names beyond ASCII: SETUP.INF in Windows-1252 or in UTF-8 names the target
// PROJEKTE\MÜLLER and the source folder Prüfung; the medium's tree holds a
// Greek folder; the target lies 300 characters deep. Either way the files
// arrive under UTF-8 names and the log names them in UTF-8.
TEST(SilentRunTest, NamesBeyondAsciiArriveAsMeant) {
  const std::string ue = "\xC3\xBC";                                                             // ü
  const std::string UE = "\xC3\x9C";                                                             // Ü
  const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // Ελληνικά
  const std::string body =
      "[BootSetup]\nVersion=2.0\nDefaultDir=SIREL\n[Languages]\n1=English\n"
      "[English]\nTxt_001=LICENSE.TXT\nTxt_031=Done\nTxt_073=Sirel\n"
      "Txt_600=Pr" +
      ue + "fung\\;PROJEKTE\\M" + UE + "LLER\n";
  const struct {
    const char* name;
    std::string setupInf;
  } encodings[] = {
      {"Windows-1252",
       "[BootSetup]\nVersion=2.0\nDefaultDir=SIREL\n[Languages]\n1=English\n"
       "[English]\nTxt_001=LICENSE.TXT\nTxt_031=Done\nTxt_073=Sirel\n"
       "Txt_600=Pr\xFC"
       "fung\\;PROJEKTE\\M\xDCLLER\n"},
      {"UTF-8", body},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + body},
  };
  std::string deep = "C:";
  while (deep.size() < 300) deep += "\\Verzeichnis";
  deep.resize(300);
  for (const auto& e : encodings) {
    SCOPED_TRACE(e.name);
    TempDrives drives("CD");
    TempDrives::Write(drives.Host('D', "SETUP.INF"), e.setupInf);
    TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence");
    TempDrives::Write(drives.Host('D', "Pr" + ue + "fung/" + greek + "/plan.dxf"), "0\nEOF\n");
    DirectEventLoop loop;
    RecordingPresenter presenter;
    CommandLine options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"/S", "/ACCEPTLICENSE", "/COMPONENTS=macros", "/SIREL=" + deep, "/LOG=C:\\setup.log"},
                                 &options, &error))
        << error;
    ASSERT_EQ(RunSilentInstall(drives.platform(), loop, options), kExitInstalled)
        << (presenter.messages.empty() ? "" : presenter.messages.back().text);
    std::string host = deep.substr(3);
    std::replace(host.begin(), host.end(), '\\', '/');
    const std::string installed = host + "/PROJEKTE/M" + UE + "LLER/" + greek + "/plan.dxf";
    EXPECT_EQ(TempDrives::Read(drives.Host('C', installed)), "0\nEOF\n");
    EXPECT_NE(
        TempDrives::Read(drives.Host('C', "setup.log")).find("PROJEKTE\\M" + UE + "LLER\\" + greek + "\\plan.dxf"),
        std::string::npos);
  }
}

// On Linux the command line takes the paths its users write: host paths for
// the targets and the log, mapped to the drive that holds them.
TEST(SilentRunTest, HostPathsOnTheCommandLine) {
  TempDrives drives("CDE");
  MakeMedium(drives);
  RecordingPresenter presenter;
  CommandLine options;
  int exitCode = -1;
  std::string errors;
  const bool ended = RunCommandLine(
      drives.platform(),
      {"--silent", "--accept-license", "--sirel=" + drives.Host('C', "Host/SIREL"),
       "--log=" + drives.Host('E', "run.log")},
      [](const std::string&) {}, [&errors](const std::string& e) { errors += e; }, &options, &exitCode);
  ASSERT_TRUE(ended);
  EXPECT_EQ(exitCode, kExitInstalled) << errors;
  EXPECT_EQ(options.sirel, "C:\\Host\\SIREL");
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "Host/SIREL/MACROS/a.mac")), "a");
  EXPECT_NE(TempDrives::Read(drives.Host('E', "run.log")).find("\tend\t0\t"), std::string::npos);
}
