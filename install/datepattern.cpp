#include "install/datepattern.h"

#include <cstddef>
#include <cstdint>

#include "install/kcdatetime.h"

namespace {

constexpr size_t kMaxDateText = 256;
// The pattern given is level 1; the formats it names are level 2 and do not
// expand the formats they name.
constexpr int kMaxFormatLevel = 2;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsQuote(char c) { return c == '\'' || c == '"'; }

// True when a non-empty word stands in s at pos, ASCII letters compared
// without regard to case when ignoreCase is set.
bool StartsWith(const std::string& s, size_t pos, const std::string& word, bool ignoreCase) {
  if (word.empty() || s.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    const char a = s[pos + i];
    if (ignoreCase ? Lower(a) != Lower(word[i]) : a != word[i]) return false;
  }
  return true;
}

bool StartsWithNoCase(const std::string& s, size_t pos, const std::string& word) {
  return StartsWith(s, pos, word, true);
}

// value in decimal, zero-padded to width digits.
std::string Digits(int64_t value, size_t width) {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return value < 0 ? "-" + text : text;
}

bool StartsAmPm(const std::string& pattern, size_t pos) {
  return StartsWithNoCase(pattern, pos, "am/pm") || StartsWithNoCase(pattern, pos, "a/p") ||
         StartsWithNoCase(pattern, pos, "ampm");
}

// True when the first a outside quotes from pos on, before any h, begins
// an am/pm, a/p or ampm token.
bool AmPmFollows(const std::string& pattern, size_t pos) {
  for (size_t i = pos; i < pattern.size(); ++i) {
    const char c = Lower(pattern[i]);
    if (IsQuote(c)) {
      i = pattern.find(c, i + 1);
      if (i == std::string::npos) return false;
    } else if (c == 'h') {
      return false;
    } else if (c == 'a') {
      return StartsAmPm(pattern, i);
    }
  }
  return false;
}

class PatternWriter {
 public:
  PatternWriter(const platform::SystemTime& t, const platform::LocaleDateData& locale) : m_time(t), m_locale(locale) {}

  void Write(const std::string& pattern, int level);
  std::string Take() {
    if (m_out.size() > kMaxDateText) m_out.resize(kMaxDateText);
    return m_out;
  }

 private:
  void WriteFormat(const std::string& format, int level) {
    if (level < kMaxFormatLevel) Write(format, level + 1);
  }
  std::string DayName(bool longName) const {
    const int i = m_time.dayOfWeek;
    if (i < 0 || i > 6) return std::string();
    return longName ? m_locale.longDayNames[i] : m_locale.shortDayNames[i];
  }
  std::string MonthName(bool longName) const {
    const int i = m_time.month - 1;
    if (i < 0 || i > 11) return std::string();
    return longName ? m_locale.longMonthNames[i] : m_locale.shortMonthNames[i];
  }

  const platform::SystemTime& m_time;
  const platform::LocaleDateData& m_locale;
  std::string m_out;
};

void PatternWriter::Write(const std::string& pattern, int level) {
  const platform::SystemTime& t = m_time;
  char lastLetter = 0;  // lower case, outside quotes; decides m after h
  bool ampmSeen = false;
  size_t i = 0;
  // Whatever follows a full text would be cut anyway.
  while (i < pattern.size() && m_out.size() < kMaxDateText) {
    const char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (IsQuote(c)) {
      size_t end = pattern.find(c, i + 1);
      if (end == std::string::npos) end = pattern.size();
      m_out.append(pattern, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (!IsLetter(c)) {
      if (c == '/') {
        m_out += m_locale.dateSeparator;
      } else if (c == ':') {
        m_out += m_locale.timeSeparator;
      } else {
        m_out += c;
      }
      ++i;
      continue;
    }
    const char letter = Lower(c);
    const bool afterHour = lastLetter == 'h';
    lastLetter = letter;
    const bool morning = t.hour < 12;
    switch (letter) {
      case 'a':
        if (StartsWithNoCase(pattern, i, "am/pm")) {
          m_out.append(pattern, morning ? i : i + 3, 2);
          ampmSeen = true;
          run = 5;
        } else if (StartsWithNoCase(pattern, i, "a/p")) {
          m_out += pattern[morning ? i : i + 2];
          ampmSeen = true;
          run = 3;
        } else if (StartsWithNoCase(pattern, i, "ampm")) {
          m_out += morning ? m_locale.timeAMString : m_locale.timePMString;
          ampmSeen = true;
          run = 4;
        } else if (run >= 3) {
          m_out += DayName(run > 3);
        } else {
          m_out += c;
          run = 1;
        }
        break;
      case 'c':
        WriteFormat(m_locale.shortDateFormat, level);
        if (level < kMaxFormatLevel && (t.hour != 0 || t.minute != 0 || t.second != 0)) {
          m_out += ' ';
          WriteFormat(m_locale.longTimeFormat, level);
        }
        break;
      case 'd':
        if (run <= 2) {
          m_out += Digits(t.day, run);
        } else if (run <= 4) {
          m_out += DayName(run == 4);
        } else {
          WriteFormat(run == 5 ? m_locale.shortDateFormat : m_locale.longDateFormat, level);
        }
        break;
      case 'e': {
        const int64_t yearInEra = int64_t{t.year} - m_locale.eraYearOffset;
        m_out += run <= 2 ? Digits(yearInEra % 100, run) : Digits(yearInEra, 4);
        break;
      }
      case 'g': m_out += m_locale.eraName; break;
      case 'h': {
        int hour = t.hour;
        if (ampmSeen || AmPmFollows(pattern, i + run)) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        m_out += Digits(hour, run == 1 ? 1 : 2);
        break;
      }
      case 'm':
        if (run <= 2) {
          m_out += Digits(afterHour ? t.minute : t.month, run);
        } else {
          m_out += MonthName(run > 3);
        }
        break;
      case 'n': m_out += Digits(t.minute, run == 1 ? 1 : 2); break;
      case 's': m_out += Digits(t.second, run == 1 ? 1 : 2); break;
      case 't': WriteFormat(run == 1 ? m_locale.shortTimeFormat : m_locale.longTimeFormat, level); break;
      case 'y': m_out += run <= 2 ? Digits(t.year % 100, 2) : Digits(t.year, 4); break;
      default:
        m_out += c;
        run = 1;
        break;
    }
    i += run;
  }
}

// Reads 1 to maxDigits decimal digits at text[*pos].
bool ReadNumber(const std::string& text, size_t* pos, size_t maxDigits, int* value, size_t* digits) {
  size_t n = 0;
  int v = 0;
  while (*pos + n < text.size() && IsDigit(text[*pos + n])) {
    if (n == maxDigits) return false;
    v = v * 10 + (text[*pos + n] - '0');
    ++n;
  }
  if (n == 0) return false;
  *pos += n;
  *value = v;
  if (digits) *digits = n;
  return true;
}

bool ReadWord(const std::string& text, size_t* pos, const std::string& word, bool ignoreCase) {
  if (!StartsWith(text, *pos, word, ignoreCase)) return false;
  *pos += word.size();
  return true;
}

size_t SkipBlanks(const std::string& text, size_t pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  return pos;
}

// The order of day, month and year in a short date format, as "mdy".
std::string DateOrder(const std::string& format) {
  std::string order;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = Lower(format[i]);
    if (IsQuote(c)) {
      i = format.find(c, i + 1);
      if (i == std::string::npos) break;
    } else if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) {
      order += c;
    }
  }
  return order.size() == 3 ? order : "mdy";
}

}  // namespace

std::string FormatDatePattern(const std::string& pattern, const platform::SystemTime& t,
                              const platform::LocaleDateData& locale) {
  PatternWriter writer(t, locale);
  writer.Write(pattern, 1);
  return writer.Take();
}

std::string DateTimeToText(const platform::SystemTime& t, const platform::LocaleDateData& locale) {
  return FormatDatePattern("c", t, locale);
}

bool TextToDateTime(const std::string& text, const platform::LocaleDateData& locale, platform::SystemTime* t) {
  if (locale.dateSeparator.empty()) return false;
  platform::SystemTime parts;
  const std::string order = DateOrder(locale.shortDateFormat);
  size_t pos = SkipBlanks(text, 0);
  for (size_t field = 0; field < 3; ++field) {
    if (field > 0 && !ReadWord(text, &pos, locale.dateSeparator, false)) return false;
    switch (order[field]) {
      case 'd':
        if (!ReadNumber(text, &pos, 2, &parts.day, nullptr)) return false;
        break;
      case 'm':
        if (!ReadNumber(text, &pos, 2, &parts.month, nullptr)) return false;
        break;
      default: {
        size_t digits = 0;
        if (!ReadNumber(text, &pos, 4, &parts.year, &digits)) return false;
        if (digits <= 2) parts.year += parts.year < 50 ? 2000 : 1900;
        break;
      }
    }
  }
  parts.hour = parts.minute = parts.second = parts.milliseconds = 0;
  pos = SkipBlanks(text, pos);
  if (pos < text.size()) {
    if (!ReadNumber(text, &pos, 2, &parts.hour, nullptr)) return false;
    if (ReadWord(text, &pos, locale.timeSeparator, false)) {
      if (!ReadNumber(text, &pos, 2, &parts.minute, nullptr)) return false;
      if (ReadWord(text, &pos, locale.timeSeparator, false) && !ReadNumber(text, &pos, 2, &parts.second, nullptr)) {
        return false;
      }
    }
    pos = SkipBlanks(text, pos);
    // The longer string first, in case one begins with the other.
    const bool amFirst = locale.timeAMString.size() >= locale.timePMString.size();
    const std::string& first = amFirst ? locale.timeAMString : locale.timePMString;
    const std::string& second = amFirst ? locale.timePMString : locale.timeAMString;
    bool pm = false;
    bool marked = true;
    if (ReadWord(text, &pos, first, true)) {
      pm = !amFirst;
    } else if (ReadWord(text, &pos, second, true)) {
      pm = amFirst;
    } else {
      marked = false;
    }
    if (marked) {
      if (parts.hour < 1 || parts.hour > 12) return false;
      parts.hour = parts.hour % 12 + (pm ? 12 : 0);
    }
  }
  if (SkipBlanks(text, pos) != text.size() || !IsValidDateTime(parts)) return false;
  parts.dayOfWeek = DateTimeToSystemTime(SystemTimeToDateTime(parts)).dayOfWeek;
  *t = parts;
  return true;
}
