// The spreadsheet program of an installed office suite: where it is found,
// and how it is started on a class file's Latin-1 bytes.
#pragma once
#include <string>
#include <vector>

#include "platform/text.hpp"

// The first of: "libreoffice", then "soffice" on the PATH; the folders
// /opt/libreoffice* in name order, the last first, each with program/soffice;
// /usr/lib/libreoffice/program/soffice; the folders /opt/openoffice* like the
// LibreOffice ones. Every LibreOffice installation comes before any
// OpenOffice.org one. "" when there is none.
Text FindSpreadsheetProgram();
// The same search over the given PATH list, folder of optional installations
// ("/opt") and suite program folder ("/usr/lib/libreoffice/program").
Text FindSpreadsheetProgramIn(const Text& pathList, const Text& optFolder, const Text& suiteProgramFolder);

// The environment for the spreadsheet program: the given one ("NAME=value"
// entries) with LC_ALL removed and LC_CTYPE=C, so that the suite reads the
// class file's bytes as Latin-1 on a UTF-8 desktop. The language for messages
// stays: an LC_ALL that chose it goes on as LC_MESSAGES.
std::vector<std::string> SpreadsheetEnvironment(const std::vector<std::string>& environment);

// Runs program on the file with that environment and waits until it ends;
// the exit code, or the errno value when it could not be started.
// With a profile folder, the spreadsheet program keeps its recent files,
// thumbnails, lock and recovery data there (LibreOffice's
// -env:UserInstallation), so they go when that folder goes.
int RunSpreadsheetAndWait(const Text& program, const Text& file, const Text& profileFolder = {});
// The argument that gives LibreOffice its profile folder (a file URL).
Text ProfileArgument(const Text& profileFolder);
