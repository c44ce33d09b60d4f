#include "setup/installlog.h"

#include <regex>

#include <gtest/gtest.h>

namespace {

std::tm At(int year, int yday, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_yday = yday;
  t.tm_mon = 0;
  t.tm_mday = 1;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

// The offset from UTC as ISO 8601 writes it, on either side of midnight and
// of a year's end; and the running system's clock in that form (the Windows
// C library's %z is the zone's name, which left the column empty).
TEST(InstallLogTest, TheTimestampCarriesTheOffsetFromUtc) {
  struct Case {
    const char* name;
    std::tm local, utc;
    const char* offset;
  } const cases[] = {
      {"UTC", At(2026, 341, 23, 41), At(2026, 341, 23, 41), "+00:00"},
      {"east, same day", At(2026, 341, 23, 41), At(2026, 341, 22, 41), "+01:00"},
      {"east, past midnight", At(2026, 342, 4, 11), At(2026, 341, 22, 41), "+05:30"},
      {"west, day before", At(2026, 341, 14, 41), At(2026, 341, 22, 41), "-08:00"},
      {"west, quarter hours", At(2026, 340, 23, 56), At(2026, 341, 0, 41), "-00:45"},
      {"east, new year", At(2027, 0, 0, 30), At(2026, 364, 23, 30), "+01:00"},
      {"west, old year", At(2026, 364, 20, 0), At(2027, 0, 1, 0), "-05:00"},
  };
  for (const Case& c : cases) {
    const std::string stamp = InstallLog::FormatTimestamp(c.local, c.utc);
    ASSERT_EQ(stamp.size(), 25u) << c.name << ": " << stamp;
    EXPECT_EQ(stamp.substr(19), c.offset) << c.name;
  }
  EXPECT_TRUE(std::regex_match(InstallLog::Timestamp(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")))
      << InstallLog::Timestamp();
}

}  // namespace
