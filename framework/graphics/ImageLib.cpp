// Choosing the picture format by extension, the search for a separate alpha
// image and its merge, and the pixel array every loader fills.

#include "framework/graphics/ImageLib.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <new>

#include "framework/graphics/ImageLibFiles.h"

namespace Zing::ImageLib {

std::uint32_t gAlphaComposeColor = 0x00FFFFFF;
thread_local bool gFindAlphaImages = true;

namespace {

using Loader = ImagePtr (*)(const std::string&);

struct Format {
  const char* extension;
  Loader load;
};

// The order in which a name without an extension is tried.
const std::array<Format, 6> kFormats = {{
    {".tga", GetTGAImage},
    {".jpg", GetJPEGImage},
    {".png", GetPNGImage},
    {".gif", GetGIFImage},
    {".j2k", GetJPEG2000Image},
    {".jp2", GetJPEG2000Image},
}};

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

ImagePtr LoadByExtension(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  const std::size_t separator = fileName.find_last_of("\\/");
  const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  const std::string extension = hasExtension ? fileName.substr(dot) : std::string();
  const std::string baseName = hasExtension ? fileName.substr(0, dot) : fileName;
  for (const Format& format : kFormats) {
    if (!extension.empty() && !EqualsIgnoringCase(extension, format.extension)) continue;
    if (ImagePtr image = format.load(baseName + format.extension)) return image;
  }
  return nullptr;
}

// "dir/_name" first, then "name_" (which only a name without an extension
// can load, through the full format search).
ImagePtr FindAlphaImage(const std::string& fileName) {
  const std::size_t separator = fileName.find_last_of("\\/");
  const std::size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
  if (ImagePtr alpha = GetImage(fileName.substr(0, fileStart) + "_" + fileName.substr(fileStart), false)) return alpha;
  return GetImage(fileName + "_", false);
}

ImagePtr MergeAlpha(ImagePtr image, ImagePtr alpha) {
  if (!alpha) return image;
  if (!image) {
    std::uint32_t* bits = alpha->GetBits();
    const std::size_t count = static_cast<std::size_t>(alpha->width) * static_cast<std::size_t>(alpha->height);
    for (std::size_t i = 0; i < count; ++i) bits[i] = (bits[i] << 24) | gAlphaComposeColor;
    return alpha;
  }
  if (image->width != alpha->width || image->height != alpha->height) return image;
  std::uint32_t* bits = image->GetBits();
  const std::uint32_t* mask = alpha->GetBits();
  const std::size_t count = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
  for (std::size_t i = 0; i < count; ++i) bits[i] = (bits[i] & 0x00FFFFFF) | (mask[i] << 24);
  return image;
}

}  // namespace

bool Image::Allocate(int newWidth, int newHeight, bool clear) {
  if (newWidth < 1 || newHeight < 1 || newWidth > kMaxDimension || newHeight > kMaxDimension) return false;
  const std::size_t count = static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight);
  try {
    PixelVector fresh;
    fresh.reserve(count + 1);
    if (clear)
      fresh.resize(count, 0u);
    else
      fresh.resize(count);
    bits = std::move(fresh);
  } catch (const std::bad_alloc&) {
    return false;
  }
  width = newWidth;
  height = newHeight;
  return true;
}

PixelVector Image::TakeBits() {
  width = height = 0;
  return std::move(bits);
}

ImagePtr GetImage(const std::string& fileName, bool lookForAlphaImage) {
  ImagePtr image = LoadByExtension(fileName);
  if (!lookForAlphaImage || !gFindAlphaImages) return image;
  return MergeAlpha(std::move(image), FindAlphaImage(fileName));
}

}  // namespace Zing::ImageLib
