#pragma once

// Pictures shared by everyone who asks for the same file: the application's
// cache keeps one image per (file name, variant), counted by the references
// handed out. A reference may instead own an unshared image of its own. When
// the last reference to a cached image goes, the cache is told so and deletes
// the image at its next cleanup (not at once: another thread may be drawing
// it under the display lock).

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "framework/graphics/MemoryImage.h"

namespace Zing {

class SharedImageCache;

struct SharedImage {
  std::unique_ptr<MemoryImage> image;  // none until loaded, or when the file could not be read
  std::atomic<int> refCount{0};
  SharedImageCache* cache = nullptr;
};

class SharedImageRef {
 public:
  SharedImageRef() = default;
  explicit SharedImageRef(SharedImage* shared);
  explicit SharedImageRef(std::unique_ptr<MemoryImage> unshared);
  SharedImageRef(const SharedImageRef& other);
  SharedImageRef(SharedImageRef&& other) noexcept;
  SharedImageRef& operator=(const SharedImageRef& other);
  SharedImageRef& operator=(SharedImageRef&& other) noexcept;
  ~SharedImageRef() { Release(); }

  // Lets go of the image: an unshared one is deleted, a shared one loses a
  // reference.
  void Release();

  MemoryImage* Get() const;
  MemoryImage* operator->() const { return Get(); }
  explicit operator bool() const { return Get() != nullptr; }
  bool IsShared() const { return shared != nullptr; }

 private:
  SharedImage* shared = nullptr;
  std::unique_ptr<MemoryImage> unshared;
};

// The cache itself. Its owner guards every call with one lock (the display
// lock of the application) and supplies the loader of new entries.
class SharedImageCache {
 public:
  // Loads the picture file for a new entry; null when it cannot be read.
  using Loader = std::function<std::unique_ptr<MemoryImage>(const std::string& fileName)>;

  explicit SharedImageCache(Loader loadImage) : loader(std::move(loadImage)) {}
  SharedImageCache(const SharedImageCache&) = delete;
  SharedImageCache& operator=(const SharedImageCache&) = delete;
  ~SharedImageCache() = default;

  // The entry for the file and variant (compared without regard to case),
  // loaded on first use. A name beginning with '!' gets an empty image that
  // the program fills itself. `isNew`, when given, tells whether this call
  // made the entry.
  SharedImageRef Get(const std::string& fileName, const std::string& variant, bool* isNew);

  // Deletes the entries nobody references any more, when any were let go;
  // true when it deleted any.
  bool Cleanup();
  bool NeedsCleanup() const { return cleanupNeeded; }
  std::size_t Size() const { return entries.size(); }

 private:
  friend class SharedImageRef;
  void LastReferenceReleased() { cleanupNeeded = true; }

  Loader loader;
  std::map<std::pair<std::string, std::string>, SharedImage> entries;
  std::atomic<bool> cleanupNeeded{false};
};

}  // namespace Zing
