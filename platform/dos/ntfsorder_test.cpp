#include "platform/dos/ntfsorder.h"

#include <vector>

#include <gtest/gtest.h>

namespace platform::dos {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareNtfsOrder, Table) {
  struct Case {
    const char* a;
    const char* b;
    int expected;  // sign of CompareNtfsOrder(a, b)
  };
  const std::vector<Case> cases = {
      {"a", "B", -1},
      {"A", "a", -1},
      {"Z", "_x", -1},
      {"z", "_x", -1},
      {"ab", "abc", -1},
      {"", "a", -1},
      {"abc", "ABC", 1},
      {"setup", "setup", 0},
      {"\x80", "z", 1},
      {"a.b", "a_b", -1},
      {"Setup.EXE", "setup.exe", -1},
      // UTF-8: letters fold beyond ASCII, characters (not bytes) compare.
      {"\xC3\xA9", "\xC3\x89", 1},
      {"\xC3\xA9"
       "a",
       "\xC3\x89"
       "B",
       -1},
      {"z", "\xC3\xA9", -1},
      {"\xCE\xB1", "\xCE\x92", -1},
      {"a\xC3\xA9", "A\xC3\x89x", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(CompareNtfsOrder(c.a, c.b)), c.expected) << c.a << " / " << c.b;
    EXPECT_EQ(Sign(CompareNtfsOrder(c.b, c.a)), -c.expected) << c.b << " / " << c.a;
  }
}

}  // namespace
}  // namespace platform::dos
