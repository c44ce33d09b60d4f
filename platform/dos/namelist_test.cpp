#include "platform/dos/namelist.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace platform::dos {
namespace {

TEST(SplitNameList, Table) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string list;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"empty", ""s, {}},
      {"only the end mark", "\0"s, {}},
      {"one name", "C:\\a.mac\0\0"s, {"C:\\a.mac"}},
      {"two names", "a\0b c\0\0"s, {"a", "b c"}},
      {"last zero missing", "a\0b"s, {"a", "b"}},
      {"nothing after the first empty name", "a\0\0b\0\0"s, {"a"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitNameList(c.list), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace platform::dos
