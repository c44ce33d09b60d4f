#pragma once

#include <string>

#include "platform/filetime.h"

// Renders t with a date pattern in the toolkit's notation ("mmmm d, yyyy",
// "dddd, d/m/yy h:nn AM/PM") in the given locale. Letters are matched
// without regard to case; a run of one character repeated exactly (same
// case) is one token of that length. Tokens that name one of the
// locale's formats (c, ddddd, dddddd, t, tt) interpret it in turn; a format
// named inside such a format gives nothing, so a locale whose formats name
// each other cannot recurse. m and mm give the minute instead of the month
// when the letter before them, outside quoted text, was an h. The result
// holds at most 256 characters.
std::string FormatDatePattern(const std::string& pattern, const platform::SystemTime& t,
                              const platform::LocaleDateData& locale);

// The text of a time stamp: the short date format, then a blank and the
// long time format unless hour, minute and second are all 0.
std::string DateTimeToText(const platform::SystemTime& t, const platform::LocaleDateData& locale);

// Reads a text in the forms DateTimeToText writes: the day, month and year
// numbers in the order d, m and y first appear in the short date format
// (month, day, year when it lacks one of them), separated by the date
// separator; then optionally, after blanks, hour[:minute[:second]] with the
// time separator and an AM or PM string of the locale (compared without
// regard to ASCII case; the hour is then 1 to 12). A year of one or two
// digits lies in 1950..2049, one of three or four digits is taken as
// written. Blanks around the text are ignored. On success fills *t
// (milliseconds 0, dayOfWeek set) and returns true; a text of another form
// or an invalid date or time (February 30, hour 25) returns false and
// leaves *t unchanged.
bool TextToDateTime(const std::string& text, const platform::LocaleDateData& locale, platform::SystemTime* t);
