#pragma once

// The pixel words a picture loader fills and a memory image keeps. The words
// are not cleared when they are allocated: a loader writes every pixel it
// hands out (a memory image that makes its own pixels clears them itself), so
// clearing would only cost a pass over memory that is about to be written. A
// memory image takes a decoded picture over as it is, without a copy.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace Zing {

template <typename T>
struct PixelAllocator {
  using value_type = T;
  PixelAllocator() = default;
  template <typename U>
  explicit PixelAllocator(const PixelAllocator<U>&) {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    if (void* memory = std::malloc(n * sizeof(T))) return static_cast<T*>(memory);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t) { std::free(p); }
  // Growing without a value leaves the words as they are; pixel vectors are
  // only grown that way right after their allocation, by code that then
  // writes every word.
  template <typename U>
  void construct(U*) {}
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};

using PixelVector = std::vector<std::uint32_t, PixelAllocator<std::uint32_t>>;

}  // namespace Zing
