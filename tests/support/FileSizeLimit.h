#pragma once

// Makes the disk look full to this process while the object lives: files
// cannot grow beyond `bytes`, and a write past that fails instead of raising
// a signal. For testing that failed writes keep the old file.

#include <sys/resource.h>

#include <csignal>
#include <cstddef>

namespace ZingTest {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = bytes;
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    active = setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
  }

  bool Active() const { return active; }

 private:
  rlimit old{};
  void (*previousHandler)(int) = nullptr;
  bool active = false;
};

}  // namespace ZingTest
