#include "platform/dos/dospath.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace platform::dos {
namespace {

TEST(NormalizeDosPath, Table) {
  struct Case {
    const char* path;
    const char* currentDir;
    const char* expected;  // nullptr: must fail
  };
  const std::vector<Case> cases = {
      {"C:\\SIREL\\MACROS\\\\sub\\a.mac", "D:\\", "C:\\SIREL\\MACROS\\sub\\a.mac"},
      {"c:/x/./y/../z", "D:\\", "C:\\x\\z"},
      {"C:\\a\\b.. \\c", "C:\\", "C:\\a\\b\\c"},
      {"C:\\a\\...\\b\\", "C:\\", "C:\\a\\b"},
      {"C:\\..\\..\\x", "C:\\", "C:\\x"},
      {"..\\..\\..\\x", "C:\\a", "C:\\x"},
      {"sub\\a.mac", "C:\\dir", "C:\\dir\\sub\\a.mac"},
      {"..", "C:\\dir", "C:\\"},
      {"\\a", "D:\\dir\\sub", "D:\\a"},
      {"D:foo", "C:\\a", "D:\\foo"},
      {"D:foo", "D:\\q", "D:\\q\\foo"},
      {"d:..\\foo", "D:\\q\\r", "D:\\q\\foo"},
      {"e:", "D:\\q", "E:\\"},
      {"", "C:\\", nullptr},
      {"\\\\server\\share\\x", "C:\\", nullptr},
      {"1:\\x", "C:\\", nullptr},
  };
  for (const auto& c : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(NormalizeDosPath(c.path, c.currentDir, &out), c.expected != nullptr) << c.path << " / " << c.currentDir;
    EXPECT_EQ(out, c.expected ? c.expected : "unchanged") << c.path << " / " << c.currentDir;
  }
}

TEST(SplitDosComponents, Table) {
  struct Case {
    const char* path;
    std::vector<std::string_view> expected;
  };
  const std::vector<Case> cases = {
      {"C:\\", {}}, {"C:\\a", {"a"}}, {"C:\\SIREL\\MACROS\\a.mac", {"SIREL", "MACROS", "a.mac"}}};
  for (const auto& c : cases) {
    EXPECT_EQ(SplitDosComponents(c.path), c.expected) << c.path;
  }
}

}  // namespace
}  // namespace platform::dos
