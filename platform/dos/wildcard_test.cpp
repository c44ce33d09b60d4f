#include "platform/dos/wildcard.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace platform::dos {
namespace {

TEST(WildcardMatch, Table) {
  struct Case {
    const char* mask;
    const char* name;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"*", "setup.exe", true},
      {"*.*", "README", true},
      {"*.*", "a.b.c", true},
      {"*.*", ".", true},
      {"*.*", "..", true},
      {"*.", "README", true},
      {"*.", "setup.exe", false},
      {"*.", "a.b.c", false},
      {"*.", ".", true},
      {"abc.", "abc", true},
      {"abc.", "abc.d", false},
      {"abc..", "abc", true},
      {"abc.*", "abc", true},
      {"abc.*", "abcd", false},
      {"*.MAC", "a.mac", true},
      {"A?C.txt", "abc.TXT", true},
      {"a?c", "ac", false},
      {"a?c", "a.c", true},
      {"*.mac", "a.b.mac", true},
      {"*.mac", "a.mac.b", false},
      {"*ab", "aab", true},
      {"a*b*c", "aXbYc", true},
      {"a*b*c", "aXbY", false},
      {"ab", "abc", false},
      // UTF-8 names: '?' takes one character, letters fold beyond ASCII.
      {"?.dxf", "\xC3\xA4.dxf", true},
      {"??.dxf", "\xC3\xA4.dxf", false},
      {"PR\xC3\x9C"
       "F*",
       "pr\xC3\xBC"
       "fung",
       true},
      {"\xCE\x95*", "\xCE\xB5\xCE\xBB", true},
      {"\xC3\xA9*", "e", false},
      {"abc", "ab", false},
      {".*", "abc", false},
      {"", "a", false},
      {"\xE4*", "\xC4", false},
      {"\xE4*", "\xE4", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WildcardMatch(c.mask, c.name), c.expected) << c.mask << " / " << c.name;
  }
}

TEST(WildcardMatch, PathologicalMaskFinishes) {
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*a*b", std::string(255, 'a')));
}

}  // namespace
}  // namespace platform::dos
