#pragma once

// A file of its own for the fuzz targets whose parsers read files: each input
// is written to it, and it is removed when the run ends.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace ZingFuzz {

class InputFile {
 public:
  explicit InputFile(const std::string& suffix) {
    std::random_device random;
    path = (std::filesystem::temp_directory_path() / ("zing-fuzz-" + std::to_string(random()) + suffix)).string();
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }

  // Replaces the file's contents; returns its path.
  const std::string& Write(const void* bytes, std::size_t size) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    return path;
  }

 private:
  std::string path;
};

}  // namespace ZingFuzz
