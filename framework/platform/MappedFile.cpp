#include "framework/platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/platform/FileSystem.h"

namespace Zing::Platform {

MappedFile::~MappedFile() { Close(); }

bool MappedFile::Open(const std::string& path) {
  Close();
  const int fd = open(ToDiskPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (ok && info.st_size > 0) {
    // The mapping outlives the descriptor; a private read-only view never
    // writes anything back.
    void* view = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ok = view != MAP_FAILED;
    if (ok) {
      data = static_cast<const unsigned char*>(view);
      size = static_cast<std::size_t>(info.st_size);
    }
  }
  close(fd);
  isOpen = ok;
  return ok;
}

void MappedFile::Close() {
  // The view was mapped read-only; munmap only wants a plain pointer.
  if (data != nullptr) munmap(const_cast<unsigned char*>(data), size);
  data = nullptr;
  size = 0;
  isOpen = false;
}

}  // namespace Zing::Platform
