#include "framework/graphics/PixelVector.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdint>

namespace Zing {

namespace {

// Below this a block is likely to come from pages the heap already has, and
// the call would cost more than the faults it saves.
constexpr std::size_t kPrepareFrom = 256 * 1024;
// Above this the pages keep coming on first write: a damaged file whose
// header claims a huge picture must not cost its memory before any row of it
// has been read.
constexpr std::size_t kPrepareUpTo = 64 * 1024 * 1024;

}  // namespace

void PrepareForWriting(void* memory, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  if (bytes < kPrepareFrom || bytes > kPrepareUpTo) return;
  static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t first = (start + page - 1) & ~(page - 1);
  const std::uintptr_t last = (start + bytes) & ~(page - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)bytes;
#endif
}

}  // namespace Zing
