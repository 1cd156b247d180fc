#pragma once

// A whole file mapped read-only into memory. The archive layer reads its
// archives straight from such a view, without copying them.

#include <cstddef>
#include <string>

namespace Zing::Platform {

class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  // Maps the regular file at `path` ('\' or '/' as separators). False when it
  // cannot be opened, is not a regular file or cannot be mapped; the object
  // then holds nothing. An empty file opens with no data.
  bool Open(const std::string& path);
  void Close();

  bool IsOpen() const { return isOpen; }
  const unsigned char* Data() const { return data; }
  std::size_t Size() const { return size; }

 private:
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  bool isOpen = false;
};

}  // namespace Zing::Platform
