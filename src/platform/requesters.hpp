// The system's file and folder requesters, shown by zenity or kdialog as a
// child process whose standard output carries the chosen path.
#pragma once
#include <utility>
#include <vector>
#include "platform/text.hpp"

// filter: groups "Description:ext1,ext2" separated by ";", e.g.
// "Bilddateien:png,jpg,bmp". Only files with those extensions are offered
// (also in capitals, as cameras name them). saveFlag not 0 asks for a name to
// save under. initialPath picks the start folder (ending in "/") or file.
// Returns the chosen path, or "" when cancelled or no requester is installed
// (the user is then told which package to install).
Text RequestFile(const Text& title, const Text& filter, int saveFlag, const Text& initialPath);

// The folder requester; "" when cancelled or unavailable.
Text RequestDir(const Text& title, const Text& initialPath);

// The argument vectors handed to the requester programs (argv[0] is the bare
// program name; the caller puts the found path there).
// The pieces of a text between separators (an empty text gives one empty
// piece), and pieces joined with a separator between them.
std::vector<Text> Split(const Text& text, char16_t separator);
Text Joined(const std::vector<Text>& parts, const Text& separator);

using FileFilterGroup = std::pair<Text, std::vector<Text>>;  // description, glob patterns
std::vector<FileFilterGroup> ParseFileFilter(const Text& filter);
std::vector<Text> ZenityFileArgs(const Text& title, const Text& filter, int saveFlag, const Text& initialPath);
std::vector<Text> ZenityDirArgs(const Text& title, const Text& initialPath);
std::vector<Text> KdialogFileArgs(const Text& title, const Text& filter, int saveFlag, const Text& initialPath);
std::vector<Text> KdialogDirArgs(const Text& title, const Text& initialPath);

// The first executable regular file called name in the folders of pathList
// (":"-separated like PATH; an empty entry is the working folder); "" if none.
Text FindProgramInPath(const Text& name, const Text& pathList);
