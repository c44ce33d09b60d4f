#pragma once

#include <string>
#include <vector>

// Running another program of the host and waiting for its end: the POSIX
// backend's only way to start a program (the authors' tool hands the disc
// image to the image writer through it). Windows has no counterpart; nothing
// there needs one.
namespace platform::posix {

// The outcome of one run.
struct ChildRun {
  int startError = 0;  // errno when the program could not be started (ENOENT: not found), else 0
  int exitCode = -1;   // its exit status; -1 when it did not start or a signal ended it
  int signal = 0;      // the signal that ended it, else 0
  std::string output;  // what it wrote to standard output and standard error, in order
};

// Runs argv[0] (looked up in PATH when the name holds no slash) with the
// arguments argv, standard input from /dev/null, and waits for its end.
ChildRun RunChild(const std::vector<std::string>& argv);

}  // namespace platform::posix
