// Starting other programs from an argument vector (never through a shell):
// waiting for them, capturing their output, or leaving them running.
#pragma once
#include <string>
#include <vector>
#include "platform/text.hpp"

// Starts argv[0] (searched on PATH) with the arguments as given, inheriting
// the environment and open handles, and waits for it. Returns its exit code,
// -1 when it ended without one (killed by a signal), or the errno value when
// it could not be started (ENOENT for a missing program, EINVAL for an empty argv).
int RunAndWait(const std::vector<Text>& argv);

// Like RunAndWait, with the given environment ("NAME=value" entries) instead
// of the program's own.
int RunAndWaitWithEnvironment(const std::vector<Text>& argv, const std::vector<std::string>& environment);

// Like RunAndWait, with the child's standard output collected into
// stdoutBytes (raw bytes; at most 16 MiB are kept, the rest is drained).
int RunAndCapture(const std::vector<Text>& argv, std::string& stdoutBytes);

// Starts argv[0] in a session of its own without waiting. Finished children
// are reaped on later calls of these functions, so none stays a zombie for
// long. False when it could not be started.
bool StartDetached(const std::vector<Text>& argv);
