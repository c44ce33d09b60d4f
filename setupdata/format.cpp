#include "setupdata/format.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads decimal digits at pattern[*i]; false when there are none.
bool ReadNumber(const std::string& pattern, size_t* i, size_t* number) {
  const size_t start = *i;
  size_t n = 0;
  while (*i < pattern.size() && IsDigit(pattern[*i])) {
    if (n < 100000) n = n * 10 + static_cast<size_t>(pattern[*i] - '0');
    ++*i;
  }
  *number = n;
  return *i > start;
}

}  // namespace

bool FormatPattern(const std::string& pattern, const std::vector<std::string>& args, std::string* out) {
  std::string result;
  bool ok = true;
  size_t next = 0;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c != '%') {
      result += c;
      ++i;
      continue;
    }
    const size_t start = i++;
    if (i < pattern.size() && pattern[i] == '%') {
      result += '%';
      ++i;
      continue;
    }
    // %[index:][-][width][.precision]type
    size_t index = next;
    size_t number = 0;
    size_t save = i;
    if (ReadNumber(pattern, &i, &number) && i < pattern.size() && pattern[i] == ':') {
      index = number;
      ++i;
    } else {
      i = save;
    }
    bool left = false;
    if (i < pattern.size() && pattern[i] == '-') {
      left = true;
      ++i;
    }
    size_t width = 0;
    ReadNumber(pattern, &i, &width);
    bool hasPrecision = false;
    size_t precision = 0;
    if (i < pattern.size() && pattern[i] == '.') {
      ++i;
      hasPrecision = ReadNumber(pattern, &i, &precision);
    }
    const bool isString = i < pattern.size() && (pattern[i] == 's' || pattern[i] == 'S');
    if (!isString || index >= args.size()) {
      // Not formattable with string arguments: copy the placeholder as written.
      ok = false;
      const size_t end = i < pattern.size() ? i + 1 : i;
      result.append(pattern, start, end - start);
      i = end;
      continue;
    }
    ++i;
    std::string value = args[index];
    next = index + 1;
    if (hasPrecision && value.size() > precision) value.resize(precision);
    if (value.size() < width) {
      const std::string pad(width - value.size(), ' ');
      value = left ? value + pad : pad + value;
    }
    result += value;
  }
  *out = std::move(result);
  return ok;
}

std::string Format(const std::string& pattern, const std::vector<std::string>& args) {
  std::string out;
  FormatPattern(pattern, args, &out);
  return out;
}
