// PNG pictures through libpng, read through the archive-aware file functions.
// Every kind of PNG comes out as 0xAARRGGBB: palettes, low bit depths and
// transparency chunks are expanded, grey becomes RGB, files without alpha get
// opaque pixels, 16-bit channels are scaled to 8 bits and interlaced files are
// put together from their passes.
//
// libpng reports errors by jumping back to the setjmp in DecodeRows. Nothing
// between that setjmp and the jump owns anything with a destructor: the image
// and the library's structures belong to GetPNGImage, which cleans up after
// the jump as after success.

#include <png.h>

#include <csetjmp>

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/ImageLibFiles.h"

namespace Zing::ImageLib {

namespace {

void ReadFromFile(png_structp png, png_bytep data, png_size_t length) {
  auto* file = static_cast<PFILE*>(png_get_io_ptr(png));
  if (p_fread(data, 1, length, file) != length) png_error(png, "Read Error");
}

void JumpBack(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }

void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void RequestTransformations(png_structp png) {
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
}

// Reads the header, sizes `image` and fills it row by row; false on any
// error of the file or the library.
bool DecodeRows(png_structp png, png_infop info, Image* image) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxDimension, kMaxDimension);
  png_read_info(png, info);
  RequestTransformations(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) return false;
  if (!image->Allocate(static_cast<int>(width), static_cast<int>(height))) return false;
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y)
      png_read_row(png, reinterpret_cast<png_bytep>(image->GetBits() + static_cast<std::size_t>(y) * width), nullptr);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

ImagePtr GetPNGImage(const std::string& fileName) {
  PFilePtr file = OpenForReading(fileName);
  if (!file) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  auto image = std::make_unique<Image>();
  bool decoded = false;
  if (info) {
    png_set_read_fn(png, file.get(), ReadFromFile);
    decoded = DecodeRows(png, info, image.get());
  }
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  return decoded ? std::move(image) : nullptr;
}

}  // namespace Zing::ImageLib
