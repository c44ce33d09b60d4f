#include "install/kcdatetime.h"

#include <cmath>

#include "platform/filetime.h"

namespace {

using platform::CivilFromDays;
using platform::DaysFromCivil;
using platform::DaysInMonth;

constexpr int64_t kMsPerDay = 86400000;
// Day counts of 0001-01-01 and 9999-12-31.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;
constexpr int64_t kMinMs = kFirstDay * kMsPerDay;
constexpr int64_t kMaxMs = (kLastDay + 1) * kMsPerDay - 1;
// 1899-12-30 counted from 1970-01-01, and 1601-01-01 (tick 0 of a file
// time) counted from 1899-12-30.
constexpr int64_t kUnixEpochDay = 25569;
constexpr int64_t kFileTimeEpochDay = -109205;
constexpr int64_t kTicksPerMs = 10000;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

}  // namespace

bool IsValidDateTime(const platform::SystemTime& t) {
  return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
         t.second >= 0 && t.second <= 59 && t.milliseconds >= 0 && t.milliseconds <= 999;
}

double SystemTimeToDateTime(const platform::SystemTime& t) {
  if (!IsValidDateTime(t)) return 0.0;
  const int64_t days = DaysFromCivil(t.year, t.month, t.day) + kUnixEpochDay;
  const int64_t ms = days * kMsPerDay + ((t.hour * 60 + t.minute) * 60 + t.second) * 1000LL + t.milliseconds;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

int64_t DateTimeToMilliseconds(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(kFirstDay)) return kMinMs;
  if (value >= static_cast<double>(kLastDay + 1)) return kMaxMs;
  const int64_t ms = std::llround(value * static_cast<double>(kMsPerDay));
  return ms > kMaxMs ? kMaxMs : ms;
}

platform::SystemTime DateTimeToSystemTime(double value) {
  const int64_t ms = DateTimeToMilliseconds(value);
  const int64_t days = FloorDiv(ms, kMsPerDay);
  int64_t rest = ms - days * kMsPerDay;
  platform::SystemTime t;
  CivilFromDays(days - kUnixEpochDay, &t.year, &t.month, &t.day);
  t.dayOfWeek = static_cast<int>((days % 7 + 13) % 7);  // 1899-12-30 was a Saturday
  t.hour = static_cast<int>(rest / 3600000);
  rest %= 3600000;
  t.minute = static_cast<int>(rest / 60000);
  rest %= 60000;
  t.second = static_cast<int>(rest / 1000);
  t.milliseconds = static_cast<int>(rest % 1000);
  return t;
}

int64_t FileTimeToDateTimeMilliseconds(platform::FileTime local) {
  return static_cast<int64_t>(local.ticks / kTicksPerMs) + kFileTimeEpochDay * kMsPerDay;
}

void TKCDateTime::SetValue(double value) {
  if (std::isnan(value)) {
    m_value = 0.0;
  } else if (value < static_cast<double>(kFirstDay)) {
    m_value = static_cast<double>(kFirstDay);
  } else if (value > static_cast<double>(kMaxMs) / kMsPerDay) {
    m_value = static_cast<double>(kMaxMs) / kMsPerDay;
  } else {
    m_value = value;
  }
}

bool TKCDateTime::SetPart(int platform::SystemTime::*part, int value) {
  platform::SystemTime t = DateTimeToSystemTime(m_value);
  t.*part = value;
  if (!IsValidDateTime(t)) return false;
  m_value = SystemTimeToDateTime(t);
  return true;
}
