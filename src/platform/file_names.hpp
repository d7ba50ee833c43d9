// What the file system refuses as a name beyond "/", "\" and control
// characters, which every system refuses and the gradebook checks itself.
#pragma once
#include <vector>

#include "platform/text.hpp"

// False for a name this system cannot give a file or folder: on Windows the
// reserved device names (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, also with
// an extension), a trailing dot or blank, and the characters < > : " | ? *.
bool SystemAcceptsFileName(const Text& name);

// The lines that tell the teacher those rules; none where there are none.
std::vector<Text> SystemFileNameRules();
