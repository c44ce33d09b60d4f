#include "platform/posix/child_process.h"

#include <cerrno>
#include <csignal>

#include <gtest/gtest.h>

namespace {

TEST(ChildProcessTest, ExitStatusSignalAndOutput) {
  struct Case {
    const char* name;
    std::vector<std::string> argv;
    int startError;
    int exitCode;
    int signal;
    std::string output;
  };
  const Case cases[] = {
      {"success", {"true"}, 0, 0, 0, ""},
      {"failure", {"false"}, 0, 1, 0, ""},
      {"both streams in order, status kept",
       {"sh", "-c", "echo out; echo err >&2; echo out2; exit 3"},
       0,
       3,
       0,
       "out\nerr\nout2\n"},
      {"arguments passed as they are", {"/bin/echo", "a b", "*", "$HOME"}, 0, 0, 0, "a b * $HOME\n"},
      {"standard input is empty", {"sh", "-c", "cat; echo end"}, 0, 0, 0, "end\n"},
      {"ended by a signal", {"sh", "-c", "kill -TERM $$"}, 0, -1, SIGTERM, ""},
      {"not found", {"no-such-program-of-this-system"}, ENOENT, -1, 0, ""},
      {"not found by path", {"/nonexistent/program"}, ENOENT, -1, 0, ""},
      {"nothing to run", {}, EINVAL, -1, 0, ""},
  };
  for (const Case& c : cases) {
    const platform::posix::ChildRun run = platform::posix::RunChild(c.argv);
    EXPECT_EQ(run.startError, c.startError) << c.name;
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(run.signal, c.signal) << c.name;
    EXPECT_EQ(run.output, c.output) << c.name;
  }
}

TEST(ChildProcessTest, OutputLargerThanThePipeIsReadWhole) {
  const platform::posix::ChildRun run =
      platform::posix::RunChild({"sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, std::string(300000, 'x'));
}

}  // namespace
