#include "platform/posix/host_files.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/temp_medium.h"

namespace {

using platform::posix::RealHostDirectory;

TEST(HostFilesTest, RealHostDirectoryResolvesLinksAndRefusesWhatIsNoFolder) {
  TempDrives drives("C");
  const std::string base = RealHostDirectory(drives.Host('C'));
  ASSERT_FALSE(base.empty());
  TempDrives::Write(drives.Host('C', "real/file"), "x");
  ASSERT_EQ(symlink("real", drives.Host('C', "link").c_str()), 0);
  ASSERT_EQ(symlink("real/file", drives.Host('C', "filelink").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", drives.Host('C', "dangling").c_str()), 0);
  struct Case {
    const char* name;
    const char* path;      // below C:'s folder
    const char* expected;  // below base; nullptr: empty
  };
  const Case cases[] = {
      {"folder", "real", "/real"},
      {"trailing slash", "real/", "/real"},
      {"dot-dot", "real/../real", "/real"},
      {"link to a folder", "link", "/real"},
      {"file", "real/file", nullptr},
      {"link to a file", "filelink", nullptr},
      {"dangling link", "dangling", nullptr},
      {"missing", "missing", nullptr},
  };
  for (const Case& c : cases) {
    const std::string expected = c.expected ? base + c.expected : std::string();
    EXPECT_EQ(RealHostDirectory(drives.Host('C') + "/" + c.path), expected) << c.name;
  }
  // A relative path counts from the working directory.
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
  ASSERT_EQ(chdir(drives.Host('C').c_str()), 0);
  const std::string relative = RealHostDirectory("link");
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(relative, base + "/real");
}

}  // namespace
