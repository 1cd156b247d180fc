#pragma once

// The pixel words a picture loader fills and a memory image keeps. The words
// come from calloc: pages a decoder never reaches are never touched (a small
// damaged file that claims a large size costs nothing), and a memory image
// can take a decoded picture over as it is, without a copy.

#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace Zing {

template <typename T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <typename U>
  explicit ZeroedAllocator(const ZeroedAllocator<U>&) {}
  T* allocate(std::size_t n) {
    if (void* memory = std::calloc(n, sizeof(T))) return static_cast<T*>(memory);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t) { std::free(p); }
  // Growing without a value leaves the words as calloc left them (0). Pixel
  // vectors are only grown that way right after their allocation.
  template <typename U>
  void construct(U*) {}
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

using PixelVector = std::vector<std::uint32_t, ZeroedAllocator<std::uint32_t>>;

}  // namespace Zing
