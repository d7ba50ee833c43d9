// Children started by the POSIX side itself beyond process.hpp.
#pragma once
#include <sys/types.h>

#include <vector>

#include "platform/text.hpp"

// A child whose standard output comes through a non-blocking pipe and which
// nobody waits for: for a question asked while the frames go on. Its
// standard error goes to /dev/null. The caller reads `output`, reaps `pid`
// (waitpid) and closes `output`; pid is -1 when it could not be started.
struct ChildWithOutput {
    pid_t pid = -1;
    int output = -1;
};
ChildWithOutput StartWithOutput(const std::vector<Text>& argv);
