#pragma once

#include <cstdint>

#include "platform/filetime.h"

// A date-and-time value is a day count: days since 1899-12-30 00:00:00, the
// time of day as the fraction. The count is linear, so a day before that
// date is negative and its fraction still adds forward: -0.75 is
// 1899-12-29 06:00. Values cover the years 1 to 9999 to the millisecond.

// True when the parts name a real date of the years 1 to 9999 and a time of
// day (hour 0..23, minute and second 0..59, milliseconds 0..999). dayOfWeek
// is not looked at.
bool IsValidDateTime(const platform::SystemTime& t);

// The day count of t; 0 when IsValidDateTime(t) is false.
double SystemTimeToDateTime(const platform::SystemTime& t);

// The parts of a day count rounded to the nearest millisecond, dayOfWeek
// included. A value outside the years 1 to 9999 counts as the nearest end of
// that range; NaN counts as 0.
platform::SystemTime DateTimeToSystemTime(double value);

// The value as whole milliseconds since 1899-12-30 00:00:00, rounded to the
// nearest, with the range rule of DateTimeToSystemTime. Two values that name
// the same millisecond give the same count.
int64_t DateTimeToMilliseconds(double value);

// The same count for a local file time; ticks below a millisecond are
// dropped, as FileTimeToSystemTime drops them.
int64_t FileTimeToDateTimeMilliseconds(platform::FileTime local);

// One date-and-time value, 1990-01-01 00:00:00 until set, read and written
// whole or by its parts. A part setter returns false and changes nothing
// when the date or time it would give is invalid (SetDay(31) in February,
// SetHour(24)); it keeps the other parts, milliseconds included.
class TKCDateTime {
 public:
  static constexpr double kInitialValue = 32874.0;  // 1990-01-01 00:00:00

  double Value() const { return m_value; }
  // Stores value with the range rule of DateTimeToSystemTime.
  void SetValue(double value);
  // Copies the value of other.
  void Assign(const TKCDateTime& other) { m_value = other.m_value; }

  int Day() const { return DateTimeToSystemTime(m_value).day; }
  int Month() const { return DateTimeToSystemTime(m_value).month; }
  int Year() const { return DateTimeToSystemTime(m_value).year; }
  int Hour() const { return DateTimeToSystemTime(m_value).hour; }
  int Minute() const { return DateTimeToSystemTime(m_value).minute; }
  int Second() const { return DateTimeToSystemTime(m_value).second; }

  bool SetDay(int day) { return SetPart(&platform::SystemTime::day, day); }
  bool SetMonth(int month) { return SetPart(&platform::SystemTime::month, month); }
  bool SetYear(int year) { return SetPart(&platform::SystemTime::year, year); }
  bool SetHour(int hour) { return SetPart(&platform::SystemTime::hour, hour); }
  bool SetMinute(int minute) { return SetPart(&platform::SystemTime::minute, minute); }
  bool SetSecond(int second) { return SetPart(&platform::SystemTime::second, second); }

 private:
  bool SetPart(int platform::SystemTime::*part, int value);

  double m_value = kInitialValue;
};
