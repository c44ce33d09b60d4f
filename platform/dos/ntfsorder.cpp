#include "platform/dos/ntfsorder.h"

#include <algorithm>

namespace platform::dos {
namespace {

unsigned char UpperAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

int CompareNtfsOrder(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const unsigned char x = UpperAscii(a[i]);
    const unsigned char y = UpperAscii(b[i]);
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size() ? -1 : 1;
  }
  // Same length and equal but for letter case: the raw bytes decide.
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return 0;
}

}  // namespace platform::dos
