#include "install/kcdatetime.h"

#include <cstdio>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int64_t kMsPerDay = 86400000;

platform::SystemTime Make(int y, int mo, int d, int h, int mi, int s, int ms) {
  platform::SystemTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  t.milliseconds = ms;
  return t;
}

TEST(DateTimeConversion, KnownDays) {
  struct Case {
    platform::SystemTime t;
    double value;
    int dayOfWeek;
  };
  const std::vector<Case> cases = {
      {Make(1899, 12, 30, 0, 0, 0, 0), 0.0, 6},     {Make(1899, 12, 29, 18, 0, 0, 0), -0.25, 5},
      {Make(1990, 1, 1, 0, 0, 0, 0), 32874.0, 1},   {Make(2026, 3, 5, 12, 0, 0, 0), 46086.5, 4},
      {Make(2024, 2, 29, 6, 0, 0, 0), 45351.25, 4}, {Make(1601, 1, 1, 0, 0, 0, 0), -109205.0, 1},
      {Make(1, 1, 1, 0, 0, 0, 0), -693593.0, 1},    {Make(9999, 12, 31, 18, 0, 0, 0), 2958465.75, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SystemTimeToDateTime(c.t), c.value) << c.value;
    const platform::SystemTime back = DateTimeToSystemTime(c.value);
    EXPECT_EQ(back.year, c.t.year) << c.value;
    EXPECT_EQ(back.month, c.t.month) << c.value;
    EXPECT_EQ(back.day, c.t.day) << c.value;
    EXPECT_EQ(back.hour, c.t.hour) << c.value;
    EXPECT_EQ(back.dayOfWeek, c.dayOfWeek) << c.value;
  }
  EXPECT_EQ(SystemTimeToDateTime(Make(2026, 2, 29, 0, 0, 0, 0)), 0.0);
}

TEST(DateTimeConversion, MillisecondsAreExact) {
  EXPECT_EQ(DateTimeToMilliseconds(0.5 + 1.0 / kMsPerDay), kMsPerDay / 2 + 1);
  EXPECT_EQ(DateTimeToMilliseconds(0.5 - 1.0 / kMsPerDay), kMsPerDay / 2 - 1);
  EXPECT_EQ(DateTimeToMilliseconds(0.4 / kMsPerDay), 0);
  EXPECT_EQ(DateTimeToMilliseconds(0.6 / kMsPerDay), 1);
  EXPECT_EQ(DateTimeToMilliseconds(-0.25), -kMsPerDay / 4);
  // Every millisecond of a day survives the trip through the day count.
  for (int ms = 0; ms < 1000; ++ms) {
    const platform::SystemTime t = Make(9999, 12, 31, 23, 59, 59, ms);
    const double value = SystemTimeToDateTime(t);
    EXPECT_EQ(DateTimeToMilliseconds(value), (2958465 + 1) * kMsPerDay - 1000 + ms) << ms;
    EXPECT_EQ(DateTimeToSystemTime(value).milliseconds, ms) << ms;
    EXPECT_EQ(DateTimeToSystemTime(value).second, 59) << ms;
  }
  // 23:59:59.9999 rounds into the next day.
  const platform::SystemTime next = DateTimeToSystemTime(1.0 - 0.1 / kMsPerDay);
  EXPECT_EQ(next.day, 31);
  EXPECT_EQ(next.hour, 0);
}

TEST(DateTimeConversion, FileTimeMilliseconds) {
  const platform::SystemTime parts = Make(2026, 3, 5, 14, 7, 9, 123);
  platform::FileTime ft;
  ASSERT_TRUE(platform::SystemTimeToFileTime(parts, &ft));
  const int64_t expected = DateTimeToMilliseconds(SystemTimeToDateTime(parts));
  EXPECT_EQ(FileTimeToDateTimeMilliseconds(ft), expected);
  EXPECT_EQ(FileTimeToDateTimeMilliseconds(platform::FileTime{ft.ticks + 9999}), expected);
  EXPECT_EQ(FileTimeToDateTimeMilliseconds(platform::FileTime{ft.ticks + 10000}), expected + 1);
  EXPECT_EQ(FileTimeToDateTimeMilliseconds(platform::FileTime{0}), -109205 * kMsPerDay);
}

TEST(DateTimeConversion, OutOfRangeValues) {
  EXPECT_EQ(DateTimeToMilliseconds(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(DateTimeToSystemTime(1e300).year, 9999);
  EXPECT_EQ(DateTimeToSystemTime(2958466.0 - 0.1 / kMsPerDay).year, 9999);
  EXPECT_EQ(DateTimeToSystemTime(-1e300).year, 1);
}

TEST(TKCDateTime, InitialValueAndParts) {
  TKCDateTime d;
  EXPECT_EQ(d.Value(), 32874.0);
  EXPECT_EQ(d.Year(), 1990);
  EXPECT_EQ(d.Month(), 1);
  EXPECT_EQ(d.Day(), 1);
  EXPECT_EQ(d.Hour() + d.Minute() + d.Second(), 0);
  d.SetValue(46086.0 + (14 * 3600 + 7 * 60 + 9) / 86400.0);
  EXPECT_EQ(d.Year(), 2026);
  EXPECT_EQ(d.Month(), 3);
  EXPECT_EQ(d.Day(), 5);
  EXPECT_EQ(d.Hour(), 14);
  EXPECT_EQ(d.Minute(), 7);
  EXPECT_EQ(d.Second(), 9);
  TKCDateTime copy;
  copy.Assign(d);
  EXPECT_EQ(copy.Value(), d.Value());
}

TEST(TKCDateTime, Setters) {
  using Setter = bool (TKCDateTime::*)(int);
  struct Case {
    const char* name;
    Setter set;
    int value;
    const char* expected;  // parts afterwards; nullptr: refused, value unchanged
  };
  const std::vector<Case> cases = {
      {"SetDay", &TKCDateTime::SetDay, 1, "2024-02-01 10:20:30.250"},
      {"SetDay", &TKCDateTime::SetDay, 30, nullptr},
      {"SetMonth", &TKCDateTime::SetMonth, 3, "2024-03-29 10:20:30.250"},
      {"SetMonth", &TKCDateTime::SetMonth, 13, nullptr},
      {"SetYear", &TKCDateTime::SetYear, 2028, "2028-02-29 10:20:30.250"},
      {"SetYear", &TKCDateTime::SetYear, 2023, nullptr},
      {"SetYear", &TKCDateTime::SetYear, 10000, nullptr},
      {"SetHour", &TKCDateTime::SetHour, 0, "2024-02-29 00:20:30.250"},
      {"SetHour", &TKCDateTime::SetHour, 24, nullptr},
      {"SetMinute", &TKCDateTime::SetMinute, 59, "2024-02-29 10:59:30.250"},
      {"SetMinute", &TKCDateTime::SetMinute, 60, nullptr},
      {"SetSecond", &TKCDateTime::SetSecond, 0, "2024-02-29 10:20:00.250"},
      {"SetSecond", &TKCDateTime::SetSecond, -1, nullptr},
  };
  const double start = SystemTimeToDateTime(Make(2024, 2, 29, 10, 20, 30, 250));
  for (const Case& c : cases) {
    TKCDateTime d;
    d.SetValue(start);
    EXPECT_EQ((d.*c.set)(c.value), c.expected != nullptr) << c.name << " " << c.value;
    const platform::SystemTime t = DateTimeToSystemTime(d.Value());
    char text[40];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
             t.second, t.milliseconds);
    EXPECT_STREQ(text, c.expected ? c.expected : "2024-02-29 10:20:30.250") << c.name << " " << c.value;
  }
}

}  // namespace
