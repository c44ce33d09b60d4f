#include "setupdata/setupfile.h"

#include <gtest/gtest.h>

#include "platform/fault_platform.h"
#include "setupdata/setupvalue.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_medium.h"

namespace {

TEST(LoadSetupTest, StartupOutcomes) {
  std::string many = "[Languages]\n";
  for (int i = 1; i <= 254; ++i) many += std::to_string(i) + "=L\n";
  struct Case {
    const char* name;
    const char* fileName;  // written on D:, the program's drive
    std::string text;
    bool failRead;
    SetupLoadResult expected;
    const char* message;
  };
  const Case cases[] = {
      {"loaded", "SETUP.INF", "[Languages]\n1=English\n", false, SetupLoadResult::kLoaded, ""},
      {"name in other case", "setup.inf", "[Languages]\n1=English\n", false, SetupLoadResult::kLoaded, ""},
      {"missing", "OTHER.INF", "", false, SetupLoadResult::kMissing, "File SETUP.INF not found"},
      {"unreadable", "SETUP.INF", "[Languages]\n1=E\n", true, SetupLoadResult::kUnreadable,
       "File SETUP.INF cannot be read"},
      {"no language", "SETUP.INF", "[BootSetup]\nVersion=1\n", false, SetupLoadResult::kNoLanguage,
       "File SETUP.INF offers no language"},
      {"empty file", "SETUP.INF", "", false, SetupLoadResult::kNoLanguage, "File SETUP.INF offers no language"},
      {"too many", "SETUP.INF", many, false, SetupLoadResult::kTooManyLanguages,
       "File SETUP.INF offers more than 253 languages"},
  };
  for (const Case& c : cases) {
    TempDrives drives;
    TempDrives::Write(drives.Host('D', c.fileName), c.text);
    platform::FaultPlatform faults(drives.platform());
    if (c.failRead) faults.Add({platform::FaultOp::kReadFile, "SETUP.INF"});
    SetupData data;
    EXPECT_EQ(LoadSetup(faults, &data), c.expected) << c.name;
    EXPECT_EQ(data.SourceDir, "D:") << c.name;
    RecordingPresenter presenter;
    if (c.expected != SetupLoadResult::kLoaded) ReportStartupFailure(c.expected);
    if (*c.message) {
      ASSERT_EQ(presenter.messages.size(), 1u) << c.name;
      EXPECT_EQ(presenter.messages[0].caption, "Error") << c.name;
      EXPECT_EQ(presenter.messages[0].text, c.message) << c.name;
      EXPECT_EQ(presenter.messages[0].flags, 0) << c.name;
    }
  }
}

TEST(LoadSetupTest, DirectoryNamedSetupInfIsNotTheFile) {
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "SETUP.INF/x"), "");
  SetupData data;
  EXPECT_EQ(LoadSetup(drives.platform(), &data), SetupLoadResult::kMissing);
}

}  // namespace

namespace {

// Hostile files must load without a crash or a hang, and still read right
// where they are well formed.
TEST(LoadSetupTest, HugeAndHostileFilesLoad) {
  std::string huge = "[Languages]\r\n1=English\r\n[English]\r\n";
  for (int i = 0; i < 200000; ++i) huge += "Filler" + std::to_string(i) + "=some text of a line\r\n";
  huge += "Txt_073=" + std::string(100000, 'p') + "\r\n";
  std::string garbage;
  uint32_t seed = 12345;
  for (int i = 0; i < 1 << 20; ++i) {
    seed = seed * 1103515245 + 12345;
    garbage += static_cast<char>(seed >> 24);
  }
  struct Case {
    const char* name;
    std::string text;
    SetupLoadResult expected;
  };
  const Case cases[] = {
      {"many megabytes", huge, SetupLoadResult::kLoaded},
      {"binary garbage", garbage, SetupLoadResult::kNoLanguage},
      {"garbage after a good head", "[Languages]\n1=E\n" + garbage, SetupLoadResult::kLoaded},
      {"one line of 100000", std::string(100000, '['), SetupLoadResult::kNoLanguage},
  };
  for (const Case& c : cases) {
    TempDrives drives;
    TempDrives::Write(drives.Host('D', "SETUP.INF"), c.text);
    SetupData data;
    EXPECT_EQ(LoadSetup(drives.platform(), &data), c.expected) << c.name;
  }
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "SETUP.INF"), huge);
  SetupData data;
  ASSERT_EQ(LoadSetup(drives.platform(), &data), SetupLoadResult::kLoaded);
  EXPECT_EQ(ReadSetupValue(data.SetupIni, "English", "Txt_073"), std::string(255, 'p'));
}

}  // namespace
