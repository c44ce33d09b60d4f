#include "platform/memory/memory_platform.h"

#include <functional>

#include <gtest/gtest.h>

#include "tests/support/recording_check.h"

namespace {

using platform::FindData;
using platform::FindResult;
using platform::MemoryPlatform;

std::string List(const std::string& name) { return name + std::string(1, '\0'); }

// Names and outcome of an enumeration, "name,name|outcome".
std::string Listing(MemoryPlatform& p, const std::string& pattern) {
  std::string names;
  const FindResult result = p.Enumerate(pattern, [&](const FindData& d) {
    names += (names.empty() ? "" : ",") + d.name;
    return true;
  });
  const char* outcome = result == FindResult::kFound ? "found" : result == FindResult::kNoMatch ? "none" : "failed";
  return names + "|" + outcome;
}

uint64_t FreeOn(MemoryPlatform& p, const std::string& path) {
  uint64_t free = 0;
  uint64_t unit = 0;
  return p.DiskSpace(path, &free, &unit) ? free : ~uint64_t{0};
}

TEST(MemoryPlatformTest, ResolvesNamesWithoutRegardToCase) {
  MemoryPlatform p("D:\\SETUP.EXE");
  p.AddFile("D:\\Macros\\Start.MAC", "start");
  p.AddFile("D:\\dup\\a.txt", "lower");
  p.AddFile("D:\\dup\\A.TXT", "upper");
  p.AddFile("D:\\x.txt", "root");
  p.AddLink("D:\\Macros\\up", "..");
  struct Case {
    const char* dos;
    const char* contents;  // nullptr: not readable as a file
  };
  const Case cases[] = {
      {"D:\\MACROS\\start.mac", "start"},
      {"d:/macros/START.MAC", "start"},
      {"D:\\dup\\a.txt", "lower"},  // exact spelling first
      {"D:\\dup\\A.TXT", "upper"},
      {"D:\\DUP\\a.Txt", "upper"},                    // else the byte-wise smallest
      {"D:\\..\\..\\x.txt", "root"},                  // ".." stops at the root
      {"D:\\macros\\..\\X.TXT. ", "root"},            // trailing dots and blanks dropped
      {"D:\\macros\\UP\\macros\\up\\x.txt", "root"},  // through links
      {"macros\\start.mac", "start"},                 // relative to the program's folder
      {"D:\\Macros\\Start.MAC\\", nullptr},           // a trailing separator asks for a folder
      {"D:\\Macros", nullptr},
      {"Q:\\x.txt", nullptr},  // no such drive
      {"\\\\server\\share\\x.txt", nullptr},
  };
  for (const Case& c : cases) {
    std::string data;
    EXPECT_EQ(p.ReadWholeFile(c.dos, &data), c.contents != nullptr) << c.dos;
    if (c.contents) {
      EXPECT_EQ(data, c.contents) << c.dos;
    }
  }
  EXPECT_TRUE(p.ChangeDirectory("c:"));
  EXPECT_EQ(p.CurrentDirectory(), "C:\\");
  EXPECT_FALSE(p.IsFile("macros\\start.mac"));
  EXPECT_FALSE(p.ChangeDirectory("D:\\x.txt"));
}

TEST(MemoryPlatformTest, EnumeratesInNtfsOrderWithEveryOutcome) {
  MemoryPlatform p("D:\\SETUP.EXE");
  for (const char* name : {"_u", "B.txt", "ab", "a.txt", "a"}) {
    p.AddFile(std::string("D:\\list\\") + name, "");
  }
  p.AddFolder("D:\\list\\sub");
  p.AddFile("D:\\partial\\x", "");
  p.AddFile("D:\\partial\\y", "");
  p.AddFolder("D:\\broken");
  p.FailListing("D:\\partial", 3);
  p.FailListing("D:\\broken");
  struct Case {
    const char* pattern;
    const char* expected;
  };
  const Case cases[] = {
      {"D:\\list\\*.*", ".,..,a,a.txt,ab,B.txt,sub,_u|found"},
      {"D:\\list\\*.TXT", "a.txt,B.txt|found"},
      {"D:\\list\\A?", "ab|found"},
      {"D:\\*", "broken,list,partial|found"},  // no dots at a drive root
      {"D:*", "broken,list,partial|found"},    // the current folder of D:
      {"D:\\LIST\\SUB\\*.*", ".,..|found"},
      {"D:\\list\\*.zip", "|none"},
      {"D:\\list\\", "|none"},
      {"D:\\missing\\*.*", "|none"},
      {"D:\\list\\a.txt\\*.*", "|none"},
      {"D:\\broken\\*.*", "|failed"},
      {"D:\\partial\\*.*", ".,..,x|failed"},  // a read error part-way
  };
  for (const Case& c : cases) EXPECT_EQ(Listing(p, c.pattern), c.expected) << c.pattern;

  int seen = 0;
  EXPECT_EQ(p.Enumerate("D:\\partial\\*.*", [&](const FindData&) { return ++seen < 2; }), FindResult::kFound);
  EXPECT_EQ(seen, 2);
}

TEST(MemoryPlatformTest, CopyReplacesInOneStepOrLeavesTheOldTarget) {
  struct Case {
    const char* name;
    const char* source;
    const char* target;
    bool ok;
    const char* checked;   // the path whose content tells the outcome
    const char* contents;  // nullptr: must not exist
  };
  const Case cases[] = {
      {"replaces a read-only target", "D:\\src\\new.txt", "C:\\dst\\old.txt", true, "C:\\dst\\old.txt", "new data"},
      {"keeps the target's spelling", "D:\\src\\new.txt", "c:\\DST\\OLD.TXT", true, "C:\\dst\\old.txt", "new data"},
      {"creates missing folders", "D:\\src\\new.txt", "C:\\made\\deep\\n.txt", true, "C:\\made\\deep\\n.txt",
       "new data"},
      {"into an existing folder", "D:\\src\\new.txt", "C:\\dst\\sub", true, "C:\\dst\\sub\\new.txt", "new data"},
      {"through a link", "D:\\src\\new.txt", "C:\\lnk\\via.txt", true, "C:\\dst\\via.txt", "new data"},
      {"device refused", "D:\\fifo", "C:\\dst\\fifo", false, "C:\\dst\\fifo", nullptr},
      {"folder refused", "D:\\src", "C:\\dst\\src", false, "C:\\dst\\src", nullptr},
      {"missing source", "D:\\src\\none.txt", "C:\\dst\\old.txt", false, "C:\\dst\\old.txt", "old"},
      {"a file on the way", "D:\\src\\new.txt", "C:\\dst\\old.txt\\x", false, "C:\\dst\\old.txt", "old"},
      {"disk full", "D:\\src\\big.bin", "E:\\old.txt", false, "E:\\old.txt", "old"},
  };
  for (const Case& c : cases) {
    MemoryPlatform p("D:\\SETUP.EXE",
                     {{'C', platform::kDriveFixed}, {'D', platform::kDriveCdRom}, {'E', platform::kDriveRemovable}});
    p.AddFile("D:\\src\\new.txt", "new data");
    p.AddFile("D:\\src\\big.bin", std::string(5000, 'b'));
    p.AddDevice("D:\\fifo");
    p.AddFile("C:\\dst\\old.txt", "old", platform::kAttrReadOnly);
    p.AddFolder("C:\\dst\\sub");
    p.AddLink("C:\\lnk", "C:\\dst");
    p.AddFile("E:\\old.txt", "old");
    p.SetFreeSpace('E', 4096, 4096);
    p.ClearChanges();
    const int error = p.ShellOperation(platform::kFoCopy, List(c.source), List(c.target),
                                       platform::kFofSilent | platform::kFofNoConfirmation);
    EXPECT_EQ(error == 0, c.ok) << c.name << ": error " << error;
    EXPECT_EQ(p.Changes().empty(), !c.ok) << c.name;  // a failed copy touches nothing
    EXPECT_EQ(p.Exists(c.checked), c.contents != nullptr) << c.name;
    if (c.contents) {
      EXPECT_EQ(p.Content(c.checked), c.contents) << c.name;
    }
  }
}

TEST(MemoryPlatformTest, CopyCarriesAttributesAndLastWriteAndObeysTheWriteLimit) {
  MemoryPlatform p("D:\\SETUP.EXE");
  p.AddFile("D:\\a.txt", "12345678", platform::kAttrHidden | platform::kAttrReadOnly);
  ASSERT_TRUE(p.SetFileTimeOf("D:\\a.txt", platform::Stamp::kLastWrite, platform::FileTime{42}));
  ASSERT_EQ(p.ShellOperation(platform::kFoCopy, List("D:\\a.txt"), List("C:\\a.txt"), 0), 0);
  EXPECT_EQ(p.FileAttributes("C:\\a.txt"), platform::kAttrHidden | platform::kAttrReadOnly | platform::kAttrArchive);
  platform::FileTime creation, access, write;
  ASSERT_TRUE(p.FileTimesOf("C:\\a.txt", &creation, &access, &write));
  EXPECT_EQ(write.ticks, 42u);
  EXPECT_NE(creation.ticks, 42u);

  p.SetCopyWriteLimit(10);
  EXPECT_EQ(p.ShellOperation(platform::kFoCopy, List("D:\\a.txt"), List("C:\\b.txt"), 0), 0);
  EXPECT_NE(p.ShellOperation(platform::kFoCopy, List("D:\\a.txt"), List("C:\\c.txt"), 0), 0);
  EXPECT_FALSE(p.Exists("C:\\c.txt"));
  p.SetCopyWriteLimit(-1);
  EXPECT_EQ(p.ShellOperation(platform::kFoCopy, List("D:\\a.txt"), List("C:\\c.txt"), 0), 0);
}

TEST(MemoryPlatformTest, CheckedCopyShowsEveryByteAndReplacesOnlyWhenAccepted) {
  for (const bool accept : {false, true}) {
    MemoryPlatform p("D:\\SETUP.EXE");
    p.AddFile("D:\\a.bin", std::string(150000, 'd'));
    p.AddFile("C:\\a.bin", "old");
    RecordingCheck check(accept);
    EXPECT_EQ(p.CheckedCopy("D:\\a.bin", "C:\\a.bin", check), accept ? 0 : platform::kErrorCopyRefused);
    EXPECT_EQ(check.seen, p.Content("D:\\a.bin")) << accept;
    EXPECT_EQ(check.pieces, 3) << accept;
    EXPECT_EQ(p.Content("C:\\a.bin"), accept ? check.seen : "old") << accept;
  }
}

TEST(MemoryPlatformTest, LinksAndDevicesAsTheBackendsReportThem) {
  MemoryPlatform p("D:\\SETUP.EXE");
  p.AddFile("D:\\m\\a.mac", "a");
  p.AddFile("D:\\m\\plain", "", 0);
  p.AddFolder("D:\\m\\.hid", platform::kAttrHidden);
  p.AddLink("D:\\m\\sub\\up", "..");
  p.AddLink("D:\\m\\flink", "a.mac");
  p.AddLink("D:\\m\\out", "C:\\S");
  p.AddFolder("C:\\s");
  p.AddLink("D:\\dang", "D:\\nowhere");
  p.AddLink("D:\\loop1", "D:\\loop2");
  p.AddLink("D:\\loop2", "D:\\loop1");
  p.AddDevice("D:\\m\\fifo");
  struct Case {
    const char* path;
    const char* real;
    uint32_t attributes;
  };
  using namespace platform;
  const Case cases[] = {
      {"d:\\M\\SUB\\UP\\a.MAC", "D:\\m\\a.mac", kAttrArchive},
      {"D:\\m\\sub\\up", "D:\\m", kAttrReparsePoint | kAttrDirectory},
      {"D:\\m\\sub\\up\\new\\x", "D:\\m\\new\\x", kInvalidAttributes},
      {"D:\\m\\out\\f", "C:\\s\\f", kInvalidAttributes},
      {"D:\\m\\flink", "D:\\m\\a.mac", kAttrArchive},
      {"D:\\dang", "D:\\nowhere", kAttrArchive},
      {"D:\\loop1\\x", "", kInvalidAttributes},
      {"Q:\\x", "", kInvalidAttributes},
      {"D:\\m\\.hid", "D:\\m\\.hid", kAttrDirectory | kAttrHidden},
      {"D:\\m\\plain", "D:\\m\\plain", kAttrNormal},
      {"D:\\m\\fifo", "D:\\m\\fifo", kAttrDevice | kAttrArchive},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(p.RealPath(c.path), c.real) << c.path;
    EXPECT_EQ(p.FileAttributes(c.path), c.attributes) << c.path;
  }
  uint32_t listed = 0;
  p.Enumerate("D:\\m\\sub\\u*", [&](const FindData& d) {
    listed = d.attributes;
    return true;
  });
  EXPECT_EQ(listed, kAttrReparsePoint | kAttrDirectory);

  std::string data;
  uint64_t size = 0;
  EXPECT_FALSE(p.ReadWholeFile("D:\\m\\fifo", &data));
  EXPECT_FALSE(p.FileSizeOf("D:\\m\\fifo", &size));
  EXPECT_TRUE(p.RemoveFile("D:\\m\\flink"));  // the link goes, not its file
  EXPECT_EQ(p.Content("D:\\m\\a.mac"), "a");
  EXPECT_FALSE(p.MakeDirectories("D:\\dang\\x"));
}

TEST(MemoryPlatformTest, SpaceFollowsWritesAndRemovals) {
  MemoryPlatform p("D:\\SETUP.EXE");
  p.AddFile("D:\\one", "1");
  p.AddFile("D:\\big", std::string(4097, 'x'));
  p.SetFreeSpace('C', 3 * 4096, 4096);
  const auto copy = [&](const char* from, const char* to) {
    return p.ShellOperation(platform::kFoCopy, List(from), List(to), 0) == 0;
  };
  platform::AppendHandle journal = platform::kNoAppend;
  struct Step {
    const char* name;
    std::function<bool()> run;
    bool ok;
    uint64_t freeAfter;
  };
  const Step steps[] = {
      {"one byte takes a unit", [&] { return copy("D:\\one", "C:\\f\\a"); }, true, 2 * 4096},
      {"4097 bytes take two", [&] { return copy("D:\\big", "C:\\b"); }, true, 0},
      {"nothing left", [&] { return copy("D:\\one", "C:\\c"); }, false, 0},
      {"a removal frees", [&] { return p.RemoveFile("C:\\b"); }, true, 2 * 4096},
      {"replacing needs room beside the old", [&] { return copy("D:\\big", "C:\\f\\a"); }, true, 4096},
      {"appends take units",
       [&] {
         journal = p.OpenAppend("C:\\journal");
         return p.Append(journal, std::string(4095, 'j'), true);
       },
       true, 0},
      {"an append past the end fails", [&] { return p.Append(journal, "jj", true); }, false, 0},
      {"a folder's delete frees its files",
       [&] { return p.ShellOperation(platform::kFoDelete, List("C:\\f"), "", 0) == 0; }, true, 2 * 4096},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(s.run(), s.ok) << s.name;
    EXPECT_EQ(FreeOn(p, "C:\\missing\\x"), s.freeAfter) << s.name;
  }
  EXPECT_EQ(p.Content("C:\\journal"), std::string(4095, 'j'));
}

TEST(MemoryPlatformTest, MovesAndRemovesFolders) {
  struct Case {
    const char* from;
    const char* to;
    bool replace;
    bool ok;
    const char* listing;  // of C:\ afterwards
  };
  const Case cases[] = {
      {"C:\\a.txt", "C:\\n.txt", false, true, "d,full,n.txt,ro.txt"},
      {"C:\\a.txt", "C:\\ro.txt", false, false, "a.txt,d,full,ro.txt"},
      {"C:\\a.txt", "C:\\RO.TXT", true, true, "d,full,ro.txt"},
      {"C:\\a.txt", "C:\\d", true, false, "a.txt,d,full,ro.txt"},
      {"C:\\a.txt", "C:\\A.Txt", false, true, "A.Txt,d,full,ro.txt"},
      {"C:\\d", "C:\\d\\inner", false, false, "a.txt,d,full,ro.txt"},
      {"C:\\a.txt", "D:\\a.txt", true, false, "a.txt,d,full,ro.txt"},
      {"C:\\a.txt", "C:\\no\\a.txt", false, false, "a.txt,d,full,ro.txt"},
      {"C:\\d", "C:\\e", false, true, "a.txt,e,full,ro.txt"},
  };
  for (const Case& c : cases) {
    MemoryPlatform p("D:\\SETUP.EXE");
    p.AddFile("C:\\a.txt", "a");
    p.AddFile("C:\\ro.txt", "ro", platform::kAttrReadOnly);
    p.AddFolder("C:\\d");
    p.AddFile("C:\\full\\f", "");
    EXPECT_EQ(p.MoveEntry(c.from, c.to, c.replace), c.ok) << c.from << " -> " << c.to;
    EXPECT_EQ(Listing(p, "C:\\*"), std::string(c.listing) + "|found") << c.from << " -> " << c.to;
  }
  MemoryPlatform p("D:\\SETUP.EXE");
  p.AddFile("C:\\a.txt", "a");
  p.AddFolder("C:\\d");
  p.AddLink("C:\\l", "C:\\D");
  p.ClearChanges();
  ASSERT_TRUE(p.MoveEntry("c:\\A.TXT", "C:\\l\\b.txt", false));
  EXPECT_EQ(p.Changes(), (std::vector<std::string>{"C:\\a.txt", "C:\\d\\b.txt"}));

  p.AddFile("C:\\full\\f", "");
  p.AddFolder("C:\\empty");
  for (const char* path : {"C:\\full", "C:\\", "C:\\full\\f", "C:\\missing"}) {
    EXPECT_FALSE(p.RemoveDirectory(path)) << path;
  }
  EXPECT_TRUE(p.RemoveDirectory("C:\\EMPTY"));
  EXPECT_FALSE(p.IsDirectory("C:\\empty"));
}

TEST(MemoryPlatformTest, ProbeJournalAndDrives) {
  MemoryPlatform p("D:\\SETUP.EXE");
  p.AddFile("C:\\taken", "mine");
  p.AddFolder("C:\\dir");
  p.AddLink("C:\\link", "C:\\taken");
  EXPECT_EQ(p.ProbeCreate("C:\\TAKEN"), platform::kNoProbe);
  EXPECT_EQ(p.Content("C:\\taken"), "mine");
  const platform::ProbeHandle probe = p.ProbeCreate("C:\\probe");
  EXPECT_NE(probe, platform::kNoProbe);
  p.ProbeClose(probe);
  EXPECT_TRUE(p.IsFile("C:\\probe"));

  for (const char* refused : {"C:\\dir", "C:\\link", "C:\\none\\j"}) {
    EXPECT_EQ(p.OpenAppend(refused), platform::kNoAppend) << refused;
  }
  EXPECT_EQ(p.StateDirectory(), "C:\\STATE");
  EXPECT_TRUE(p.IsDirectory("C:\\state"));
  const platform::AppendHandle journal = p.OpenAppend("C:\\STATE\\journal");
  EXPECT_TRUE(p.Append(journal, "one\n", true));
  EXPECT_EQ(p.OpenAppend("C:\\STATE\\journal"), platform::kNoAppend);  // held
  p.CloseAppend(journal);
  const platform::AppendHandle again = p.OpenAppend("C:\\state\\JOURNAL");
  EXPECT_TRUE(p.Append(again, "two\n", false));
  p.CloseAppend(again);
  EXPECT_FALSE(p.Append(again, "three\n", false));
  EXPECT_EQ(p.Content("C:\\STATE\\journal"), "one\ntwo\n");

  EXPECT_TRUE(p.FlushVolume("C:\\STATE"));
  EXPECT_FALSE(p.FlushVolume("Q:\\"));
  EXPECT_EQ(p.FlushCount(), 1);

  char buffer[16];
  EXPECT_EQ(p.LogicalDriveStrings(4, buffer), 9u);
  ASSERT_EQ(p.LogicalDriveStrings(sizeof(buffer), buffer), 8u);
  EXPECT_EQ(std::string(buffer, 9), std::string("C:\\\0D:\\\0\0", 9));
  EXPECT_EQ(p.DriveTypeOf("d:\\"), platform::kDriveCdRom);
  EXPECT_EQ(p.DriveTypeOf("Q:\\"), platform::kDriveNoRootDir);
}

}  // namespace
