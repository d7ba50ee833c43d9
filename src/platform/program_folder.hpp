// The folder that holds the program file, and the process's working folder.
#pragma once
#include "platform/text.hpp"

// Folder of the running executable, without a trailing "/"; "" if unknown.
Text ExecutableFolder();
bool ChangeWorkingFolder(const Text& folder);
