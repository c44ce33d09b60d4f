#include "platform/englishdates.h"

namespace platform {

LocaleDateData EnglishLocaleDates() {
  static const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  static const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
  LocaleDateData data;
  for (int i = 0; i < 7; ++i) {
    data.longDayNames[i] = kDays[i];
    data.shortDayNames[i] = std::string(kDays[i], 3);
  }
  for (int i = 0; i < 12; ++i) {
    data.longMonthNames[i] = kMonths[i];
    data.shortMonthNames[i] = std::string(kMonths[i], 3);
  }
  data.dateSeparator = "/";
  data.timeSeparator = ":";
  data.shortDateFormat = "m/d/yyyy";
  data.longDateFormat = "mmmm d, yyyy";
  data.shortTimeFormat = "h:nn AMPM";
  data.longTimeFormat = "h:nn:ss AMPM";
  data.timeAMString = "AM";
  data.timePMString = "PM";
  return data;
}

}  // namespace platform
