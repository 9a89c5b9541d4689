#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace quendral::test {

struct ChildResult {
    int exitCode = -1; // -1 when it did not exit normally
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct ChildOptions {
    // Environment changes over this process's environment: name -> value.
    std::vector<std::pair<std::string, std::string>> environment;
    std::chrono::milliseconds timeout{30000};
    // Standard output on a pseudo-terminal instead of a pipe.
    bool terminal = false;
};

// Runs a program (absolute path in argv[0]) to its end. One that outlives `timeout` is killed
// with its process group and reported as timed out, so a hanging program fails a test instead
// of stalling it. What a program left running in the background keeps of the output pipes does
// not hold this up.
ChildResult runChild(const std::vector<std::string>& argv, const ChildOptions& options = {});

} // namespace quendral::test
