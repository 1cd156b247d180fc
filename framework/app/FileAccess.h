#pragma once

// Whole-file access of the application. Reads go through the archive-aware
// file functions, so a file may come from "main.pak" or from the disk; writes
// always go to the disk. The application object exposes these as its own
// operations.

#include <cstddef>
#include <string>

#include "framework/app/Buffer.h"

namespace Zing {

// True when the file can be opened for reading (in the archive or on disk).
bool FileExists(const std::string& path);

// Replaces the buffer's contents with the whole file. False when the file
// cannot be opened or read; the buffer is then left as it was.
bool ReadBufferFromFile(const std::string& path, Buffer& buffer);

bool WriteBufferToFile(const std::string& path, const Buffer& buffer);

// Creates the missing folders of the path, then replaces the file with the
// bytes. The replacement is atomic: on any failure the old file is untouched
// and the result is false.
bool WriteBytesToFile(const std::string& path, const void* bytes, std::size_t count);

}  // namespace Zing
