// Media that try to reach outside themselves, hold things that are not
// files, or are damaged: each is refused before anything is written, and
// nothing hangs.
#include <fcntl.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "install/kcsysinfo.h"
#include "platform/fault_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "setupdata/setupfile.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_medium.h"

namespace {

using Lines = std::vector<std::string>;

// Runs body in a child process with an alarm, so that a hang fails the test
// instead of holding the suite; as the unprivileged user when asked. The
// child's exit code is body's result.
int InChild(const std::function<int()>& body, bool unprivileged = false) {
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(20);
    if (unprivileged) {
      const passwd* nobody = getpwnam("nobody");
      if (!nobody || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(77);
    }
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct Outcome {
  InstallOutcome outcome;
  std::string message;
};

Outcome Install(platform::Platform& platform, const std::string& setup, const std::string& sourceDir = "D:\\CD") {
  RecordingPresenter presenter;
  const TMemIniFile ini("[English]\nTxt_024=Copy failed\n" + setup);
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("English");
  DirectEventLoop loop;
  NullProgressView view;
  InstallEngine engine(platform, loop, view, texts, sourceDir, [] { return std::string(); });
  CopyRequest r;
  r.Sirel = r.Beispiel = true;
  r.SirelTargetBase = "C:\\SIREL";
  engine.BuildCopyPlan(r);
  return {engine.Outcome, presenter.messages.empty() ? std::string() : presenter.messages[0].text};
}

TEST(HostileMediumTest, RefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* name;
    const char* setup;
    std::function<void(TempDrives&)> make;
    const char* says;  // part of the message
  };
  const auto link = [](const std::string& target, const std::string& at) {
    TempDrives::Write(at.substr(0, at.rfind('/')) + "/keep.txt", "keep");
    EXPECT_EQ(symlink(target.c_str(), at.c_str()), 0) << at;
  };
  const auto macro = [](TempDrives& d) { TempDrives::Write(d.Host('D', "CD/macros/a.mac"), "a"); };
  const Case cases[] = {
      {"search group folder is a link out of the medium", "Txt_600=macros\\;MACROS\n",
       [&](TempDrives& d) { link(d.Host('D', "outside"), d.Host('D', "CD/macros")); }, "lies outside the medium"},
      {"file in a tree links out of the medium", "Txt_600=macros\\;MACROS\n",
       [&](TempDrives& d) { link(d.Host('D', "outside/secret.txt"), d.Host('D', "CD/macros/a.mac")); },
       "lies outside the medium"},
      {"fixed-list path through a linked folder", "Txt_500=via\\secret.txt\n",
       [&](TempDrives& d) { link(d.Host('D', "outside"), d.Host('D', "CD/via")); }, "lies outside the medium"},
      {"search group named outside the medium", "Txt_600=..\\outside\\;MACROS\n", [](TempDrives&) {},
       "lies outside the medium"},
      {"FIFO in a tree", "Txt_600=macros\\;MACROS\n",
       [&](TempDrives& d) {
         macro(d);
         mkfifo(d.Host('D', "CD/macros/pipe.mac").c_str(), 0644);
       },
       "is not a regular file"},
      {"two names that differ in case only", "Txt_600=macros\\;MACROS\n",
       [&](TempDrives& d) {
         macro(d);
         TempDrives::Write(d.Host('D', "CD/macros/A.MAC"), "upper");
       },
       "would be installed as the same file"},
      {"sample group lands on a macro", "Txt_600=macros\\;MACROS\nTxt_700=macros\\;MACROS\n", macro,
       "would be installed as the same file"},
  };
  for (const Case& c : cases) {
    TempDrives drives("CD");
    TempDrives::Write(drives.Host('D', "outside/secret.txt"), "secret");
    c.make(drives);
    const int code = InChild([&] {
      const Outcome o = Install(drives.platform(), c.setup);
      if (o.outcome != InstallOutcome::kRefused) return 1;
      if (o.message.find(c.says) == std::string::npos) return 2;
      return TempDrives::Exists(drives.Host('C', "SIREL")) ? 3 : 0;
    });
    EXPECT_EQ(code, 0) << c.name << " (1: not refused, 2: wrong message, 3: written, 142: hung)";
  }
}

TEST(HostileMediumTest, ACaseFoldOfAnAccentCannotStepOutOfTheMedium) {
  // The medium is D:\<e acute>; its sibling D:\<E acute> is another folder.
  TempDrives drives("CD");
  TempDrives::Write(drives.Host('D', "\xE9/a.mac"), "a");
  TempDrives::Write(drives.Host('D', "\xC9/secret.txt"), "secret");
  const Outcome o = Install(drives.platform(), "Txt_600=..\\\xC9\\;MACROS\n", "D:\\\xE9");
  EXPECT_EQ(o.outcome, InstallOutcome::kRefused);
  EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "SIREL")));
}

TEST(HostileMediumTest, AFolderThatCannotBeListedFailsThePlan) {
  TempDrives drives("CD");
  TempDrives::Write(drives.Host('D', "CD/macros/a.mac"), "a");
  TempDrives::Write(drives.Host('D', "CD/macros/locked/b.mac"), "b");
  mkdir(drives.Host('D', "CD/macros/empty").c_str(), 0755);
  // A listing that breaks off part-way.
  {
    platform::FaultPlatform faults(drives.platform());
    faults.Add({platform::FaultOp::kListFails, "locked"});
    const Outcome o = Install(faults, "Txt_600=macros\\;MACROS\n");
    EXPECT_EQ(o.outcome, InstallOutcome::kRefused);
    EXPECT_NE(o.message.find("cannot be read"), std::string::npos) << o.message;
  }
  // A folder the user may not list, for real.
  for (const char* dir : {"", "/d", "/d/CD", "/d/CD/macros", "/c"}) chmod((drives.root() + dir).c_str(), 0777);
  chmod(drives.Host('D', "CD/macros/locked").c_str(), 0);
  const int code = InChild(
      [&] {
        const Outcome o = Install(drives.platform(), "Txt_600=macros\\;MACROS\n");
        return o.outcome == InstallOutcome::kRefused && o.message.find("locked") != std::string::npos ? 0 : 1;
      },
      true);
  if (code == 77) GTEST_SKIP() << "no unprivileged user to run as";
  EXPECT_EQ(code, 0);
  // A truly empty folder is no problem.
  chmod(drives.Host('D', "CD/macros/locked").c_str(), 0755);
  EXPECT_EQ(Install(drives.platform(), "Txt_600=macros\\;MACROS\n").outcome, InstallOutcome::kInstalled);
}

TEST(HostileMediumTest, FifosNeverHoldTheProgram) {
  TempDrives drives("CD");
  mkfifo(drives.Host('D', "SETUP.INF").c_str(), 0644);
  mkfifo(drives.Host('D', "LICENSE.TXT").c_str(), 0644);
  TempDrives::Write(drives.Host('D', "CD/x"), "x");
  const int code = InChild([&] {
    SetupData data;
    if (LoadSetup(drives.platform(), &data) != SetupLoadResult::kUnreadable) return 1;
    std::string text;
    if (drives.platform().ReadWholeFile("D:\\LICENSE.TXT", &text)) return 2;
    // Copying it is refused as well.
    return drives.platform().ShellOperation(platform::kFoCopy, std::string("D:\\LICENSE.TXT") + '\0',
                                            std::string("C:\\L.TXT") + '\0', 0) != 0
               ? 0
               : 3;
  });
  EXPECT_EQ(code, 0) << "1: SETUP.INF, 2: licence, 3: copy, 142: hung";
}

TEST(HostileMediumTest, ASourceThatChangesWhileItIsCopiedFailsTheCopy) {
  for (const bool grows : {false, true}) {
    platform::posix::PosixPlatform::Options options;
    options.copyPiece = 4096;
    options.afterCopyPiece = [grows](const std::string& source, uint64_t copied) {
      if (copied != 4096) return;
      if (grows) {
        TempDrives::Write(source, std::string(20000, 'g'));
      } else {
        truncate(source.c_str(), 5000);
      }
    };
    TempDrives drives("CD", options);
    TempDrives::Write(drives.Host('D', "CD/big.mac"), std::string(10000, 'b'));
    TempDrives::Write(drives.Host('C', "SIREL/big.mac"), "old");
    const Outcome o = Install(drives.platform(), "Txt_500=big.mac\n");
    EXPECT_EQ(o.outcome, InstallOutcome::kCopyFailed) << grows;
    EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/big.mac")), "old") << grows;
    EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL")), Lines{"big.mac"}) << grows;
  }
}

TEST(TargetTest, AFileSystemWithoutExtendedAttributesTakesTheInstall) {
  TempDrives drives("CD");
  const std::string mount = drives.Host('C', "ram");
  mkdir(mount.c_str(), 0755);
  if (::mount("none", mount.c_str(), "ramfs", 0, nullptr) != 0) {
    GTEST_SKIP() << "ramfs cannot be mounted here (not root, or no permission to mount)";
  }
  TempDrives::Write(drives.Host('D', "CD/macros/.index"), "index");
  TempDrives::Write(drives.Host('D', "CD/macros/a.mac"), "a");
  RecordingPresenter presenter;
  const TMemIniFile ini("[English]\nTxt_600=macros\\;MACROS\n");
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("English");
  DirectEventLoop loop;
  NullProgressView view;
  InstallEngine engine(drives.platform(), loop, view, texts, "D:\\CD", [] { return std::string(); });
  CopyRequest r;
  r.Sirel = true;
  r.SirelTargetBase = "C:\\ram\\SIREL";
  engine.BuildCopyPlan(r);
  EXPECT_EQ(engine.Outcome, InstallOutcome::kInstalled);
  EXPECT_EQ(TempDrives::Read(mount + "/SIREL/MACROS/.index"), "index");
  EXPECT_EQ(TempDrives::Read(mount + "/SIREL/MACROS/a.mac"), "a");
  umount(mount.c_str());
}

TEST(TargetTest, TheWriteProbeNeverEmptiesAFileItDidNotMake) {
  TempDrives drives("C");
  TempDrives::Write(drives.Host('C', "SIREL/$xAz2f$9.rrx"), "someone's data");
  for (const char* dir : {"", "/c"}) chmod((drives.root() + dir).c_str(), 0777);
  chmod(drives.Host('C', "SIREL").c_str(), 0755);
  chmod(drives.Host('C', "SIREL/$xAz2f$9.rrx").c_str(), 0666);
  const int code = InChild([&] { return DirIsWritable(drives.platform(), "C:\\SIREL") ? 1 : 0; }, true);
  if (code == 77) GTEST_SKIP() << "no unprivileged user to run as";
  EXPECT_EQ(code, 0) << "a folder the user cannot write to was offered";
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/$xAz2f$9.rrx")), "someone's data");
}

}  // namespace
