#pragma once

// Builds archive files for tests, in the format the archive layer reads.

#include <string>
#include <vector>

#include "framework/archive/PakFormat.h"

namespace ZingTest {

struct PakFile {
  std::string name;
  std::string contents;
  std::int64_t time = 0;
};

// The plain (key not applied) header, directory and contents.
inline std::string PlainArchive(const std::vector<PakFile>& files) {
  std::vector<Zing::Pak::Entry> entries;
  for (const PakFile& file : files)
    entries.push_back({file.name, 0, static_cast<std::uint32_t>(file.contents.size()), file.time});
  std::string bytes, error;
  Zing::Pak::WriteDirectory(entries, bytes, error);
  for (const PakFile& file : files) bytes += file.contents;
  return bytes;
}

// Applies the key to plain archive bytes.
inline std::string Keyed(std::string bytes) {
  Zing::Pak::ApplyKey(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
  return bytes;
}

inline std::string MakeArchive(const std::vector<PakFile>& files) { return Keyed(PlainArchive(files)); }

}  // namespace ZingTest
