// Command lines for CreateProcessW: Windows hands a program one line, which
// its C runtime splits again, so every argument is quoted by those rules.
#pragma once
#include <string>
#include <vector>

#include "platform/text.hpp"

// One argument in double quotes, with backslashes before a quote and at the
// end doubled and quotes escaped, so that it comes back exactly as given.
std::wstring QuotedArgument(const Text& argument);
// The arguments quoted and joined by blanks.
std::wstring CommandLine(const std::vector<Text>& argv);
