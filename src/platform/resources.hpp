// Registry of byte blocks compiled into the program, addressed as
// "incbin::" + name, and reading a whole source (embedded or file) into memory.
#pragma once
#include <cstddef>
#include <span>
#include <vector>
#include "platform/text.hpp"

// Registers bytes under name (separators normalised to "/"). Only the pointer
// is kept: the bytes must live for the whole run. Called at start only.
void RegisterEmbeddedResource(const Text& name, const unsigned char* bytes, size_t size);

// Registers all fonts and images of the media manifest (generated at build time).
void RegisterEmbeddedMedia();

// The bytes registered under name (with or without "incbin::"); empty if unknown.
std::span<const unsigned char> EmbeddedResource(const Text& name);

// Whether name (with or without "incbin::") is registered, also when its size is 0.
bool HasEmbeddedResource(const Text& name);

// True when source names an embedded resource ("incbin::..."), not a file.
bool IsEmbeddedSource(const Text& source);

// Reads an "incbin::" resource or a file fully into out; false (out empty)
// when the resource is unknown or the file cannot be read.
bool ReadSourceBytes(const Text& source, std::vector<unsigned char>& out);
