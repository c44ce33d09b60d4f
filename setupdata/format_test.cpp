#include "setupdata/format.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatTest, StringPatterns) {
  struct Case {
    const char* pattern;
    std::vector<std::string> args;
    const char* expected;
    bool ok;
  };
  const Case cases[] = {
      {"Version %s", {"2.0"}, "Version 2.0", true},
      {"no placeholder", {"x"}, "no placeholder", true},
      {"%s and %s", {"a", "b"}, "a and b", true},
      {"100%%", {}, "100%", true},
      {"%s%%%s", {"a", "b"}, "a%b", true},
      {"%1:s %0:s %s", {"a", "b"}, "b a b", true},
      {"[%5s]", {"ab"}, "[   ab]", true},
      {"[%-5s]", {"ab"}, "[ab   ]", true},
      {"[%.1s]", {"ab"}, "[a]", true},
      {"%S", {"up"}, "up", true},
      // Faulty placeholders are shown as written and never read a missing argument.
      {"%s %s", {"a"}, "a %s", false},
      {"%d files", {"a"}, "%d files", false},
      {"%s %x", {"a", "b"}, "a %x", false},
      {"50%", {}, "50%", false},
      {"%5:s", {"a"}, "%5:s", false},
      {"%*s", {"a"}, "%*s", false},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(FormatPattern(c.pattern, c.args, &out), c.ok) << c.pattern;
    EXPECT_EQ(out, c.expected) << c.pattern;
  }
}

}  // namespace
