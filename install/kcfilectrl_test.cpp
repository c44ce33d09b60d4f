#include "install/kcfilectrl.h"

#include <sys/xattr.h>

#include <gtest/gtest.h>

#include "tests/support/temp_medium.h"

namespace {

TEST(FileCtrlTest, AttributeWordsAndSets) {
  struct Case {
    uint32_t word;
    TKCFileCtrlAttributes read;
  };
  const Case cases[] = {
      {0x20, {fcaArchive}},
      {0x820, {fcaArchive}},  // compressed lies above the low eight bits
      {0x21, {fcaArchive, fcaReadonly}},
      {0x1106, {fcaHidden, fcaSystem}},
      {0x80, {fcaNormal}},
      {0x10, {fcaDirectory}},
  };
  for (const Case& c : cases) EXPECT_EQ(AttributesOfWord(c.word), c.read) << c.word;
  EXPECT_EQ(AttributeWordOf({fcaArchive, fcaOffline, fcaTemporary, fcaCompressed}), 0x1120u);
  EXPECT_EQ(ShellFlagsOf({ffNoActionConfirm, ffShowNoErrors, ffShowNoProgress}), 0x414u);
  EXPECT_EQ(ShellFlagsOf({ffFilesOnly, ffUseRecycleBin}), 0xC0u);
}

TEST(FileCtrlTest, FileNameKeepsThePreviousFileForMissingNamesAndDirectories) {
  TempDrives drives;
  TempDrives::Write(drives.Host('C', "a.txt"), "abc");
  TempDrives::Write(drives.Host('C', "dir/x"), "");
  TKCFileCtrl ctrl(drives.platform());
  EXPECT_TRUE(ctrl.Attributes().Empty());
  ctrl.SetFileName("C:\\A.TXT");
  EXPECT_EQ(ctrl.FileName(), "C:\\A.TXT");
  ctrl.SetFileName("C:\\missing.txt");
  ctrl.SetFileName("C:\\dir");
  EXPECT_EQ(ctrl.FileName(), "C:\\A.TXT");
  EXPECT_EQ(ctrl.Attributes(), TKCFileCtrlAttributes{fcaArchive});
  EXPECT_EQ(ctrl.FileSize(), 3);
  ctrl.SetAttributes({fcaArchive, fcaReadonly});
  EXPECT_EQ(ctrl.Attributes(), (TKCFileCtrlAttributes{fcaArchive, fcaReadonly}));
  std::remove(drives.Host('C', "a.txt").c_str());
  EXPECT_TRUE(ctrl.Attributes().Empty());
  EXPECT_EQ(ctrl.FileSize(), 0);
  EXPECT_EQ(ctrl.FileWriteStamp(), "");
}

TEST(FileCtrlTest, AttributesWriteSkipsTheSetWrittenLastForTheSameFile) {
  TempDrives drives;
  const std::string host = drives.Host('C', "a.txt");
  TempDrives::Write(host, "abc");
  TempDrives::Write(drives.Host('C', "b.txt"), "b");
  TKCFileCtrl ctrl(drives.platform());
  ctrl.SetFileName("C:\\a.txt");
  ctrl.SetAttributes({fcaHidden});
  setxattr(host.c_str(), "user.DOSATTRIB", "0x20", 4, 0);  // changed behind its back
  ctrl.SetAttributes({fcaHidden});                         // equal to the last set: ignored
  EXPECT_EQ(ctrl.Attributes(), TKCFileCtrlAttributes{fcaArchive});
  // Another file forgets the last set, so the same set is written there.
  ctrl.SetFileName("C:\\b.txt");
  ctrl.SetAttributes({fcaHidden});
  EXPECT_EQ(ctrl.Attributes(), TKCFileCtrlAttributes{fcaHidden});
}

TEST(FileCtrlTest, ShellOperations) {
  TempDrives drives;
  TempDrives::Write(drives.Host('C', "src.txt"), "new");
  TempDrives::Write(drives.Host('C', "dst.txt"), "old");
  TempDrives::Write(drives.Host('C', "sub/keep"), "");
  TKCFileCtrl ctrl(drives.platform());
  ctrl.Options = {ffNoActionConfirm, ffShowNoErrors, ffShowNoProgress};
  EXPECT_FALSE(ctrl.CopyFile("", "C:\\x"));
  EXPECT_FALSE(ctrl.CopyFile("C:\\none.txt", "C:\\x.txt"));
  EXPECT_TRUE(ctrl.CopyFile("C:\\src.txt", "C:\\dst.txt"));
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "dst.txt")), "new");
  drives.platform().ChangeDirectory("C:\\");
  EXPECT_TRUE(ctrl.FileOperation("dst.txt", "renamed.txt", foRename));
  EXPECT_TRUE(ctrl.FileOperation("C:\\renamed.txt", "C:\\SUB", foMove));  // into the folder
  EXPECT_EQ(TempDrives::Read(drives.Host('C', "sub/renamed.txt")), "new");
  const char kList[] = "C:\\src.txt\0C:\\sub\\renamed.txt\0";
  EXPECT_TRUE(ctrl.FileOperation(std::string(kList, sizeof(kList) - 1), "", foDelete));
  EXPECT_EQ(TempDrives::List(drives.Host('C')), std::vector<std::string>{"sub"});
  EXPECT_EQ(TempDrives::List(drives.Host('C', "sub")), std::vector<std::string>{"keep"});
}

TEST(FileCtrlTest, StampsAndTypeName) {
  TempDrives drives;
  TempDrives::Write(drives.Host('C', "x.abc"), "1");
  TempDrives::Write(drives.Host('C', "noext"), "1");
  TKCFileCtrl ctrl(drives.platform());
  ctrl.SetFileName("C:\\x.abc");
  EXPECT_EQ(ctrl.FileType(), ".ABC-Files");
  ASSERT_TRUE(ctrl.SetFileWriteStamp("3/5/2026 2:07:09 PM"));
  EXPECT_EQ(ctrl.FileWriteStamp(), "3/5/2026 2:07:09 PM");
  ASSERT_TRUE(ctrl.SetFileAccessStamp("12/8/2026"));
  EXPECT_EQ(ctrl.FileAccessStamp(), "12/8/2026");
  EXPECT_FALSE(ctrl.SetFileWriteStamp("31/31/2026"));
  EXPECT_EQ(ctrl.FileWriteStamp(), "3/5/2026 2:07:09 PM");
  EXPECT_FALSE(ctrl.SetFileCreateStamp("3/5/2026"));  // Linux keeps no settable birth time
  ctrl.SetFileName("C:\\noext");
  EXPECT_EQ(ctrl.FileType(), "-Files");
}

}  // namespace
