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
    std::ofstream create(path, std::ios::binary);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }

  // Replaces the file's contents; returns its path. The file is overwritten
  // and then cut to size rather than truncated first: some file systems
  // flush a file to the disk whenever it is truncated to nothing and written
  // again, which would slow the run down to a crawl.
  const std::string& Write(const void* bytes, std::size_t size) const {
    {
      std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
      out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    }
    std::filesystem::resize_file(path, size);
    return path;
  }

 private:
  std::string path;
};

}  // namespace ZingFuzz
