#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// Calendar parts of a FileTime (FileTimeToSystemTime).
struct SystemTime {
  int year = 1601;
  int month = 1;      // 1..12
  int dayOfWeek = 1;  // 0 = Sunday
  int day = 1;        // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back; the calendar arithmetic every time conversion shares.
int64_t DaysFromCivil(int64_t year, int month, int day);
void CivilFromDays(int64_t days, int* year, int* month, int* day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// FileTime of a POSIX time (seconds and nanoseconds since 1970-01-01 UTC).
// Times before 1601 give tick 0.
FileTime FileTimeFromUnix(int64_t seconds, int64_t nanoseconds);
// The POSIX time of a FileTime, split into seconds and nanoseconds.
void FileTimeToUnix(FileTime time, int64_t* seconds, int64_t* nanoseconds);

SystemTime FileTimeToSystemTime(FileTime time);
// False when a part is out of range (month 13, February 30, year before 1601).
bool SystemTimeToFileTime(const SystemTime& parts, FileTime* time);

}  // namespace platform
