#pragma once

// What the picture loaders share: whole files read through the
// archive-aware file functions, and an open stream closed on every path.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/archive/PakInterface.h"

namespace Zing::ImageLib {

struct PFileCloser {
  void operator()(PFILE* file) const { p_fclose(file); }
};
using PFilePtr = std::unique_ptr<PFILE, PFileCloser>;

inline PFilePtr OpenForReading(const std::string& fileName) { return PFilePtr(p_fopen(fileName.c_str(), "rb")); }

// The whole file, or false when it cannot be opened. Files above `limit`
// bytes are refused.
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes,
                   std::size_t limit = std::size_t(1) << 30);

}  // namespace Zing::ImageLib
