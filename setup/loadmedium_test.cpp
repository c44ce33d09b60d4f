#include "setup/loadmedium.h"

#include <sys/stat.h>

#include <functional>

#include <gtest/gtest.h>

#include "tests/support/temp_medium.h"

namespace {

TEST(LoadMediumTest, SetupFileIsCheckedAgainstTheListAtStart) {
  const std::string setup = "[Languages]\n1=English\n[English]\nTxt_001=LICENSE.TXT\n";
  struct Case {
    const char* name;
    std::function<void(TempDrives&)> make;  // after SETUP.INF and the licence
    const char* failure;                    // "": start-up goes on
    bool listed;                            // the list is there to check the copies
  };
  const Case cases[] = {
      {"no list", [](TempDrives&) {}, "", false},
      {"listed and intact",
       [](TempDrives& d) {
         d.WriteChecksums('D', {"SETUP.INF", "LICENSE.TXT"});
       },
       "", true},
      {"changed after it was listed",
       [&](TempDrives& d) {
         d.WriteChecksums('D', {"SETUP.INF"});
         TempDrives::Write(d.Host('D', "SETUP.INF"), setup + "; one more line\n");
       },
       "File SETUP.INF is damaged (it does not match SETUP.SUM)", false},
      {"damaged so that no language is left",
       [&](TempDrives& d) {
         d.WriteChecksums('D', {"SETUP.INF"});
         TempDrives::Write(d.Host('D', "SETUP.INF"), "[Languages]\n");
       },
       "File SETUP.INF is damaged (it does not match SETUP.SUM)", false},
      {"not listed", [](TempDrives& d) { d.WriteChecksums('D', {"LICENSE.TXT"}); },
       "File SETUP.INF is not listed in SETUP.SUM", false},
      {"a line that is no checksum line",
       [](TempDrives& d) {
         d.WriteChecksums('D', {"SETUP.INF"});
         TempDrives::Write(d.Host('D', "SETUP.SUM"), TempDrives::Read(d.Host('D', "SETUP.SUM")) + "LICENSE.TXT\n");
       },
       "File SETUP.SUM is damaged (line 2)", false},
      {"the list cannot be read", [](TempDrives& d) { mkdir(d.Host('D', "SETUP.SUM").c_str(), 0755); },
       "File SETUP.SUM cannot be read", false},
  };
  for (const Case& c : cases) {
    TempDrives drives;
    TempDrives::Write(drives.Host('D', "SETUP.INF"), setup);
    TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence");
    c.make(drives);
    SetupData data;
    std::optional<MediumManifest> manifest;
    EXPECT_EQ(LoadMedium(drives.platform(), &data, &manifest), c.failure) << c.name;
    EXPECT_EQ(manifest.has_value(), c.listed) << c.name;
  }
}

}  // namespace
