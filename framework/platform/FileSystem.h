#pragma once

// File-system services of the operating system, in the framework's terms:
// paths may use '\' or '/' as separators, as the game's data paths do.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Hands the files written so far to the storage that outlives the program,
// where the platform keeps that apart from its files (a browser's storage);
// on a desktop the renamed file is already on the disk and nothing happens.
void KeepWrittenFiles();

// The working folder as an absolute path with '/' separators, or empty when
// it cannot be found.
std::string CurrentFolder();

// One name in a folder, as a directory search reports it.
struct FolderEntry {
  std::string name;           // without the folder
  bool isFolder = false;      // a folder (or a link to one)
  bool isFile = false;        // a regular file (or a link to one)
  bool isLink = false;        // the name is a symbolic link
  std::uint64_t size = 0;     // bytes, for files
  std::int64_t modified = 0;  // last write, nanoseconds since 1970-01-01 UTC
};

// The entries of a folder other than "." and "..", in no particular order.
// False when the folder cannot be read. Entries that vanish while being read
// are left out.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// Whether both paths name the same existing file.
bool IsSameFile(const std::string& a, const std::string& b);

// Sets the last-write time of a file (nanoseconds since 1970-01-01 UTC).
bool SetFileModified(const std::string& path, std::int64_t modified);

}  // namespace Zing::Platform
