#pragma once

// An SDL colour cursor made from an image of the application, kept while the
// same image (pixels, size and hot spot) is asked for again, so that setting
// the cursor on every pointer move does not rebuild it.

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace Zing::Platform {

class ImageCursor {
 public:
  ImageCursor() = default;
  ImageCursor(const ImageCursor&) = delete;
  ImageCursor& operator=(const ImageCursor&) = delete;
  ~ImageCursor();

  // Makes (or reuses) the cursor and selects it; false when SDL cannot.
  bool Show(const std::uint32_t* pixels, int width, int height, int hotX, int hotY);

 private:
  bool Matches(const std::uint32_t* pixels, int width, int height, int hotX, int hotY) const;

  SDL_Cursor* cursor_ = nullptr;
  std::vector<std::uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  int hotX_ = 0;
  int hotY_ = 0;
};

}  // namespace Zing::Platform
