#include "platform/fault_platform.h"

#include <gtest/gtest.h>

#include "platform/copy_fault_hook.h"
#include "platform/memory/memory_platform.h"

namespace {

std::string List(const std::string& name) { return name + std::string(1, '\0'); }

// The disk-full fault reaches the copy hook of the backend however many
// wrappers stand between, and holds for the one copy it hits only.
TEST(FaultPlatformTest, DiskFullReachesTheBackendThroughWrappers) {
  struct Case {
    const char* name;
    bool programAt;  // a ProgramAtPlatform below the wrapper
    bool twoFaults;  // a second FaultPlatform below the wrapper
  };
  const Case cases[] = {
      {"on the backend", false, false},
      {"over a program path", true, false},
      {"over a program path and another fault wrapper", true, true},
  };
  for (const Case& c : cases) {
    platform::MemoryPlatform memory("D:\\SETUP.EXE");
    ASSERT_TRUE(memory.AddFile("D:\\a.txt", "12345678")) << c.name;
    ASSERT_TRUE(memory.AddFile("D:\\b.txt", "12345678")) << c.name;
    platform::ProgramAtPlatform at(memory, "D:\\SUB\\SETUP.EXE");
    platform::Platform& first = c.programAt ? static_cast<platform::Platform&>(at) : memory;
    platform::FaultPlatform lower(first);
    platform::FaultPlatform faults(c.twoFaults ? static_cast<platform::Platform&>(lower) : first);
    EXPECT_EQ(platform::CopyFaultHookOf(faults), static_cast<platform::CopyFaultHook*>(&memory)) << c.name;

    faults.Add({platform::FaultOp::kDiskFull, "a.txt", 0, 4});
    EXPECT_NE(faults.ShellOperation(platform::kFoCopy, List("D:\\a.txt"), List("C:\\a.txt"), 0), 0) << c.name;
    EXPECT_FALSE(memory.Exists("C:\\a.txt")) << c.name;
    // The next copy, which the fault does not name, writes without a limit.
    EXPECT_EQ(faults.ShellOperation(platform::kFoCopy, List("D:\\b.txt"), List("C:\\b.txt"), 0), 0) << c.name;
    EXPECT_EQ(memory.Content("C:\\b.txt"), "12345678") << c.name;
  }
}

}  // namespace
