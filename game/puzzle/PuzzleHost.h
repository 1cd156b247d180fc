#pragma once

// What the puzzle asks of the application: popups and file reads now, sounds,
// dialogs and image sizes as the play screen grows. The game's application
// object implements it; tests replace it with a recording fake.

#include <string>

#include "framework/app/Buffer.h"

namespace Lintwick {

class PuzzleHost {
 public:
  virtual ~PuzzleHost() = default;

  virtual void Popup(const std::string& text) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) = 0;
};

}  // namespace Lintwick
