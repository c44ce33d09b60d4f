#include "install/kcfilegrep.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/fault_platform.h"
#include "tests/support/queue_event_loop.h"
#include "tests/support/temp_medium.h"

namespace {

class FileGrepTest : public ::testing::Test {
 protected:
  FileGrepTest() {
    for (const char* f : {"src/a.txt", "src/sub/b.txt", "src/.hid", "src/.hdir/c.txt"}) {
      TempDrives::Write(drives.Host('C', f), "data of abc");
    }
    grep.ThreadedSearch = false;
    grep.FileMasks = "*.*";
    grep.OnFound = [this](void*, const std::string& r) { found.push_back(r); };
    grep.OnFinished = [this](void*) { ++finished; };
    grep.OnCancel = [this](void*) { ++cancelled; };
  }

  std::vector<std::string> Run(const std::string& dirs) {
    found.clear();
    grep.Dirs = dirs;
    grep.Search();
    return found;
  }

  TempDrives drives;
  DirectEventLoop loop;
  TKCFileGrep grep{drives.platform(), loop};
  std::vector<std::string> found;
  int finished = 0;
  int cancelled = 0;
};

using Records = std::vector<std::string>;

TEST_F(FileGrepTest, WalksDepthFirstWithDirectoryRecords) {
  const Records expected = {"C:\\src\\;.hdir;", "C:\\src\\;.hid;", "C:\\src\\;a.txt;", "C:\\src\\;sub;",
                            "C:\\src\\sub\\;b.txt;"};
  EXPECT_EQ(Run("C:\\src"), expected);
  EXPECT_EQ(Run("C:\\src\\"), expected);
  EXPECT_EQ(grep.ResultList(), expected);
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(cancelled, 0);
}

TEST_F(FileGrepTest, MasksAndFilters) {
  TempDrives::Write(drives.Host('C', "f/ten.bin"), std::string(10, 'x'));
  TempDrives::Write(drives.Host('C', "f/five.txt"), "ABCDE");
  const std::string ro = drives.Host('C', "f/ro.txt");
  TempDrives::Write(ro, "aaab");
  setxattr(ro.c_str(), "user.DOSATTRIB", "0x1", 3, 0);  // read-only, not archive
  struct Case {
    const char* name;
    std::function<void(TKCFileGrep&)> setup;
    Records expected;
  };
  const Case cases[] = {
      {"two masks report twice",
       [](TKCFileGrep& g) { g.FileMasks = "*.txt;*.*"; },
       {"five.txt", "ro.txt", "five.txt", "ro.txt", "ten.bin"}},
      {"trailing ; adds an empty mask", [](TKCFileGrep& g) { g.FileMasks = "*.bin;"; }, {"ten.bin"}},
      {"archive only", [](TKCFileGrep& g) { g.Attributes = {fmArchive}; }, {"five.txt", "ten.bin"}},
      {"read-only", [](TKCFileGrep& g) { g.Attributes = {fmReadOnly}; }, {"ro.txt"}},
      {"any file wins",
       [](TKCFileGrep& g) {
         g.Attributes = {fmReadOnly, fmAnyfile};
       },
       {"five.txt", "ro.txt", "ten.bin"}},
      {"empty set accepts all", [](TKCFileGrep& g) { g.Attributes = {}; }, {"five.txt", "ro.txt", "ten.bin"}},
      {"size bounds inclusive",
       [](TKCFileGrep& g) {
         g.MinSize = 4;
         g.MaxSize = 5;
       },
       {"five.txt", "ro.txt"}},
      {"content folded",
       [](TKCFileGrep& g) {
         g.Content = "bCd";
         g.CaseSensitiveContent = false;
       },
       {"five.txt"}},
      {"content case-sensitive", [](TKCFileGrep& g) { g.Content = "bCd"; }, {}},
      {"restart inside a near match", [](TKCFileGrep& g) { g.Content = "aab"; }, {"ro.txt"}},
      {"flagged bound of 0 ignored",
       [](TKCFileGrep& g) {
         TKCDateTime zero;
         zero.SetValue(0);
         g.SetDateBound(lfModifiedAfter, zero);
         g.LookForDates = {lfModifiedAfter};
       },
       {"five.txt", "ro.txt", "ten.bin"}},
      {"modified after 2100",
       [](TKCFileGrep& g) {
         TKCDateTime later;
         later.SetYear(2100);
         g.SetDateBound(lfModifiedAfter, later);
         g.LookForDates = {lfModifiedAfter};
       },
       {}},
      {"modified before 2100",
       [](TKCFileGrep& g) {
         TKCDateTime later;
         later.SetYear(2100);
         g.SetDateBound(lfModifiedBefore, later);
         g.LookForDates = {lfModifiedBefore};
       },
       {"five.txt", "ro.txt", "ten.bin"}},
  };
  for (const Case& c : cases) {
    TKCFileGrep g(drives.platform(), loop);
    g.ThreadedSearch = false;
    g.FileMasks = "*.*";
    g.ReturnValues = {rvFilename};
    g.ReturnDelimiter = '\0';
    c.setup(g);
    g.Dirs = "C:\\f";
    g.Search();
    Records names;
    for (const std::string& r : g.ResultList()) names.push_back(r.substr(0, r.size() - 1));
    EXPECT_EQ(names, c.expected) << c.name;
  }
}

TEST_F(FileGrepTest, RecordPartsInTheirOrder) {
  TempDrives::Write(drives.Host('C', "r/x.txt"), "12345");
  const struct timespec t[2] = {{1772719629, 0}, {1772719629, 0}};  // 2026-03-05 14:07:09 UTC
  utimensat(AT_FDCWD, drives.Host('C', "r/x.txt").c_str(), t, 0);
  grep.ReturnValues = {rvAttr, rvSize, rvFilename, rvDir, rvLastModifiedDate};
  grep.ReturnDelimiter = '|';
  const Records records = Run("C:\\r");
  ASSERT_EQ(records.size(), 1u);
  // Dir, name, size, date (long date format), then the attribute letters.
  EXPECT_EQ(records[0].substr(0, 16), "C:\\r\\|x.txt|5|Ma");
  EXPECT_NE(records[0].find(", 2026|a"), std::string::npos) << records[0];
  grep.ReturnValues = {};
  EXPECT_EQ(Run("C:\\r"), Records{""});
}

TEST_F(FileGrepTest, EmptyPieceSearchesTheCurrentRoot) {
  drives.platform().ChangeDirectory("C:\\src\\sub");
  grep.RecurseSubDirs = false;
  grep.ReturnValues = {rvFilename};
  EXPECT_EQ(Run(""), (Records{"src;"}));
  EXPECT_EQ(Run("C:\\src\\sub;"), (Records{"b.txt;", "src;"}));
}

TEST_F(FileGrepTest, CancelFromOnFoundStopsAtOnceAndTheNextSearchRuns) {
  grep.OnFound = [this](void*, const std::string& r) {
    found.push_back(r);
    grep.Cancel();
  };
  EXPECT_EQ(Run("C:\\src;C:\\src").size(), 1u);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(finished, 0);
  grep.OnFound = [this](void*, const std::string& r) { found.push_back(r); };
  EXPECT_EQ(Run("C:\\src").size(), 5u);
  EXPECT_EQ(finished, 1);
  // A Cancel while idle stops the next search at its first check.
  grep.Cancel();
  EXPECT_EQ(Run("C:\\src").size(), 0u);
  EXPECT_EQ(cancelled, 2);
}

TEST_F(FileGrepTest, LinkLoopsAreNotEntered) {
  symlink(drives.Host('C', "src").c_str(), drives.Host('C', "src/sub/loop").c_str());
  grep.ReturnValues = {rvFilename};
  EXPECT_EQ(Run("C:\\src"), (Records{".hdir;", ".hid;", "a.txt;", "sub;", "b.txt;", "loop;"}));
}

TEST_F(FileGrepTest, MasksBeyondTheHundredthAreIgnored) {
  std::string masks;
  for (int i = 0; i < 100; ++i) masks += "none" + std::to_string(i) + ";";
  grep.FileMasks = masks + "a.txt";
  grep.RecurseSubDirs = false;
  EXPECT_EQ(Run("C:\\src").size(), 0u);
  grep.FileMasks = masks.substr(0, masks.size() - 7) + "a.txt";  // a.txt is the 100th
  EXPECT_EQ(Run("C:\\src").size(), 1u);
}

TEST(FileGrepThreadTest, WorkerAsksTheGuiThreadAndWaits) {
  TempDrives drives;
  TempDrives::Write(drives.Host('C', "t/a.txt"), "a");
  QueueEventLoop loop;
  TKCFileGrep grep(drives.platform(), loop);
  grep.FileMasks = "*.*";
  grep.Dirs = "C:\\t";
  int finished = 0;
  grep.OnFinished = [&](void*) { ++finished; };
  grep.SetThreadPriority(tpLowest);
  grep.Search();
  EXPECT_TRUE(grep.WorkerPending());
  grep.Search();  // ignored while pending
  ASSERT_TRUE(loop.WaitForQueuedCall());
  EXPECT_TRUE(grep.ResultList().empty());
  loop.ProcessMessages();
  EXPECT_FALSE(grep.WorkerPending());
  EXPECT_EQ(grep.ResultList(), Records{"C:\\t\\;a.txt;"});
  EXPECT_EQ(finished, 1);
}

TEST(FileGrepThreadTest, DestroyedComponentNeverRunsItsPendingSearch) {
  TempDrives drives;
  QueueEventLoop loop;
  int runs = 0;
  {
    TKCFileGrep grep(drives.platform(), loop);
    grep.Dirs = "C:\\";
    grep.OnFinished = [&](void*) { ++runs; };
    grep.OnCancel = [&](void*) { ++runs; };
    grep.Search();
    ASSERT_TRUE(loop.WaitForQueuedCall());
  }
  loop.ProcessMessages();
  EXPECT_EQ(runs, 0);
}

TEST(FileGrepThreadTest, CancelWhilePendingEndsWithOnCancel) {
  TempDrives drives;
  TempDrives::Write(drives.Host('C', "t/a.txt"), "a");
  QueueEventLoop loop;
  TKCFileGrep grep(drives.platform(), loop);
  grep.Dirs = "C:\\t;C:\\t";
  int cancelled = 0;
  std::vector<std::string> dirs;
  grep.OnCancel = [&](void*) { ++cancelled; };
  grep.OnDirChange = [&](void*, const std::string& d) { dirs.push_back(d); };
  grep.Search();
  ASSERT_TRUE(loop.WaitForQueuedCall());
  grep.Cancel();
  loop.ProcessMessages();
  EXPECT_EQ(cancelled, 1);
  EXPECT_TRUE(dirs.empty());  // with a worker, the pieces are skipped
  EXPECT_TRUE(grep.ResultList().empty());
}

TEST(FileGrepThreadTest, ASearchStartedFromItsOwnEndEventRuns) {
  TempDrives drives;
  TempDrives::Write(drives.Host('C', "t/a.txt"), "a");
  // A hang fails the test in the child instead of holding the suite.
  EXPECT_EXIT(
      {
        alarm(10);
        QueueEventLoop loop;
        TKCFileGrep grep(drives.platform(), loop);
        grep.FileMasks = "*.*";
        grep.Dirs = "C:\\t";
        int finished = 0;
        grep.OnFinished = [&](void*) {
          if (++finished == 1) grep.Search();
        };
        grep.Search();
        // The second request may be served in the same pass as the first.
        for (int round = 0; round < 20 && finished < 2; ++round) {
          loop.WaitForQueuedCall();
          loop.ProcessMessages();
        }
        std::_Exit(finished == 2 && grep.ResultList().size() == 1 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
