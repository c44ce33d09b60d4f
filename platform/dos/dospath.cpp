#include "platform/dos/dospath.h"

#include <cstring>

#include <utility>

namespace platform::dos {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsFullPath(std::string_view path) {
  return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]);
}

// Walks the components of `rest` onto `parts`, resolving "." and "..".
void AppendComponents(std::string_view rest, std::vector<std::string_view>* parts) {
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) {
      ++end;
    }
    std::string_view component = rest.substr(start, end - start);
    start = end + 1;
    if (component == "..") {
      if (!parts->empty()) {
        parts->pop_back();
      }
      continue;
    }
    // Also turns "." and "..." into nothing.
    while (!component.empty() && (component.back() == '.' || component.back() == ' ')) {
      component.remove_suffix(1);
    }
    if (!component.empty()) {
      parts->push_back(component);
    }
  }
}

}  // namespace

bool NormalizeDosPath(std::string_view path, std::string_view currentDir, std::string* out) {
  if (path.empty() || (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))) {
    return false;
  }
  char drive = 0;
  std::string_view base;  // the directory `rest` is relative to; empty if from the root
  std::string_view rest;
  if (path.size() >= 2 && path[1] == ':') {
    if (!IsAsciiLetter(path[0])) {
      return false;
    }
    drive = UpperAscii(path[0]);
    rest = path.substr(2);
    const bool driveRelative = rest.empty() || !IsSeparator(rest[0]);
    if (driveRelative && IsFullPath(currentDir) && UpperAscii(currentDir[0]) == drive) {
      base = currentDir;
    }
  } else {
    if (!IsFullPath(currentDir)) {
      return false;
    }
    drive = UpperAscii(currentDir[0]);
    rest = path;
    if (!IsSeparator(path[0])) {
      base = currentDir;
    }
  }

  std::vector<std::string_view> parts;
  if (!base.empty()) {
    AppendComponents(base.substr(3), &parts);
  }
  AppendComponents(rest, &parts);

  std::string result{drive, ':', '\\'};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      result += '\\';
    }
    result += parts[i];
  }
  *out = std::move(result);
  return true;
}

std::vector<std::string_view> SplitDosComponents(std::string_view normalized) {
  std::vector<std::string_view> parts;
  if (normalized.size() <= 3) {
    return parts;
  }
  const std::string_view rest = normalized.substr(3);
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) {
      end = rest.size();
    }
    if (end > start) {
      parts.push_back(rest.substr(start, end - start));
    }
    start = end + 1;
  }
  return parts;
}

uint32_t WriteDriveStrings(const std::string& letters, uint32_t bufferLength, char* buffer) {
  std::string roots;
  for (const char letter : letters) {
    roots += letter;
    roots += ":\\";
    roots += '\0';
  }
  const uint32_t count = static_cast<uint32_t>(roots.size());
  if (!buffer || bufferLength < count + 1) return count + 1;
  std::memcpy(buffer, roots.data(), count);
  buffer[count] = '\0';
  return count;
}

}  // namespace platform::dos
