// Path texts: separator normalisation, conversion to native paths, and the
// splitting of a path into folder, name and extension.
#pragma once
#include <filesystem>
#include "platform/text.hpp"

// Every "\" becomes "/"; the program keeps paths in this form.
Text NormalisePath(const Text& path);

// The normalised path as a file-system path (UTF-8 on disk).
std::filesystem::path NativePath(const Text& path);

// The path without its extension: drops the last "." and what follows it,
// but only when that "." comes after the last separator ("a.b/c" stays).
Text StripExtension(const Text& path);

// The folder part without the trailing separator; "" for a bare name.
// A root keeps its separator ("/x" gives "/", "C:/x" gives "C:/").
Text ExtractFolder(const Text& path);

// The extension without its dot; "" when the name has none.
Text ExtractExtension(const Text& path);

// folder + "/" + name, after removing one trailing "/" or "\" from folder;
// an empty folder gives name unchanged.
Text JoinPath(const Text& folder, const Text& name);
