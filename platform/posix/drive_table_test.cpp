#include "platform/posix/drive_table.h"

#include <gtest/gtest.h>

#include "platform/filetime.h"
#include "platform/platform.h"

namespace {

using platform::posix::BuildDriveTable;
using platform::posix::MountEntry;

TEST(DriveTableTest, DesktopMountsAndTheProgramsMountGetLetters) {
  const std::string mounts =
      "/dev/sda1 / ext4 rw 0 0\n"
      "proc /proc proc rw 0 0\n"
      "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
      "/dev/sr0 /run/media/ann/DELIVERY iso9660 ro 0 0\n"
      "server:/x /home/ann/net nfs4 rw 0 0\n"
      "/dev/sdc1 /mnt/install ext4 rw 0 0\n"
      "/dev/sdd1 /mnt/other ext4 rw 0 0\n";
  const auto table =
      BuildDriveTable("/home/ann", "ann", platform::posix::ParseMounts(mounts), "/mnt/install/setup/SETUP");
  struct Case {
    char letter;
    const char* root;
    uint32_t type;
  };
  const Case expected[] = {
      {'C', "/home/ann", platform::kDriveFixed},
      {'D', "/home/ann/net", platform::kDriveRemote},
      {'E', "/media/ann/USB STICK", platform::kDriveRemovable},
      {'F', "/mnt/install", platform::kDriveFixed},
      {'G', "/run/media/ann/DELIVERY", platform::kDriveCdRom},
      {'Z', "/", platform::kDriveFixed},
  };
  ASSERT_EQ(table.drives().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(table.drives()[i].letter, expected[i].letter) << i;
    EXPECT_EQ(table.drives()[i].hostRoot, expected[i].root) << i;
    EXPECT_EQ(table.drives()[i].type, expected[i].type) << i;
  }
  struct PathCase {
    const char* host;
    const char* dos;
  };
  const PathCase paths[] = {
      {"/mnt/install/setup/SETUP", "F:\\setup\\SETUP"},
      {"/home/ann", "C:\\"},
      {"/home/ann/net/a", "D:\\a"},
      {"/home/annex", "Z:\\home\\annex"},
      {"/", "Z:\\"},
  };
  for (const PathCase& p : paths) EXPECT_EQ(table.HostToDos(p.host), p.dos) << p.host;
}

TEST(FileTimeTest, CalendarRoundTrip) {
  struct Case {
    platform::SystemTime parts;
    bool valid;
  };
  const Case cases[] = {
      {{1601, 1, 1, 1, 0, 0, 0, 0}, true},       {{1990, 1, 1, 1, 0, 0, 0, 0}, true},
      {{2000, 2, 2, 29, 23, 59, 59, 999}, true}, {{2026, 12, 2, 8, 15, 48, 32, 0}, true},
      {{1900, 2, 0, 29, 0, 0, 0, 0}, false},     {{2026, 13, 0, 1, 0, 0, 0, 0}, false},
      {{1600, 12, 0, 31, 0, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    platform::FileTime t;
    const std::string name =
        std::to_string(c.parts.year) + "-" + std::to_string(c.parts.month) + "-" + std::to_string(c.parts.day);
    ASSERT_EQ(platform::SystemTimeToFileTime(c.parts, &t), c.valid) << name;
    if (!c.valid) continue;
    const platform::SystemTime back = platform::FileTimeToSystemTime(t);
    EXPECT_EQ(back.year, c.parts.year) << name;
    EXPECT_EQ(back.month, c.parts.month) << name;
    EXPECT_EQ(back.day, c.parts.day) << name;
    EXPECT_EQ(back.dayOfWeek, c.parts.dayOfWeek) << name;
    EXPECT_EQ(back.hour * 3600 + back.minute * 60 + back.second,
              c.parts.hour * 3600 + c.parts.minute * 60 + c.parts.second)
        << name;
    EXPECT_EQ(back.milliseconds, c.parts.milliseconds) << name;
  }
  int64_t s = 0;
  int64_t ns = 0;
  platform::FileTimeToUnix(platform::FileTimeFromUnix(1000000000, 500), &s, &ns);
  EXPECT_EQ(s, 1000000000);
  EXPECT_EQ(ns, 500);
}

}  // namespace
