#include "platform/this_process.h"

#include <gtest/gtest.h>

namespace {

// The platform of this process knows the running program: the test binary,
// named by a DOS path that the same platform finds as a file.
TEST(ThisProcessTest, ThePlatformNamesTheRunningProgram) {
  const std::unique_ptr<platform::Platform> p = platform::MakeProcessPlatform();
  ASSERT_NE(p, nullptr);
  const std::string program = p->ProgramFileName();
  ASSERT_GE(program.size(), 3u) << program;
  EXPECT_EQ(program.substr(1, 2), ":\\") << program;
  const std::string name = program.substr(program.rfind('\\') + 1);
  EXPECT_TRUE(name == "core_tests" || name == "core_tests.exe") << program;
  EXPECT_TRUE(p->IsFile(program)) << program;
}

}  // namespace
