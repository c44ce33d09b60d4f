#include "platform/posix/posix_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/fault_platform.h"
#include "tests/support/recording_check.h"
#include "tests/support/temp_medium.h"

namespace {

using platform::FindData;

std::vector<std::string> Names(platform::Platform& p, const std::string& pattern) {
  std::vector<std::string> names;
  p.FindEntries(pattern, [&](const FindData& d) {
    names.push_back(d.name);
    return true;
  });
  return names;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ",") + n;
  return text;
}

std::string List(const std::string& from) { return from + std::string(1, '\0'); }

TEST(PosixPlatformTest, ResolvesNamesWithoutRegardToCase) {
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "Macros/Start.MAC"), "start");
  TempDrives::Write(drives.Host('D', "dup/a.txt"), "lower");
  TempDrives::Write(drives.Host('D', "dup/A.TXT"), "upper");
  TempDrives::Write(drives.Host('D', "x.txt"), "root");
  struct Case {
    const char* dos;
    const char* contents;  // nullptr: not readable as a file
  };
  const Case cases[] = {
      {"D:\\MACROS\\start.mac", "start"},    {"d:/macros/START.MAC", "start"},
      {"D:\\Macros\\.\\Start.MAC", "start"}, {"D:\\dup\\a.txt", "lower"},  // exact spelling first
      {"D:\\dup\\A.TXT", "upper"},           {"D:\\DUP\\a.Txt", "upper"},  // else the byte-wise smallest
      {"D:\\..\\..\\x.txt", "root"},                                       // ".." stops at the root
      {"D:\\macros\\..\\X.TXT. ", "root"},                                 // trailing dots and blanks dropped
      {"D:\\Macros\\Start.MAC\\", nullptr},  {"Q:\\x.txt", nullptr},       // no such drive
      {"\\\\server\\share\\x.txt", nullptr},
  };
  for (const Case& c : cases) {
    std::string data;
    const bool read = drives.platform().ReadWholeFile(c.dos, &data);
    EXPECT_EQ(read, c.contents != nullptr) << c.dos;
    if (c.contents) {
      EXPECT_EQ(data, c.contents) << c.dos;
    }
  }
  // Relative paths follow the current directory, which starts at the program's.
  EXPECT_EQ(drives.platform().CurrentDirectory(), "D:\\");
  EXPECT_TRUE(drives.platform().IsFile("macros\\start.mac"));
  EXPECT_TRUE(drives.platform().ChangeDirectory("C:\\"));
  EXPECT_FALSE(drives.platform().IsFile("macros\\start.mac"));
  EXPECT_FALSE(drives.platform().ChangeDirectory("C:\\missing"));
  EXPECT_EQ(drives.platform().CurrentDirectory(), "C:\\");
  EXPECT_TRUE(drives.platform().IsDirectory("D:\\MACROS"));
  EXPECT_FALSE(drives.platform().IsFile("D:\\MACROS"));
}

TEST(PosixPlatformTest, AttributeWordFromEveryStoredForm) {
  TempDrives drives;
  struct Case {
    const char* name;
    std::string xattr;  // empty: none stored
    mode_t mode;
    uint32_t expected;
  };
  const std::string blob4 = std::string("0x2\0", 4) + std::string("\x04\x00\x04\x00", 4) +
                            std::string("\x01\x00\x00\x00", 4) + std::string("\x21\x00\x00\x00", 4) +
                            std::string(48, '\0');
  const Case cases[] = {
      {"plain.txt", "", 0644, platform::kAttrArchive},
      {".hidden", "", 0644, platform::kAttrArchive | platform::kAttrHidden},
      {"ro.txt", "", 0444, platform::kAttrArchive | platform::kAttrReadOnly},
      {"text-nul.txt", std::string("0x22\0", 5), 0644, platform::kAttrArchive | platform::kAttrHidden},
      {"text.txt", "0x4", 0644, platform::kAttrSystem},
      {"upper.txt", "0X21", 0644, platform::kAttrArchive | platform::kAttrReadOnly},
      {"zero.txt", std::string("0x0\0", 4), 0644, platform::kAttrNormal},
      {".shown", std::string("0x20\0", 5), 0644, platform::kAttrArchive},
      {"blob4.txt", blob4, 0644, platform::kAttrArchive | platform::kAttrReadOnly},
      {"garbage.txt", "zz", 0644, platform::kAttrArchive},
  };
  for (const Case& c : cases) {
    const std::string host = drives.Host('D', c.name);
    TempDrives::Write(host, "x");
    if (!c.xattr.empty()) {
      ASSERT_EQ(setxattr(host.c_str(), "user.DOSATTRIB", c.xattr.data(), c.xattr.size(), 0), 0) << c.name;
    }
    chmod(host.c_str(), c.mode);
    EXPECT_EQ(drives.platform().FileAttributes(std::string("D:\\") + c.name), c.expected) << c.name;
  }
  mkdir(drives.Host('D', "dir").c_str(), 0755);
  symlink(drives.Host('D', "dir").c_str(), drives.Host('D', "link").c_str());
  EXPECT_EQ(drives.platform().FileAttributes("D:\\dir"), platform::kAttrDirectory);
  EXPECT_EQ(drives.platform().FileAttributes("D:\\link"), platform::kAttrDirectory | platform::kAttrReparsePoint);
  EXPECT_EQ(drives.platform().FileAttributes("D:\\missing"), platform::kInvalidAttributes);
}

TEST(PosixPlatformTest, SetAttributesWritesTheTextFormAndMirrorsReadOnly) {
  TempDrives drives;
  const std::string host = drives.Host('D', "a.txt");
  TempDrives::Write(host, "x");
  ASSERT_TRUE(drives.platform().SetAttributes("D:\\A.TXT", platform::kAttrArchive | platform::kAttrReadOnly));
  char buffer[16];
  const ssize_t n = getxattr(host.c_str(), "user.DOSATTRIB", buffer, sizeof(buffer));
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0), std::string("0x21\0", 5));
  struct stat st;
  stat(host.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  ASSERT_TRUE(drives.platform().SetAttributes("D:\\a.txt", platform::kAttrArchive));
  stat(host.c_str(), &st);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
  EXPECT_EQ(drives.platform().FileAttributes("D:\\a.txt"), platform::kAttrArchive);
  EXPECT_FALSE(drives.platform().SetAttributes("D:\\missing", platform::kAttrArchive));
}

TEST(PosixPlatformTest, WithoutExtendedAttributesOnlyTheDefaultsCanBeKept) {
  TempDrives drives("CD", platform::posix::PosixPlatform::Options{false, 0, {}});
  TempDrives::Write(drives.Host('D', "a.txt"), "x");
  TempDrives::Write(drives.Host('D', ".dot"), "x");
  struct Case {
    const char* path;
    uint32_t attributes;
    bool kept;
  };
  const Case cases[] = {
      {"D:\\a.txt", platform::kAttrArchive, true},
      {"D:\\a.txt", platform::kAttrArchive | platform::kAttrReadOnly, true},
      {"D:\\a.txt", platform::kAttrArchive | platform::kAttrHidden, false},
      {"D:\\a.txt", platform::kAttrNormal, false},
      // A dot-name is hidden by its name: clearing that is followed as far as it can be.
      {"D:\\.dot", platform::kAttrArchive, true},
      {"D:\\.dot", platform::kAttrArchive | platform::kAttrSystem, false},
      {"D:\\.dot", platform::kAttrArchive | platform::kAttrHidden, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(drives.platform().SetAttributes(c.path, c.attributes), c.kept) << c.path << " " << c.attributes;
  }
}

TEST(PosixPlatformTest, EnumerationOrderDotsAndWildcards) {
  TempDrives drives;
  for (const char* name : {"b.txt", "A.mac", "_u.txt", "c", "Z.TXT", "sub/x.txt"}) {
    TempDrives::Write(drives.Host('D', std::string("src/") + name), "1234");
  }
  TempDrives::Write(drives.Host('D', "top.txt"), "");
  struct Case {
    const char* pattern;
    const char* names;
  };
  const Case cases[] = {
      {"D:\\src\\*.*", ".,..,A.mac,b.txt,c,sub,Z.TXT,_u.txt"},
      {"D:\\SRC\\*.txt", "b.txt,Z.TXT,_u.txt"},
      {"D:\\src\\*.", ".,..,c,sub"},
      {"D:\\src\\?.mac", "A.mac"},
      {"D:\\*.*", "src,top.txt"},  // no "." and ".." at a drive root
      {"D:\\missing\\*.*", ""},
      {"D:\\src\\", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Joined(Names(drives.platform(), c.pattern)), c.names) << c.pattern;
  }
  FindData entry;
  drives.platform().FindEntries("D:\\src\\b.txt", [&](const FindData& d) {
    entry = d;
    return false;
  });
  EXPECT_EQ(entry.size, 4u);
  EXPECT_EQ(entry.attributes, platform::kAttrArchive);
  EXPECT_GT(entry.lastWrite.ticks, 0u);
}

TEST(PosixPlatformTest, CopyReplacesAReadOnlyTargetAndKeepsTheWriteTime) {
  TempDrives drives;
  const std::string source = drives.Host('D', "src/a.mac");
  const std::string target = drives.Host('C', "SIREL/MACROS/a.mac");
  TempDrives::Write(source, "new contents");
  TempDrives::Write(target, "old");
  chmod(target.c_str(), 0444);
  const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  utimensat(AT_FDCWD, source.c_str(), times, 0);

  ASSERT_EQ(drives.platform().ShellOperation(platform::kFoCopy, List("D:\\SRC\\A.MAC"),
                                             List("C:\\SIREL\\MACROS\\a.mac"), 0x414),
            0);
  EXPECT_EQ(TempDrives::Read(target), "new contents");
  struct stat st;
  stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
  EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL/MACROS")), std::vector<std::string>{"a.mac"});

  // Missing folders are created, a doubled backslash counts as one.
  ASSERT_EQ(drives.platform().ShellOperation(platform::kFoCopy, List("D:\\src\\a.mac"), List("C:\\NEW\\\\deep\\b.mac"),
                                             0x414),
            0);
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "NEW/deep/b.mac")), "new contents");
  EXPECT_NE(drives.platform().ShellOperation(platform::kFoCopy, List("D:\\src\\none.mac"), List("C:\\x.mac"), 0x414),
            0);
  EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "x.mac")));
}

TEST(PosixPlatformTest, FailedCopyLeavesTheOldTargetAndNoTemporaryFile) {
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "big.dat"), std::string(100000, 'n'));
  TempDrives::Write(drives.Host('C', "T/big.dat"), "old target");
  platform::FaultPlatform faults(drives.platform());
  struct Case {
    const char* name;
    platform::Fault fault;
  };
  const Case cases[] = {
      {"disk full at once", {platform::FaultOp::kDiskFull, "big.dat", 0, 0}},
      {"disk full after 4 KiB", {platform::FaultOp::kDiskFull, "big.dat", 0, 4096}},
      {"copy refused", {platform::FaultOp::kCopy, "big.dat"}},
  };
  for (const Case& c : cases) {
    faults.Clear();
    faults.Add(c.fault);
    EXPECT_NE(faults.ShellOperation(platform::kFoCopy, List("D:\\big.dat"), List("C:\\T\\big.dat"), 0x414), 0)
        << c.name;
    EXPECT_EQ(TempDrives::Read(drives.Host('C', "T/big.dat")), "old target") << c.name;
    EXPECT_EQ(TempDrives::List(drives.Host('C', "T")), std::vector<std::string>{"big.dat"}) << c.name;
  }
  faults.Clear();
  EXPECT_EQ(faults.ShellOperation(platform::kFoCopy, List("D:\\big.dat"), List("C:\\T\\big.dat"), 0x414), 0);
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "T/big.dat")).size(), 100000u);
}

TEST(PosixPlatformTest, CheckedCopyShowsEveryByteAndReplacesOnlyWhenAccepted) {
  TempDrives drives;
  std::string data(200000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31);
  TempDrives::Write(drives.Host('D', "big.dat"), data);
  TempDrives::Write(drives.Host('C', "T/big.dat"), "old target");
  platform::FaultPlatform faults(drives.platform());
  struct Case {
    const char* name;
    bool accept;
    platform::Fault fault;  // kFindEntries matches no copy: no fault
    int result;
    std::string target;
    size_t seen;
  };
  const platform::Fault none{platform::FaultOp::kFindEntries, "none"};
  const Case cases[] = {
      {"refused", false, none, platform::kErrorCopyRefused, "old target", data.size()},
      {"disk full part-way", true, {platform::FaultOp::kDiskFull, "big.dat", 0, 70000}, 112, "old target", 70000},
      {"accepted", true, none, 0, data, data.size()},
  };
  for (const Case& c : cases) {
    faults.Clear();
    faults.Add(c.fault);
    RecordingCheck check(c.accept);
    EXPECT_EQ(faults.CheckedCopy("D:\\BIG.DAT", "C:\\T\\big.dat", check), c.result) << c.name;
    EXPECT_EQ(check.seen.size(), c.seen) << c.name;
    EXPECT_EQ(check.seen, data.substr(0, c.seen)) << c.name;
    EXPECT_GT(check.pieces, 1) << c.name;
    EXPECT_EQ(check.accepts, c.seen == data.size() ? 1 : 0) << c.name;
    EXPECT_TRUE(TempDrives::Read(drives.Host('C', "T/big.dat")) == c.target) << c.name;
    EXPECT_EQ(TempDrives::List(drives.Host('C', "T")), std::vector<std::string>{"big.dat"}) << c.name;
  }
  EXPECT_EQ(faults.log().back(), "copy D:\\BIG.DAT -> C:\\T\\big.dat");
}

TEST(PosixPlatformTest, ProbeNeverFollowsALink) {
  TempDrives drives;
  const std::string victim = drives.Host('C', "victim.txt");
  TempDrives::Write(victim, "keep me");
  mkdir(drives.Host('C', "SIREL").c_str(), 0755);
  symlink(victim.c_str(), drives.Host('C', "SIREL/$xAz2f$9.rrx").c_str());
  EXPECT_EQ(drives.platform().ProbeCreate("C:\\SIREL\\$xAz2f$9.rrx"), platform::kNoProbe);
  EXPECT_EQ(TempDrives::Read(victim), "keep me");

  const platform::ProbeHandle probe = drives.platform().ProbeCreate("C:\\$xAz2f$9.rrx");
  ASSERT_NE(probe, platform::kNoProbe);
  drives.platform().ProbeClose(probe);
  EXPECT_TRUE(drives.platform().RemoveFile("C:\\$xAz2f$9.rrx"));
  EXPECT_FALSE(TempDrives::Exists(drives.Host('C', "$xAz2f$9.rrx")));
}

// Root ignores permission bits: a real denial needs an unprivileged process.
TEST(PosixPlatformTest, DeniedTargetRefusesProbeAndCopyForAnUnprivilegedUser) {
  TempDrives drives;
  chmod(drives.root().c_str(), 0755);
  chmod(drives.Host('C').c_str(), 0755);
  chmod(drives.Host('D').c_str(), 0755);
  TempDrives::Write(drives.Host('D', "a.txt"), "data");
  chmod(drives.Host('D', "a.txt").c_str(), 0644);
  mkdir(drives.Host('C', "locked").c_str(), 0755);
  TempDrives::Write(drives.Host('C', "locked/a.txt"), "old");

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    int failures = 0;
    if (drives.platform().ProbeCreate("C:\\locked\\$xAz2f$9.rrx") != platform::kNoProbe) failures |= 1;
    if (drives.platform().ShellOperation(platform::kFoCopy, List("D:\\a.txt"), List("C:\\locked\\a.txt"), 0x414) == 0) {
      failures |= 2;
    }
    _exit(failures);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: probe created, 2: copy done, 10: no setuid";
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "locked/a.txt")), "old");
  EXPECT_EQ(TempDrives::List(drives.Host('C', "locked")), std::vector<std::string>{"a.txt"});
}

TEST(PosixPlatformTest, MakeDirectoriesReusesFoldersInAnyCase) {
  TempDrives drives;
  mkdir(drives.Host('C', "Sirel").c_str(), 0755);
  TempDrives::Write(drives.Host('C', "file"), "");
  EXPECT_TRUE(drives.platform().MakeDirectories("C:\\SIREL\\Macros\\Draw"));
  EXPECT_TRUE(TempDrives::Exists(drives.Host('C', "Sirel/Macros/Draw")));
  EXPECT_EQ(TempDrives::List(drives.Host('C')), (std::vector<std::string>{"Sirel", "file"}));
  EXPECT_FALSE(drives.platform().MakeDirectories("C:\\file\\sub"));
  EXPECT_TRUE(drives.platform().MakeDirectories("C:\\"));
}

TEST(PosixPlatformTest, DriveStringsAndTypes) {
  TempDrives drives("CDF");
  char buffer[255];
  const uint32_t count = drives.platform().LogicalDriveStrings(254, buffer);
  EXPECT_EQ(count, 12u);
  EXPECT_EQ(std::string(buffer, count + 1), std::string("C:\\\0D:\\\0F:\\\0\0", 13));
  EXPECT_EQ(drives.platform().LogicalDriveStrings(5, buffer), 13u);
  EXPECT_EQ(drives.platform().DriveTypeOf("D:\\"), platform::kDriveFixed);
  EXPECT_EQ(drives.platform().DriveTypeOf("E:\\"), platform::kDriveNoRootDir);
  EXPECT_EQ(drives.platform().ProgramFileName(), "D:\\SETUP.EXE");
}

}  // namespace
