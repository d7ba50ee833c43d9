// A POSIX file system takes every name without "/" and NUL.
#include "platform/file_names.hpp"

bool SystemAcceptsFileName(const Text&) { return true; }

std::vector<Text> SystemFileNameRules() { return {}; }
