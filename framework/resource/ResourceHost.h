#pragma once

// What the resource manager asks of the application that owns it: pictures
// from the shared-image cache and the sound manager that loads the effects.
// The application base answers both; tests answer with their own host.

#include <string>

#include "framework/graphics/SharedImage.h"

namespace Zing {

class SoundManager;

class ResourceHost {
 public:
  virtual ~ResourceHost() = default;

  // The cached picture for the file and variant; `isNew` tells whether this
  // call loaded it. The reference is empty when the file cannot be read.
  virtual SharedImageRef GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew) = 0;
  // Null when the application has no sound manager.
  virtual SoundManager* GetSoundManager() = 0;
};

}  // namespace Zing
