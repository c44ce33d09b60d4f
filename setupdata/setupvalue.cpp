#include "setupdata/setupvalue.h"

#include "setupdata/memini.h"

std::string ReadSetupValue(const TMemIniFile& ini, const std::string& Section, const std::string& Key) {
  return CleanSetupValue(ini, ini.ReadString(Section, Key, std::string()));
}

std::string CleanSetupValue(const TMemIniFile& ini, std::string value) {
  value = ini.Cut(std::move(value), kMaxSetupValue);
  if (!value.empty() && value.front() == '"') value.erase(0, 1);
  if (!value.empty() && value.back() == '"') value.pop_back();
  return value;
}

bool ParseSetupInteger(const std::string& raw, int32_t* value) {
  std::string text = raw;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.replace(0, 2, "$");
  }
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  }
  if (i == text.size()) return false;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t number = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    number = number * base + digit;
    if (number > limit) return false;
  }
  *value = static_cast<int32_t>(negative ? -number : number);
  return true;
}

int32_t ReadSetupInteger(const TMemIniFile& ini, const std::string& Section, const std::string& Key, int32_t Default) {
  int32_t value = 0;
  return ParseSetupInteger(ini.ReadString(Section, Key, std::string()), &value) ? value : Default;
}
