#include "install/datepattern.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

platform::LocaleDateData EnglishLocale() {
  static const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  platform::LocaleDateData l;
  for (int i = 0; i < 7; ++i) l.longDayNames[i] = kDays[i], l.shortDayNames[i] = kDays[i];
  l.shortDayNames[4] = "Thu";
  l.shortMonthNames[2] = "Mar", l.longMonthNames[2] = "March";  // only March is shown
  l.shortDateFormat = "m/d/yyyy";
  l.longDateFormat = "mmmm d, yyyy";
  l.shortTimeFormat = "h:nn AMPM";
  l.longTimeFormat = "h:nn:ss AMPM";
  l.timeAMString = "AM";
  l.timePMString = "PM";
  return l;
}

platform::SystemTime Make(int y, int mo, int dow, int d, int h, int mi, int s) {
  platform::SystemTime t;
  t.year = y, t.month = mo, t.dayOfWeek = dow, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  t.milliseconds = 0;
  return t;
}

const platform::SystemTime kAfternoon = Make(2026, 3, 4, 5, 14, 7, 9);  // a Thursday
const platform::SystemTime kMorning = Make(2026, 3, 4, 5, 9, 4, 3);
const platform::SystemTime kMidnight = Make(2026, 12, 2, 8, 0, 0, 0);
const platform::SystemTime kHalfPast = Make(2026, 12, 2, 8, 0, 30, 0);
const platform::SystemTime kOneSecond = Make(2026, 12, 2, 8, 0, 0, 1);

struct PatternCase {
  const char* pattern;
  const platform::SystemTime* time;
  const char* expected;
};

void ExpectPatterns(const std::vector<PatternCase>& cases, const platform::LocaleDateData& l) {
  for (const PatternCase& c : cases) {
    EXPECT_EQ(FormatDatePattern(c.pattern, *c.time, l), c.expected) << c.pattern;
  }
}

TEST(FormatDatePattern, Tokens) {
  const platform::SystemTime* a = &kAfternoon;
  const platform::SystemTime* m = &kMorning;
  ExpectPatterns(
      {
          {"d", a, "5"},
          {"dd", a, "05"},
          {"ddd", a, "Thu"},
          {"dddd", a, "Thursday"},
          {"ddddd", a, "3/5/2026"},
          {"dddddd", a, "March 5, 2026"},
          {"ddddddd", a, "March 5, 2026"},
          {"m", a, "3"},
          {"mm", a, "03"},
          {"mmm", a, "Mar"},
          {"mmmm", a, "March"},
          {"mmmmm", a, "March"},
          {"y", a, "26"},
          {"yy", a, "26"},
          {"yyy", a, "2026"},
          {"yyyy", a, "2026"},
          {"h", a, "14"},
          {"hh", m, "09"},
          {"hhh", m, "09"},
          {"h", m, "9"},
          {"n", m, "4"},
          {"nn", m, "04"},
          {"nnn", m, "04"},
          {"s", m, "3"},
          {"ss", m, "03"},
          {"t", a, "2:07 PM"},
          {"tt", a, "2:07:09 PM"},
          {"c", a, "3/5/2026 2:07:09 PM"},
          {"c", &kMidnight, "12/8/2026"},
          {"c", &kHalfPast, "12/8/2026 12:30:00 AM"},
          {"cc", &kMidnight, "12/8/2026"},
          {"c", &kOneSecond, "12/8/2026 12:00:01 AM"},
          {"am/pm", a, "pm"},
          {"AM/PM", m, "AM"},
          {"Am/pM", m, "Am"},
          {"Am/pM", a, "pM"},
          {"a/p", a, "p"},
          {"A/P", m, "A"},
          {"ampm", a, "PM"},
          {"aMpM", m, "AM"},
          {"aaa", a, "Thu"},
          {"aaaa", a, "Thursday"},
          {"a", a, "a"},
          {"aa", a, "aa"},
          {"e", a, "26"},
          {"ee", a, "26"},
          {"eee", a, "2026"},
          {"g", a, ""},
          {"gg", a, ""},
          {"x#Q,.-", a, "x#Q,.-"},
          // Letters are matched without regard to case; runs need the same case.
          {"DDDD MMMM YYYY", a, "Thursday March 2026"},
          {"Dd", a, "55"},
          {"mM", a, "33"},
          // Quoted text.
          {"'d' d", a, "d 5"},
          {"\"hh\" hh", a, "hh 14"},
          {"'it''s'", a, "its"},
          {"d 'open", a, "5 open"},
          {"\"a'b\"", a, "a'b"},
      },
      EnglishLocale());
}

TEST(FormatDatePattern, MinutesAfterHour) {
  const platform::SystemTime* a = &kAfternoon;
  ExpectPatterns(
      {
          {"h:m", a, "14:7"},
          {"hh:mm", a, "14:07"},
          {"H:MM", a, "14:07"},
          {"hh'x'mm", a, "14x07"},     // quoted text does not end the rule
          {"h x m", a, "14 x 3"},      // a copied letter does
          {"h:mm:mm", a, "14:07:03"},  // only the m right after the h
          {"hmmm", a, "14Mar"},        // month names stay month names
          {"m h", a, "3 14"},
      },
      EnglishLocale());
}

TEST(FormatDatePattern, TwelveHourClock) {
  const platform::SystemTime* a = &kAfternoon;
  ExpectPatterns(
      {
          {"h AM/PM", a, "2 PM"},
          {"AM/PM h", a, "PM 2"},
          {"a/p hh", a, "p 02"},
          {"ampm h", a, "PM 2"},
          {"h x a/p", a, "2 x p"},
          {"h 'a' am/pm", a, "2 a pm"},
          {"h a", a, "14 a"},           // a lone a does not switch
          {"h aaa", a, "14 Thu"},       // nor does a day name
          {"h h am/pm", a, "14 2 pm"},  // a later h hides the am/pm from the first
          {"h:nn ampm", &kHalfPast, "12:30 AM"},
          {"hh:nn", &kHalfPast, "00:30"},
          {"h a/p", &kMidnight, "12 a"},
      },
      EnglishLocale());
}

TEST(FormatDatePattern, LocaleFields) {
  platform::LocaleDateData l = EnglishLocale();
  l.dateSeparator = ".";
  l.timeSeparator = "-";
  l.eraName = "Reiwa";
  l.eraYearOffset = 2018;
  const platform::SystemTime* a = &kAfternoon;
  ExpectPatterns({{"d/m/yyyy h:nn", a, "5.3.2026 14-07"},
                  {"'/:' /:", a, "/: .-"},
                  {"g gg", a, "Reiwa Reiwa"},
                  {"e", a, "8"},
                  {"ee", a, "08"},
                  {"eee", a, "0008"}},
                 l);
}

TEST(FormatDatePattern, NamedFormatsNestOnlyOnce) {
  platform::LocaleDateData l = EnglishLocale();
  l.shortDateFormat = "c";
  l.longTimeFormat = "tt";
  l.longDateFormat = "d ddddd";
  const platform::SystemTime* a = &kAfternoon;
  ExpectPatterns(
      {{"c", a, " "}, {"[ddddd]", a, "[]"}, {"[dddddd]", a, "[5 ]"}, {"[tt]", a, "[]"}, {"[t]", a, "[2:07 PM]"}}, l);
}

TEST(FormatDatePattern, CutAt256) {
  const std::string xs(250, 'x');
  EXPECT_EQ(FormatDatePattern(std::string(300, '#'), kAfternoon, EnglishLocale()), std::string(256, '#'));
  EXPECT_EQ(FormatDatePattern(xs + "dddd", kAfternoon, EnglishLocale()), xs + "Thursd");
  EXPECT_EQ(FormatDatePattern(xs + "'quoted text'", kAfternoon, EnglishLocale()), xs + "quoted");
}

TEST(TextToDateTime, RoundTrip) {
  platform::LocaleDateData english = EnglishLocale();
  platform::LocaleDateData german = EnglishLocale();
  german.shortDateFormat = "dd.MM.yyyy";
  german.longTimeFormat = "hh:nn:ss";
  german.dateSeparator = ".";
  german.timeAMString = german.timePMString = "";
  platform::LocaleDateData iso = german;
  iso.shortDateFormat = "yyyy/mm/dd";
  iso.dateSeparator = "-";
  const platform::SystemTime times[] = {
      kAfternoon,
      kMorning,
      kMidnight,
      kHalfPast,
      Make(2026, 3, 4, 5, 12, 0, 0),
      Make(2024, 2, 4, 29, 23, 59, 59),
      Make(1950, 1, 0, 1, 0, 0, 1),
      Make(2049, 12, 5, 31, 11, 59, 59),
      Make(1601, 1, 1, 1, 0, 0, 0),
      Make(9999, 12, 5, 31, 23, 59, 59),
  };
  for (const platform::LocaleDateData* l : {&english, &german, &iso}) {
    for (const platform::SystemTime& t : times) {
      const std::string text = DateTimeToText(t, *l);
      platform::SystemTime back;
      ASSERT_TRUE(TextToDateTime(text, *l, &back)) << text;
      EXPECT_EQ(FormatDatePattern("yyyy-mm-dd hh:nn:ss dddd", back, *l),
                FormatDatePattern("yyyy-mm-dd hh:nn:ss dddd", t, *l))
          << text;
    }
  }
}

TEST(TextToDateTime, Texts) {
  struct Case {
    const char* text;
    const char* expected;  // nullptr: the text is refused
  };
  const Case cases[] = {
      {"3/5/2026", "2026-03-05 00:00:00 Thursday"},
      {"03/05/26", "2026-03-05 00:00:00 Thursday"},
      {"1/1/49", "2049-01-01 00:00:00 Friday"},
      {"1/1/50", "1950-01-01 00:00:00 Sunday"},
      {"1/1/0", "2000-01-01 00:00:00 Saturday"},
      {" 3/5/2026  2:07 pm ", "2026-03-05 14:07:00 Thursday"},
      {"3/5/2026 2:07:09PM", "2026-03-05 14:07:09 Thursday"},
      {"3/5/2026 14", "2026-03-05 14:00:00 Thursday"},
      {"3/5/2026 12 AM", "2026-03-05 00:00:00 Thursday"},
      {"3/5/2026 12:00 pM", "2026-03-05 12:00:00 Thursday"},
      {"2/29/2024 23:59:59", "2024-02-29 23:59:59 Thursday"},
      {"2/30/2026", nullptr},
      {"2/29/2025", nullptr},
      {"13/1/2026", nullptr},
      {"0/1/2026", nullptr},
      {"3/5/2026 25:00", nullptr},
      {"3/5/2026 24:00", nullptr},
      {"3/5/2026 13:00 PM", nullptr},
      {"3/5/2026 0:30 AM", nullptr},
      {"3/5/2026 2:60", nullptr},
      {"3/5/2026 2:07:", nullptr},
      {"3/5/2026 2:07:09:01", nullptr},
      {"3/5", nullptr},
      {"3/5/", nullptr},
      {"3/5/2026x", nullptr},
      {"3/5/2026 2:07 XM", nullptr},
      {"3/5/2026 PM", nullptr},
      {"", nullptr},
      {"3-5-2026", nullptr},
      {"3/5/12345", nullptr},
      {"3/5/0", "2000-03-05 00:00:00 Sunday"},
      {"003/5/2026", nullptr},
      {"3/5/0000", nullptr},
  };
  const platform::LocaleDateData l = EnglishLocale();
  const platform::SystemTime untouched = Make(1999, 9, 4, 9, 9, 9, 9);
  for (const Case& c : cases) {
    platform::SystemTime t = untouched;
    const bool ok = TextToDateTime(c.text, l, &t);
    EXPECT_EQ(ok, c.expected != nullptr) << c.text;
    EXPECT_EQ(FormatDatePattern("yyyy-mm-dd hh:nn:ss dddd", t, l),
              c.expected ? c.expected : "1999-09-09 09:09:09 Thursday")
        << c.text;
  }
}

}  // namespace
