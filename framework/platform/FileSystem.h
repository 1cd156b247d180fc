#pragma once

// File-system services of the operating system, in the framework's terms:
// paths may use '\' or '/' as separators, as the game's data paths do.

#include <cstddef>
#include <string>

namespace Zing::Platform {

// The path with every '\' turned into '/', as the disk wants it.
std::string ToDiskPath(const std::string& path);

// Creates the folder and every missing folder above it. Existing folders are
// not an error. Returns false when a folder could not be created.
bool CreateFolders(const std::string& path);

// Replaces the file at `path` with the `count` bytes at `bytes`, or leaves the
// old file untouched and returns false. The bytes go to a temporary file in the
// same folder first, reach the disk, and are then renamed over the target, so
// a crash or a full disk never leaves a half-written file behind.
bool WriteFileAtomically(const std::string& path, const void* bytes, std::size_t count);

}  // namespace Zing::Platform
