#pragma once

// Memory for pixels, with the large blocks of freed pictures kept for the next
// pictures of the same size. Loading a group of pictures, freeing it and
// loading it again then reuses the pages of the first load: the system neither
// faults in nor zeroes fresh ones. What the pool keeps is capped (kKeptLimit);
// beyond that, and for small blocks, memory goes straight back to the C heap.
//
// Thread safety: any thread may allocate and free (the loading thread makes
// pictures that the main thread frees).

#include <cstddef>

namespace Zing::PixelPool {

// Blocks from this size on are pooled; smaller ones the C heap reuses well.
inline constexpr std::size_t kPooledFrom = 16 * 1024;
// The most freed memory the pool keeps.
inline constexpr std::size_t kKeptLimit = 32 * 1024 * 1024;

// Under AddressSanitizer nothing is kept, so that a freed picture's memory
// stays poisoned and a use after its free is caught.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kKeepsBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kKeepsBlocks = false;
#else
inline constexpr bool kKeepsBlocks = true;
#endif
#else
inline constexpr bool kKeepsBlocks = true;
#endif

// At least `bytes` of uninitialised memory, or null when memory runs out.
void* Allocate(std::size_t bytes);
// Gives back a block from Allocate with the same `bytes`.
void Free(void* block, std::size_t bytes);
// Hands every kept block back to the C heap, for when the pictures that were
// freed will not be loaded again.
void Release();
// How much freed memory the pool keeps now.
std::size_t KeptBytes();

}  // namespace Zing::PixelPool
