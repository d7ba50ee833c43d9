// Environment, opening documents with the desktop's handler, the file-size
// signal, ending the program; includes the process, requester and drive services.
#pragma once
#include "platform/drives.hpp"
#include "platform/process.hpp"
#include "platform/requesters.hpp"
#include "platform/text.hpp"

// Value of the variable (UTF-8 decoded); "" when unset.
Text EnvironmentVariable(const Text& name);

// The URL that OpenURL hands to xdg-open: "http:", "https:" and "file:"
// texts unchanged; an existing path as a "file://" URL of its absolute path
// (percent-encoded, since class names hold blanks and parentheses), a part
// from "#" on kept as anchor; anything else as "http:" + text.
Text UrlForOpening(const Text& text);

// Runs xdg-open with UrlForOpening(text) without waiting.
void OpenURL(const Text& text);
// Whether the desktop names a program for files of this type ("application/
// pdf"), as `xdg-mime query default` answers; false when it cannot be asked.
bool OpenerKnownFor(const Text& mimeType);

// A write beyond a file-size limit (ulimit -f) then fails with an error that
// the save reports, instead of the signal ending the program mid-save and
// taking every unsaved grade with it. Child processes get the default back.
void IgnoreFileSizeLimitSignal();

// Writes the line (UTF-8) and a line break to stderr: what the user must
// know when no box can be shown any more.
void PrintErrorLine(const Text& line);

// Ends the process with exit code 0; callers save first.
[[noreturn]] void EndProgram();

// Writes message (UTF-8) and a line break to stderr and ends with exit code -1.
[[noreturn]] void RaiseError(const Text& message);
