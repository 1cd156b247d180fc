#pragma once

// Picture files into plain 32-bit pixel arrays. The format follows the file
// name's extension; a name without one is tried in every format in a fixed
// order (".tga", ".jpg", ".png", ".gif", ".j2k", ".jp2"). A picture may have a
// separate grey alpha image ("dir/_name" or "name_") whose blue channel
// becomes its alpha. TGA (a narrow subset) and GIF are decoded here; PNG and
// JPEG through libpng and libjpeg; JPEG 2000 only when the OpenJPEG library
// can be opened at run time. Every file is read through the archive-aware
// file functions, so pictures come from "main.pak" as well as from the disk.
//
// Every loader refuses damaged or hostile files with "no image": truncated
// data, sizes above kMaxDimension on a side, codes out of range, streams that
// fail part-way. Nothing is reported but the missing image.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/graphics/PixelVector.h"

namespace Zing::ImageLib {

// Larger pictures are refused before anything is allocated.
inline constexpr int kMaxDimension = 16384;

class Image {
 public:
  Image() = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  virtual ~Image() = default;

  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  std::uint32_t* GetBits() { return bits.data(); }
  const std::uint32_t* GetBits() const { return bits.data(); }

  // Allocates width x height pixels once, at the final size, with room for
  // one word more (a memory image's guard word). The pixels are left as the
  // memory was (a decoder that hands out its picture writes them all) unless
  // `clear` asks for 0, for a decoder that may stop part-way. False, and
  // nothing allocated, for sizes below 1 or above kMaxDimension, or when
  // memory runs out.
  bool Allocate(int newWidth, int newHeight, bool clear = false);
  // The pixels handed over to the caller; the image is empty afterwards.
  PixelVector TakeBits();

  int width = 0;
  int height = 0;
  PixelVector bits;  // 0xAARRGGBB, rows top to bottom
};

using ImagePtr = std::unique_ptr<Image>;

// The colour of a picture that exists only as its alpha image (its pixels
// become this colour with the mask's blue channel as alpha). The resource
// manager sets it for one load at a time; not guarded.
extern std::uint32_t gAlphaComposeColor;

// Whether GetImage looks for a separate "_name" alpha image when asked to.
// The resource manager clears it for the one load of a picture whose record
// says it has none ("noalpha"), which spares a dozen failed file lookups.
// Per thread, as the loading thread and the main thread load side by side.
extern thread_local bool gFindAlphaImages;

// The entry point: the picture named `fileName` (see the top of this file).
// Outside callers look for alpha images; the alpha search itself does not.
ImagePtr GetImage(const std::string& fileName, bool lookForAlphaImage = true);

// One loader per format, on the full file name.
ImagePtr GetTGAImage(const std::string& fileName);
ImagePtr GetJPEGImage(const std::string& fileName);
ImagePtr GetPNGImage(const std::string& fileName);
ImagePtr GetGIFImage(const std::string& fileName);
ImagePtr GetJPEG2000Image(const std::string& fileName);

// Decoders of bytes already in memory (the file loaders and the fuzz targets
// use them).
ImagePtr DecodeTGA(const std::uint8_t* data, std::size_t size);
ImagePtr DecodeGIF(const std::uint8_t* data, std::size_t size);

// Writers of 8-bit RGBA PNG and quality-80 RGB JPEG files on the disk (never
// into an archive). False when the file cannot be written.
bool WritePNGImage(const std::string& fileName, const Image& image);
bool WriteJPEGImage(const std::string& fileName, const Image& image);

// The optional JPEG 2000 codec: opened by name at start-up, freed at
// shutdown. Without it JPEG 2000 files yield no image.
bool LoadJPEG2000Codec();
void FreeJPEG2000Codec();
bool HasJPEG2000Codec();

}  // namespace Zing::ImageLib
