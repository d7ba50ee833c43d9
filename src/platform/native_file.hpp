// Open files as the system's small integer handles, with the few calls the
// readers and writers of whole files need: the same on every system, so that
// those readers and writers exist once.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/text.hpp"

// -1 when the file cannot be opened. Opening for reading never waits on a
// FIFO or device; such a file is then refused by PlainFileSize.
int OpenFileToRead(const Text& path);
// Creates or truncates the file.
int OpenFileToWrite(const Text& path);

// True with its size when the open file is a plain file (no folder, FIFO or device).
bool PlainFileSize(int fd, uint64_t& size);

// Bytes read (0 at the end), -1 on an error; interrupted reads are retried.
long ReadFromFile(int fd, void* buffer, size_t size);
// Writes all bytes, retrying interrupted and short writes; false on an error.
bool WriteToFile(int fd, const void* data, size_t size);
// False when the close reports an error (a full disk can show only here).
bool CloseFile(int fd);
