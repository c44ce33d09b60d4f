#include "platform/filetime.h"

namespace platform {
namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksPerDay = kTicksPerSecond * 86400;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kUnixEpochSeconds = 11644473600;

}  // namespace

int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int* y, int* m, int* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

FileTime FileTimeFromUnix(int64_t seconds, int64_t nanoseconds) {
  const int64_t s = seconds + kUnixEpochSeconds;
  if (s < 0) return FileTime{0};
  return FileTime{static_cast<uint64_t>(s) * kTicksPerSecond + static_cast<uint64_t>(nanoseconds / 100)};
}

void FileTimeToUnix(FileTime time, int64_t* seconds, int64_t* nanoseconds) {
  const int64_t ticks = static_cast<int64_t>(time.ticks);
  *seconds = ticks / kTicksPerSecond - kUnixEpochSeconds;
  *nanoseconds = (ticks % kTicksPerSecond) * 100;
}

SystemTime FileTimeToSystemTime(FileTime time) {
  const int64_t ticks = static_cast<int64_t>(time.ticks);
  const int64_t days = ticks / kTicksPerDay;
  int64_t rest = ticks % kTicksPerDay;
  SystemTime st;
  const int64_t unixDays = days - kUnixEpochSeconds / 86400;
  CivilFromDays(unixDays, &st.year, &st.month, &st.day);
  st.dayOfWeek = static_cast<int>((days + 1) % 7);  // 1601-01-01 was a Monday
  st.hour = static_cast<int>(rest / (kTicksPerSecond * 3600));
  rest %= kTicksPerSecond * 3600;
  st.minute = static_cast<int>(rest / (kTicksPerSecond * 60));
  rest %= kTicksPerSecond * 60;
  st.second = static_cast<int>(rest / kTicksPerSecond);
  st.milliseconds = static_cast<int>((rest % kTicksPerSecond) / 10000);
  return st;
}

bool SystemTimeToFileTime(const SystemTime& p, FileTime* time) {
  if (p.year < 1601 || p.year > 30827 || p.month < 1 || p.month > 12) return false;
  const int monthDays = DaysInMonth(p.year, p.month);
  if (p.day < 1 || p.day > monthDays || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 ||
      p.second > 59 || p.milliseconds < 0 || p.milliseconds > 999) {
    return false;
  }
  const int64_t days = DaysFromCivil(p.year, p.month, p.day) + kUnixEpochSeconds / 86400;
  const int64_t seconds = days * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
  time->ticks = static_cast<uint64_t>(seconds * kTicksPerSecond + p.milliseconds * 10000LL);
  return true;
}

}  // namespace platform
