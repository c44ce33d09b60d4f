#include "install/kcsysinfo.h"

#include <gtest/gtest.h>

#include "platform/fault_platform.h"
#include "tests/support/temp_medium.h"

namespace {

using Lines = std::vector<std::string>;

TEST(SysInfoTest, DriveListReplacesTheListEachTime) {
  TempDrives drives("ACD");
  TKCSysInfo info(drives.platform());
  Lines list = {"stale"};
  info.GetDriveList(&list);
  EXPECT_EQ(list, (Lines{"A:\\", "C:\\", "D:\\"}));
  info.GetDriveList(&list);
  EXPECT_EQ(list, (Lines{"A:\\", "C:\\", "D:\\"}));
  info.GetDriveList(nullptr);  // ignored
}

TEST(SysInfoTest, ScanOffersWritableDefaultDirectoriesFromCUpward) {
  struct Case {
    const char* name;
    const char* letters;
    Lines folders;       // created before the scan, as "X/path"
    const char* subdir;  // DefaultTargetSubdir
    const char* refuse;  // probe creation refused where the path holds this
    Lines offers;
  };
  const Case cases[] = {
      {"one offer", "ACD", {"a/SIREL", "c/SIREL"}, "SIREL", "", {"C:\\SIREL"}},
      {"other case on disk", "CD", {"d/sirel"}, "SIREL", "", {"D:\\SIREL"}},
      {"read-only medium", "CD", {"c/SIREL", "d/SIREL"}, "SIREL", "D:", {"C:\\SIREL"}},
      {"empty subdir offers roots", "ABCD", {}, "", "", {"C:\\", "D:\\"}},
      {"file of that name", "C", {}, "SIREL", "", {}},
  };
  for (const Case& c : cases) {
    TempDrives drives(c.letters);
    for (const std::string& f : c.folders) TempDrives::Write(drives.root() + "/" + f + "/keep", "");
    if (std::string(c.name) == "file of that name") TempDrives::Write(drives.Host('C', "SIREL"), "");
    platform::FaultPlatform faults(drives.platform());
    if (*c.refuse) faults.Add({platform::FaultOp::kProbeCreate, c.refuse});
    TKCSysInfo info(faults);
    EXPECT_EQ(ScanTargetDrives(faults, info, c.subdir), c.offers) << c.name;
    for (const std::string& f : c.folders) {
      EXPECT_EQ(TempDrives::List(drives.root() + "/" + f), Lines{"keep"}) << c.name << " " << f;
    }
  }
}

TEST(SysInfoTest, ExistingProbeFileIsLeftAsItIs) {
  TempDrives drives("C");
  TempDrives::Write(drives.Host('C', "SIREL/$xAz2f$9.rrx"), "left over");
  EXPECT_TRUE(DirIsWritable(drives.platform(), "C:\\SIREL"));
  EXPECT_EQ(TempDrives::List(drives.Host('C', "SIREL")), Lines{"$xAz2f$9.rrx"});
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "SIREL/$xAz2f$9.rrx")), "left over");
  EXPECT_FALSE(DirIsWritable(drives.platform(), "C:\\MISSING"));
}

}  // namespace
