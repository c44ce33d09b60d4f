// The platform contract on the Win32 backend, on real folders of the running
// system (under Wine in CI).
#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/copy_fault_hook.h"
#include "platform/win32/wide.h"
#include "tests/support/recording_check.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The interface's own RemoveDirectory, not the macro of <windows.h>.
#undef RemoveDirectory

namespace {

// A fresh folder below the system's temporary folder.
class Win32Test : public ::testing::Test {
 protected:
  Win32Test() : platform(platform::win32::MakeWin32Platform()) {
    static int counter = 0;
    const char* tmp = std::getenv("TEMP");
    root = std::string(tmp ? tmp : "C:\\windows\\temp") + "\\setup-test-" + std::to_string(GetCurrentProcessId()) +
           "-" + std::to_string(++counter);
    EXPECT_TRUE(platform->MakeDirectories(root)) << root;
  }
  ~Win32Test() override {
    platform->ChangeDirectory("C:\\");  // a current folder cannot be removed
    platform->ShellOperation(platform::kFoDelete, root + std::string(1, '\0'), "",
                             platform::kFofNoConfirmation | platform::kFofNoErrorUi | platform::kFofSilent);
  }
  // Written past the platform: the wide call on the long-path form of the
  // path (root is absolute and normalised), so names of every script and
  // paths of any length are made the same way.
  void Write(const std::string& relative, const std::string& data) {
    const std::string path = root + "\\" + relative;
    const size_t cut = path.rfind('\\');
    platform->MakeDirectories(path.substr(0, cut));
    const HANDLE h = CreateFileW((L"\\\\?\\" + platform::win32::Wide(path)).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD wrote = 0;
    EXPECT_TRUE(WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &wrote, nullptr)) << path;
    CloseHandle(h);
  }
  std::string Read(const std::string& relative) {
    std::string data;
    return platform->ReadWholeFile(root + "\\" + relative, &data) ? data : "<missing>";
  }
  static std::string List(const std::string& name) { return name + std::string(1, '\0'); }

  // What a copy must leave alone: the bytes, the attribute word, the
  // last-write time.
  using Snapshot = std::tuple<std::string, uint32_t, uint64_t>;
  Snapshot Snap(const std::string& relative) {
    platform::FileTime c, a, w;
    if (!platform->FileTimesOf(root + "\\" + relative, &c, &a, &w)) w.ticks = 0;
    return Snapshot(Read(relative), platform->FileAttributes(root + "\\" + relative), w.ticks);
  }
  // Names in a folder that a copy's temporary file would have.
  std::vector<std::string> TempFiles(const std::string& relative) {
    std::vector<std::string> names;
    platform->FindEntries(root + "\\" + relative + "\\*", [&](const platform::FindData& d) {
      if (d.name.rfind(platform::kCopyTempPrefix, 0) == 0) names.push_back(d.name);
      return true;
    });
    return names;
  }
  static constexpr uint32_t kQuiet =
      platform::kFofNoConfirmation | platform::kFofNoErrorUi | platform::kFofSilent | platform::kFofNoConfirmMkdir;

  std::unique_ptr<platform::Platform> platform;
  std::string root;
};

TEST_F(Win32Test, FilesDirectoriesAndTheProbe) {
  Write("a.txt", "abc");
  EXPECT_TRUE(platform->IsFile(root + "\\A.TXT"));
  EXPECT_FALSE(platform->IsDirectory(root + "\\a.txt"));
  EXPECT_TRUE(platform->IsDirectory(root));
  EXPECT_EQ(Read("a.txt"), "abc");
  uint64_t size = 0;
  EXPECT_TRUE(platform->FileSizeOf(root + "\\a.txt", &size));
  EXPECT_EQ(size, 3u);
  EXPECT_TRUE(platform->MakeDirectories(root + "\\x\\y\\z"));
  EXPECT_TRUE(platform->IsDirectory(root + "\\X\\Y\\Z"));
  EXPECT_FALSE(platform->MakeDirectories(root + "\\a.txt\\sub"));
  const std::string probe = root + "\\x\\$xAz2f$9.rrx";
  const platform::ProbeHandle h = platform->ProbeCreate(probe);
  ASSERT_NE(h, platform::kNoProbe);
  platform->ProbeClose(h);
  EXPECT_TRUE(platform->RemoveFile(probe));
  EXPECT_FALSE(platform->IsFile(probe));
  EXPECT_EQ(platform->ProbeCreate(root + "\\missing\\p.rrx"), platform::kNoProbe);
}

// Wine gives every regular file the archive attribute whatever was set, and
// Windows does not; the expectations below set archive explicitly, so they
// hold on both.
TEST_F(Win32Test, AttributesAndEnumeration) {
  Write("src\\b.txt", "1234");
  Write("src\\a.mac", "1");
  Write("src\\sub\\c.txt", "");
  ASSERT_TRUE(platform->SetAttributes(root + "\\src\\b.txt", platform::kAttrArchive | platform::kAttrReadOnly));
  EXPECT_EQ(platform->FileAttributes(root + "\\src\\b.txt"), platform::kAttrArchive | platform::kAttrReadOnly);
  ASSERT_TRUE(platform->SetAttributes(root + "\\src\\b.txt", platform::kAttrArchive));
  EXPECT_EQ(platform->FileAttributes(root + "\\src\\b.txt"), platform::kAttrArchive);
  EXPECT_EQ(platform->FileAttributes(root + "\\none"), platform::kInvalidAttributes);
  // The word it has already (not written again) succeeds; a missing name
  // fails whatever word is asked for.
  EXPECT_TRUE(platform->SetAttributes(root + "\\src\\b.txt", platform::kAttrArchive));
  EXPECT_EQ(platform->FileAttributes(root + "\\src\\b.txt"), platform::kAttrArchive);
  for (const uint32_t word : {static_cast<uint32_t>(platform::kAttrArchive), platform::kInvalidAttributes}) {
    EXPECT_FALSE(platform->SetAttributes(root + "\\none", word)) << word;
  }
  std::vector<std::string> names;
  platform::FindData b;
  EXPECT_TRUE(platform->FindEntries(root + "\\src\\*.txt", [&](const platform::FindData& d) {
    names.push_back(d.name);
    if (d.name == "b.txt") b = d;
    return true;
  }));
  EXPECT_EQ(names, std::vector<std::string>{"b.txt"});
  EXPECT_EQ(b.size, 4u);
  EXPECT_GT(b.lastWrite.ticks, 0u);
  names.clear();
  platform->FindEntries(root + "\\src\\*.*", [&](const platform::FindData& d) {
    names.push_back(d.name);
    return true;
  });
  // Windows returns the entries of a folder in its own order; "." and ".."
  // come with them below a drive root.
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.mac", "b.txt", "sub"}));
  EXPECT_FALSE(platform->FindEntries(root + "\\missing\\*.*", [](const platform::FindData&) { return true; }));
}

TEST_F(Win32Test, ShellCopyReplacesAReadOnlyTargetSilently) {
  Write("src\\a.mac", "new");
  Write("dst\\a.mac", "old");
  platform->SetAttributes(root + "\\dst\\a.mac", platform::kAttrReadOnly);
  const uint32_t flags = platform::kFofNoConfirmation | platform::kFofNoErrorUi | platform::kFofSilent;
  EXPECT_EQ(
      platform->ShellOperation(platform::kFoCopy, List(root + "\\src\\a.mac"), List(root + "\\dst\\a.mac"), flags), 0);
  EXPECT_EQ(Read("dst\\a.mac"), "new");
  EXPECT_NE(
      platform->ShellOperation(platform::kFoCopy, List(root + "\\src\\none.mac"), List(root + "\\dst\\n.mac"), flags),
      0);
  EXPECT_FALSE(platform->IsFile(root + "\\dst\\n.mac"));
}

TEST_F(Win32Test, DrivesTimesAndLocale) {
  char buffer[255] = {};
  const uint32_t count = platform->LogicalDriveStrings(254, buffer);
  ASSERT_GT(count, 0u);
  ASSERT_LT(count, 255u);
  bool hasC = false;
  for (uint32_t p = 0; p + 1 < count; p += 4) hasC = hasC || std::string(buffer + p, 3) == "C:\\";
  EXPECT_TRUE(hasC);
  EXPECT_EQ(platform->DriveTypeOf("C:\\"), platform::kDriveFixed);
  Write("t.txt", "x");
  const platform::FileTime stamp{132000000000000000ull};
  ASSERT_TRUE(platform->SetFileTimeOf(root + "\\t.txt", platform::Stamp::kLastWrite, stamp));
  platform::FileTime c, a, w;
  ASSERT_TRUE(platform->FileTimesOf(root + "\\t.txt", &c, &a, &w));
  EXPECT_EQ(w.ticks, stamp.ticks);
  const platform::LocaleDateData locale = platform->LocaleDates();
  EXPECT_FALSE(locale.longDateFormat.empty());
  EXPECT_FALSE(locale.longMonthNames[0].empty());
  EXPECT_NE(platform->ProgramFileName().find("core_tests"), std::string::npos);
  EXPECT_TRUE(platform->ChangeDirectory(root));
  EXPECT_EQ(platform->FullPath("a\\..\\b"), root + "\\b");
}

TEST_F(Win32Test, EnumerateTellsNoMatchFromFound) {
  Write("src\\b.txt", "1234");
  Write("src\\c.txt", "5");
  struct Case {
    const char *name, *pattern;
    bool stopAtFirst;
    platform::FindResult result;
    size_t entries;
  } const cases[] = {
      {"matches", "src\\*.txt", false, platform::FindResult::kFound, 2},
      {"stopped by the caller", "src\\*.txt", true, platform::FindResult::kFound, 1},
      {"nothing matches", "src\\*.zzz", false, platform::FindResult::kNoMatch, 0},
      {"missing folder", "missing\\*.*", false, platform::FindResult::kNoMatch, 0},
  };
  for (const Case& c : cases) {
    size_t entries = 0;
    const platform::FindResult result = platform->Enumerate(root + "\\" + c.pattern, [&](const platform::FindData&) {
      ++entries;
      return !c.stopAtFirst;
    });
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(entries, c.entries) << c.name;
  }
}

TEST_F(Win32Test, RealPathResolvesTheExistingPartAndKeepsTheRest) {
  Write("Src\\b.txt", "1");
  struct Case {
    const char* name;
    const char* path;
    const char* real;
  } const cases[] = {
      {"existing file", "Src\\b.txt", "Src\\b.txt"},
      {"spelling on disk", "SRC\\B.TXT", "Src\\b.txt"},
      {"missing tail, normalised", "Src\\new\\x\\..\\y.txt", "Src\\new\\y.txt"},
      {"missing folder", "none\\y.txt", "none\\y.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform->RealPath(root + "\\" + c.path), root + "\\" + c.real) << c.name;
  }
}

// Wine replaces a read-only file even without clearing its bit first;
// Windows refuses, so the read-only case counts on Windows itself.
TEST_F(Win32Test, MoveEntryReplacesOnlyWhenAsked) {
  struct Case {
    const char* name;
    bool targetExists, targetReadOnly, replace, moved;
  } const cases[] = {
      {"new name", false, false, false, true},
      {"existing target, no replace", true, false, false, false},
      {"existing target, replace", true, false, true, true},
      {"read-only target, replace", true, true, true, true},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string from = "m" + std::to_string(++n) + ".new", to = "m" + std::to_string(n) + ".old";
    Write(from, "new");
    if (c.targetExists) Write(to, "old");
    if (c.targetReadOnly) platform->SetAttributes(root + "\\" + to, platform::kAttrReadOnly);
    EXPECT_EQ(platform->MoveEntry(root + "\\" + from, root + "\\" + to, c.replace), c.moved) << c.name;
    EXPECT_EQ(Read(to), c.moved ? "new" : "old") << c.name;
    EXPECT_EQ(platform->IsFile(root + "\\" + from), !c.moved) << c.name;
  }
}

TEST_F(Win32Test, CopyOfOneFileArrivesWithAttributesAndTime) {
  Write("src\\a.mac", "new data");
  Write("dst\\old.mac", "old");
  platform->SetAttributes(root + "\\dst\\old.mac", platform::kAttrReadOnly);
  const platform::FileTime stamp{132000000000000000ull};
  ASSERT_TRUE(platform->SetFileTimeOf(root + "\\src\\a.mac", platform::Stamp::kLastWrite, stamp));
  struct Case {
    const char* name;
    uint32_t sourceAttributes;
    const char* target;
  } const cases[] = {
      {"new target in a missing folder", platform::kAttrArchive, "dst\\sub\\new.mac"},
      {"read-only source", platform::kAttrReadOnly, "dst\\ro.mac"},
      {"read-only old target", platform::kAttrNormal, "dst\\old.mac"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(platform->SetAttributes(root + "\\src\\a.mac", c.sourceAttributes)) << c.name;
    EXPECT_EQ(
        platform->ShellOperation(platform::kFoCopy, List(root + "\\src\\a.mac"), List(root + "\\" + c.target), kQuiet),
        0)
        << c.name;
    const uint32_t expected = (c.sourceAttributes & platform::kAttrReadOnly) | platform::kAttrArchive;
    EXPECT_EQ(Snap(c.target), Snapshot("new data", expected, stamp.ticks)) << c.name;
    platform->SetAttributes(root + "\\" + c.target, platform::kAttrArchive);
  }
  EXPECT_EQ(TempFiles("dst"), std::vector<std::string>{});
  EXPECT_EQ(TempFiles("dst\\sub"), std::vector<std::string>{});
}

// A copy that takes a new name is flushed when the install ends: one made
// read-only or removed since does not fail the flush, one another program
// holds against writing does.
TEST_F(Win32Test, NewCopiesAreFlushedWhenTheInstallEnds) {
  Write("src\\a.mac", "data");
  const auto copy = [&](const std::string& target) {
    return platform->ShellOperation(platform::kFoCopy, List(root + "\\src\\a.mac"), List(root + "\\" + target), kQuiet);
  };
  for (const char* target : {"dst\\kept.mac", "dst\\ro.mac", "dst\\gone.mac"}) ASSERT_EQ(copy(target), 0) << target;
  ASSERT_TRUE(platform->SetAttributes(root + "\\dst\\ro.mac", platform::kAttrReadOnly));
  ASSERT_TRUE(platform->RemoveFile(root + "\\dst\\gone.mac"));
  EXPECT_TRUE(platform->FlushVolume(root));
  EXPECT_TRUE(platform->FileAttributes(root + "\\dst\\ro.mac") & platform::kAttrReadOnly) << "read-only again";
  EXPECT_EQ(Read("dst\\ro.mac"), "data");

  // A read-only source (as on a CD) gives a read-only copy, flushed at the end too.
  Write("src\\cd.mac", "from a disc");
  ASSERT_TRUE(platform->SetAttributes(root + "\\src\\cd.mac", platform::kAttrReadOnly));
  ASSERT_EQ(
      platform->ShellOperation(platform::kFoCopy, List(root + "\\src\\cd.mac"), List(root + "\\dst\\cd.mac"), kQuiet),
      0);
  EXPECT_TRUE(platform->FlushVolume(root));
  EXPECT_EQ(platform->FileAttributes(root + "\\dst\\cd.mac"), platform::kAttrReadOnly | platform::kAttrArchive);
  EXPECT_EQ(Read("dst\\cd.mac"), "from a disc");
  EXPECT_EQ(TempFiles("dst"), std::vector<std::string>{});

  ASSERT_EQ(copy("dst\\held.mac"), 0);
  const HANDLE held = CreateFileA((root + "\\dst\\held.mac").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(platform->FlushVolume(root)) << "a copy that cannot be flushed";
  CloseHandle(held);
}

TEST_F(Win32Test, FailedCopyLeavesTheOldTargetAsItWas) {
  Write("src\\a.mac", std::string(100, 'n'));
  Write("dst\\a.mac", "old");
  Write("dst\\file", "a file, not a folder");
  platform->SetAttributes(root + "\\dst\\a.mac", platform::kAttrReadOnly | platform::kAttrArchive);
  platform->SetFileTimeOf(root + "\\dst\\a.mac", platform::Stamp::kLastWrite,
                          platform::FileTime{131000000000000000ull});
  const Snapshot before = Snap("dst\\a.mac");
  const Snapshot file = Snap("dst\\file");
  // held: a file another program keeps open while the copy runs: a source
  // being written, a target read without letting it be replaced.
  struct Case {
    const char *name, *source, *target, *held;
    DWORD heldAccess;
    int64_t writeLimit;
  } const cases[] = {
      {"source locked by a writer", "src\\a.mac", "dst\\a.mac", "src\\a.mac", GENERIC_WRITE, -1},
      {"disk full part-way", "src\\a.mac", "dst\\a.mac", nullptr, 0, 40},
      {"source is a device", "src\\NUL", "dst\\a.mac", nullptr, 0, -1},
      {"read-only target in use", "src\\a.mac", "dst\\a.mac", "dst\\a.mac", GENERIC_READ, -1},
      {"target folder is a file", "src\\a.mac", "dst\\file\\a.mac", nullptr, 0, -1},
  };
  platform::CopyFaultHook* hook = platform::CopyFaultHookOf(*platform);
  ASSERT_NE(hook, nullptr);
  for (const Case& c : cases) {
    const HANDLE held = !c.held ? INVALID_HANDLE_VALUE
                                : CreateFileA((root + "\\" + c.held).c_str(), c.heldAccess,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (c.held) {
      ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.name;
    }
    hook->SetCopyWriteLimit(c.writeLimit);
    EXPECT_NE(
        platform->ShellOperation(platform::kFoCopy, List(root + "\\" + c.source), List(root + "\\" + c.target), kQuiet),
        0)
        << c.name;
    hook->SetCopyWriteLimit(-1);
    if (c.held) CloseHandle(held);
    EXPECT_EQ(Snap("dst\\a.mac"), before) << c.name;
    EXPECT_EQ(Snap("dst\\file"), file) << c.name;
    EXPECT_EQ(TempFiles("dst"), std::vector<std::string>{}) << c.name;
  }
}

// The 64 KiB loop shows each piece to the check before it is written, and
// the copy takes the target's place only when the check accepts.
TEST_F(Win32Test, CheckedCopyShowsEveryByteAndReplacesOnlyWhenAccepted) {
  std::string data(200000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31);
  Write("src\\big.dat", data);
  Write("dst\\big.dat", "old");
  platform->SetAttributes(root + "\\dst\\big.dat", platform::kAttrReadOnly | platform::kAttrArchive);
  const Snapshot before = Snap("dst\\big.dat");
  struct Case {
    const char* name;
    bool accept;
    int64_t writeLimit;
    int result;
    size_t seen;
  } const cases[] = {
      {"refused", false, -1, platform::kErrorCopyRefused, data.size()},
      {"disk full part-way", true, 70000, ERROR_DISK_FULL, 131072},
      {"accepted", true, -1, 0, data.size()},
  };
  platform::CopyFaultHook* hook = platform::CopyFaultHookOf(*platform);
  ASSERT_NE(hook, nullptr);
  for (const Case& c : cases) {
    RecordingCheck check(c.accept);
    hook->SetCopyWriteLimit(c.writeLimit);
    EXPECT_EQ(platform->CheckedCopy(root + "\\src\\big.dat", root + "\\dst\\big.dat", check), c.result) << c.name;
    hook->SetCopyWriteLimit(-1);
    EXPECT_EQ(check.seen.size(), c.seen) << c.name;
    EXPECT_TRUE(check.seen == data.substr(0, c.seen)) << c.name;
    EXPECT_EQ(check.pieces, static_cast<int>((c.seen + 65535) / 65536)) << c.name;
    EXPECT_EQ(check.accepts, c.seen == data.size() ? 1 : 0) << c.name;
    if (c.result != 0) {
      EXPECT_EQ(Snap("dst\\big.dat"), before) << c.name;
    } else {
      EXPECT_TRUE(Read("dst\\big.dat") == data) << c.name;
      EXPECT_EQ(platform->FileAttributes(root + "\\dst\\big.dat"), platform::kAttrArchive) << c.name;
    }
    EXPECT_EQ(TempFiles("dst"), std::vector<std::string>{}) << c.name;
  }
}

TEST_F(Win32Test, ProbeReadAndAppendNeverTouchWhatIsThere) {
  Write("x\\$xAz2f$9.rrx", "keep");
  const platform::ProbeHandle probe = platform->ProbeCreate(root + "\\x\\$xAz2f$9.rrx");
  EXPECT_EQ(probe, platform::kNoProbe);
  platform->ProbeClose(probe);
  EXPECT_EQ(Read("x\\$xAz2f$9.rrx"), "keep");
  std::string data;
  EXPECT_FALSE(platform->ReadWholeFile(root + "\\x\\NUL", &data)) << "a device";
  EXPECT_FALSE(platform->ReadWholeFile(root + "\\x", &data)) << "a folder";

  const std::string journal = root + "\\x\\journal";
  for (const char* line : {"a\n", "b\n"}) {
    const platform::AppendHandle h = platform->OpenAppend(journal);
    ASSERT_NE(h, platform::kNoAppend);
    EXPECT_TRUE(platform->Append(h, line, true));
    EXPECT_TRUE(platform->Append(h, "-\n", false));
    platform->CloseAppend(h);
  }
  EXPECT_EQ(Read("x\\journal"), "a\n-\nb\n-\n");
  EXPECT_EQ(platform->OpenAppend(root + "\\missing\\journal"), platform::kNoAppend);
}

TEST_F(Win32Test, SpaceAndStateFolder) {
  uint64_t free = 0, unit = 0;
  EXPECT_TRUE(platform->DiskSpace(root + "\\not\\yet\\there", &free, &unit));
  EXPECT_GT(free, 0u);
  EXPECT_GT(unit, 0u);
  EXPECT_TRUE(platform->FlushVolume(root));
  EXPECT_TRUE(platform->IsDirectory(platform->StateDirectory()));
}

// Names outside any single code page and a path past 259 characters, through
// every call a copy run makes: folders made, files listed and found in
// another letter case, copied plainly and with a check, attributes, times,
// the replace of a read-only target, the real path, removal.
TEST_F(Win32Test, NamesOfEveryScriptAndLongPaths) {
  // A folder that makes the target below dst exactly 300 characters long.
  const std::string longName = "plan.dxf";
  std::string longFolder = "Lange Pfade";
  const size_t fixed = root.size() + std::string("\\dst\\").size() + 1 + longName.size();
  for (int level = 1; fixed + longFolder.size() < 300; ++level) {
    longFolder += "\\Ebene " + std::to_string(level) + " des Baums";
  }
  longFolder.resize(300 - fixed);
  if (longFolder.back() == '\\' || longFolder.back() == ' ') longFolder.back() = 'x';
  struct Case {
    const char* what;
    std::string folder;  // below src and dst
    std::string name;
    std::string otherCase;  // folder\name as the user may type it
  } const cases[] = {
      {"umlauts", "PROJEKTE\\M\u00dcLLER", "Bericht.txt", "projekte\\m\u00fcller\\BERICHT.TXT"},
      {"Greek", "Pr\u00fcfung\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", "plan.dxf",
       "PR\u00dcFUNG\\\u0395\u039b\u039b\u0397\u039d\u0399\u039a\u0386\\PLAN.DXF"},
      {"Japanese", "\u56f3\u9762\\\u8a2d\u8a08", "\u5e73\u9762\u56f3.dxf",
       "\u56f3\u9762\\\u8a2d\u8a08\\\u5e73\u9762\u56f3.DXF"},
      {"300 characters", longFolder, longName, text::FoldName(longFolder + "\\" + longName)},
  };
  const platform::FileTime stamp{132000000000000000ull};
  const platform::FileTime later{132100000000000000ull};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string srcFolder = root + "\\src\\" + c.folder;
    const std::string dstFolder = root + "\\dst\\" + c.folder;
    const std::string source = srcFolder + "\\" + c.name;
    const std::string target = dstFolder + "\\" + c.name;
    if (c.folder == longFolder) {
      ASSERT_EQ(platform::win32::Wide(target).size(), 300u);
    }

    ASSERT_TRUE(platform->MakeDirectories(srcFolder));
    EXPECT_TRUE(platform->IsDirectory(srcFolder));
    Write("src\\" + c.folder + "\\" + c.name, "data of " + c.name);
    ASSERT_TRUE(platform->SetFileTimeOf(source, platform::Stamp::kLastWrite, stamp));
    ASSERT_TRUE(platform->SetAttributes(source, platform::kAttrArchive | platform::kAttrHidden));

    // Listed with the name as it was written, found in another letter case.
    std::vector<std::string> names;
    platform::FindData found;
    EXPECT_EQ(platform->Enumerate(srcFolder + "\\*",
                                  [&](const platform::FindData& d) {
                                    if (d.name != "." && d.name != "..") names.push_back(d.name), found = d;
                                    return true;
                                  }),
              platform::FindResult::kFound);
    EXPECT_EQ(names, std::vector<std::string>{c.name});
    EXPECT_EQ(found.lastWrite.ticks, stamp.ticks);
    EXPECT_EQ(found.attributes, platform::kAttrArchive | platform::kAttrHidden);
    EXPECT_TRUE(platform->IsFile(root + "\\src\\" + c.otherCase));
    EXPECT_EQ(platform->RealPath(root + "\\src\\" + c.otherCase), source);

    // The plain copy makes the missing folders and keeps attributes and time.
    EXPECT_EQ(platform->ShellOperation(platform::kFoCopy, List(source), List(target), kQuiet), 0);
    EXPECT_EQ(Snap("dst\\" + c.folder + "\\" + c.name),
              Snapshot("data of " + c.name, platform::kAttrArchive | platform::kAttrHidden, stamp.ticks));

    // A read-only target is replaced, by the checked copy too.
    ASSERT_TRUE(platform->SetAttributes(target, platform::kAttrReadOnly | platform::kAttrArchive));
    EXPECT_EQ(platform->FileAttributes(target), platform::kAttrReadOnly | platform::kAttrArchive);
    ASSERT_TRUE(platform->SetAttributes(source, platform::kAttrArchive));
    Write("src\\" + c.folder + "\\" + c.name, "newer data");
    RecordingCheck check;
    EXPECT_EQ(platform->CheckedCopy(source, target, check), 0);
    EXPECT_EQ(check.seen, "newer data");
    EXPECT_EQ(Read("dst\\" + c.folder + "\\" + c.name), "newer data");
    EXPECT_EQ(platform->FileAttributes(target), platform::kAttrArchive);
    EXPECT_EQ(TempFiles("dst\\" + c.folder), std::vector<std::string>{});

    ASSERT_TRUE(platform->SetFileTimeOf(target, platform::Stamp::kLastWrite, later));
    platform::FileTime created, accessed, written;
    ASSERT_TRUE(platform->FileTimesOf(target, &created, &accessed, &written));
    EXPECT_EQ(written.ticks, later.ticks);
    uint64_t size = 0;
    EXPECT_TRUE(platform->FileSizeOf(target, &size));
    EXPECT_EQ(size, 10u);

    // Set aside and back, as the transaction does with an old version.
    const std::string aside = dstFolder + "\\" + platform::kCopyTempPrefix + "aside";
    EXPECT_TRUE(platform->MoveEntry(target, aside, false));
    EXPECT_TRUE(platform->MoveEntry(aside, target, true));

    uint64_t free = 0, unit = 0;
    EXPECT_TRUE(platform->DiskSpace(target, &free, &unit));
    EXPECT_TRUE(platform->RemoveFile(target));
    EXPECT_FALSE(platform->IsFile(target));
    EXPECT_TRUE(platform->RemoveFile(source));
    // Every folder made, from the deepest up (the shell, which clears the
    // root at the end, takes no long paths).
    for (const std::string& base : {root + "\\dst\\", root + "\\src\\"}) {
      for (std::string folder = c.folder; !folder.empty();) {
        EXPECT_TRUE(platform->RemoveDirectory(base + folder)) << folder;
        EXPECT_FALSE(platform->IsDirectory(base + folder)) << folder;
        const size_t cut = folder.rfind('\\');
        folder.resize(cut == std::string::npos ? 0 : cut);
      }
    }
  }
}

// Texts of the system come back as UTF-8, and the wide command line too.
TEST_F(Win32Test, TextsFromTheSystemAreUtf8) {
  EXPECT_TRUE(text::IsUtf8(platform->ErrorText(ERROR_ACCESS_DENIED)));
  EXPECT_FALSE(platform->ErrorText(ERROR_ACCESS_DENIED).empty());
  const platform::LocaleDateData locale = platform->LocaleDates();
  for (const std::string& month : locale.longMonthNames) EXPECT_TRUE(text::IsUtf8(month)) << month;
  const std::string program = platform->ProgramFileName();
  EXPECT_TRUE(platform->IsFile(program)) << program;
  EXPECT_EQ(platform->FullPath(program), program);
}

}  // namespace
