// The pixel pool: freed blocks by size, a free list per rounded size.

#include "framework/graphics/PixelPool.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace Zing::PixelPool {

namespace {

// Pooled sizes are rounded up to whole pages, so that pictures of nearly the
// same size share blocks.
constexpr std::size_t kGranule = 4096;

struct Pool {
  std::mutex lock;
  std::map<std::size_t, std::vector<void*>> blocks;  // by rounded size
  std::size_t kept = 0;
};

Pool& ThePool() {
  // Never destroyed: pictures freed while the process ends still find it.
  static Pool* pool = new Pool;
  return *pool;
}

std::size_t Rounded(std::size_t bytes) { return (bytes + kGranule - 1) / kGranule * kGranule; }

}  // namespace

void* Allocate(std::size_t bytes) {
  if (bytes < kPooledFrom) return std::malloc(bytes == 0 ? 1 : bytes);
  const std::size_t size = Rounded(bytes);
  if (size < bytes) return nullptr;
  Pool& pool = ThePool();
  {
    std::lock_guard<std::mutex> guard(pool.lock);
    auto it = pool.blocks.find(size);
    if (it != pool.blocks.end()) {
      void* block = it->second.back();
      it->second.pop_back();
      if (it->second.empty()) pool.blocks.erase(it);
      pool.kept -= size;
      return block;
    }
  }
  return std::malloc(size);
}

void Free(void* block, std::size_t bytes) {
  if (!block) return;
  if (bytes < kPooledFrom || !kKeepsBlocks) {
    std::free(block);
    return;
  }
  const std::size_t size = Rounded(bytes);
  Pool& pool = ThePool();
  {
    std::lock_guard<std::mutex> guard(pool.lock);
    if (pool.kept + size <= kKeptLimit) {
      pool.blocks[size].push_back(block);
      pool.kept += size;
      return;
    }
  }
  std::free(block);
}

void Release() {
  Pool& pool = ThePool();
  std::map<std::size_t, std::vector<void*>> blocks;
  {
    std::lock_guard<std::mutex> guard(pool.lock);
    blocks.swap(pool.blocks);
    pool.kept = 0;
  }
  for (auto& [size, list] : blocks)
    for (void* block : list) std::free(block);
}

std::size_t KeptBytes() {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> guard(pool.lock);
  return pool.kept;
}

}  // namespace Zing::PixelPool
