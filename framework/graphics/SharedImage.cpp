// The shared-image cache and its counted references. Counts change on any
// thread (a reference is copied only by someone who holds one, so a count
// never rises from 0 outside the cache's lock); entries are inserted and
// deleted only by the cache under its owner's lock.

#include "framework/graphics/SharedImage.h"

#include <algorithm>
#include <cctype>

namespace Zing {

namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

SharedImageRef::SharedImageRef(SharedImage* image) : shared(image) {
  if (shared) ++shared->refCount;
}

SharedImageRef::SharedImageRef(std::unique_ptr<MemoryImage> image) : unshared(std::move(image)) {}

SharedImageRef::SharedImageRef(const SharedImageRef& other) : SharedImageRef(other.shared) {
  // An owned unshared image cannot be shared by copying; the copy stays empty.
}

SharedImageRef::SharedImageRef(SharedImageRef&& other) noexcept
    : shared(std::exchange(other.shared, nullptr)), unshared(std::move(other.unshared)) {}

SharedImageRef& SharedImageRef::operator=(const SharedImageRef& other) {
  if (this != &other) {
    SharedImageRef copy(other);
    *this = std::move(copy);
  }
  return *this;
}

SharedImageRef& SharedImageRef::operator=(SharedImageRef&& other) noexcept {
  if (this != &other) {
    Release();
    shared = std::exchange(other.shared, nullptr);
    unshared = std::move(other.unshared);
  }
  return *this;
}

void SharedImageRef::Release() {
  unshared.reset();
  SharedImage* image = std::exchange(shared, nullptr);
  if (image && --image->refCount == 0 && image->cache) image->cache->LastReferenceReleased();
}

MemoryImage* SharedImageRef::Get() const { return shared ? shared->image.get() : unshared.get(); }

SharedImageRef SharedImageCache::Get(const std::string& fileName, const std::string& variant, bool* isNew) {
  auto [entry, inserted] = entries.try_emplace({Upper(fileName), Upper(variant)});
  SharedImage& shared = entry->second;
  SharedImageRef ref(&shared);
  if (isNew) *isNew = inserted;
  if (inserted) {
    shared.cache = this;
    if (!fileName.empty() && fileName[0] == '!') {
      shared.image = std::make_unique<MemoryImage>();
    } else if (loader) {
      shared.image = loader(fileName);
    }
  }
  return ref;
}

bool SharedImageCache::Cleanup() {
  if (!cleanupNeeded.exchange(false)) return false;
  return std::erase_if(entries, [](const auto& entry) { return entry.second.refCount == 0; }) > 0;
}

}  // namespace Zing
