// Checks the wildcard matcher on arbitrary masks and names: no crash, and the
// rules that must hold whatever the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/dos/wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string mask = input.substr(0, cut);
  const std::string name = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  using platform::dos::WildcardMatch;
  const bool matched = WildcardMatch(mask, name);
  if (!name.empty() && !WildcardMatch("*", name)) __builtin_trap();
  if (!name.empty() && !WildcardMatch("*.*", name)) __builtin_trap();
  if (mask == name && !mask.empty() && mask.find_first_of("*?") == std::string::npos && !matched) {
    __builtin_trap();
  }
  return 0;
}
