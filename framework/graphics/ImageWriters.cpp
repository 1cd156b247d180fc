// Writing pictures to the disk (never into an archive): 8-bit RGBA PNG and
// quality-80 RGB JPEG, for screenshots and image dumps. Library errors jump
// back to the setjmp in the Write* helpers; the file and the row buffer
// belong to the callers, which clean up after the jump as after success.

#include <png.h>

#include <cstdio>  // before jpeglib.h, which needs FILE

#include <jpeglib.h>

#include <csetjmp>
#include <vector>

#include "framework/graphics/ImageLib.h"
#include "framework/platform/FileSystem.h"

namespace Zing::ImageLib {

namespace {

constexpr int kJpegQuality = 80;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenForWriting(const std::string& fileName) {
  return FilePtr(std::fopen(Platform::ToDiskPath(fileName).c_str(), "wb"));
}

void PngJumpBack(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void PngIgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

bool WritePngRows(png_structp png, png_infop info, std::FILE* file, const Image* image) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->width), static_cast<png_uint_32>(image->height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color_8 significant = {8, 8, 8, 0, 8};
  png_set_sBIT(png, info, &significant);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < image->height; ++y) {
    const std::uint32_t* row = image->GetBits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image->width);
    png_write_row(png, reinterpret_cast<png_const_bytep>(row));
  }
  png_write_end(png, info);
  return true;
}

struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void JpegJumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
void JpegIgnoreMessage(j_common_ptr /*info*/) {}

bool WriteJpegRows(jpeg_compress_struct* info, JpegErrors* errors, std::FILE* file, const Image* image, JSAMPLE* row) {
  if (setjmp(errors->jump)) return false;
  jpeg_create_compress(info);
  jpeg_stdio_dest(info, file);
  info->image_width = static_cast<JDIMENSION>(image->width);
  info->image_height = static_cast<JDIMENSION>(image->height);
  info->input_components = 3;
  info->in_color_space = JCS_RGB;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, kJpegQuality, TRUE);
  jpeg_start_compress(info, TRUE);
  for (int y = 0; y < image->height; ++y) {
    const std::uint32_t* pixels =
        image->GetBits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image->width);
    for (int x = 0; x < image->width; ++x) {
      row[3 * x] = static_cast<JSAMPLE>(pixels[x] >> 16);
      row[3 * x + 1] = static_cast<JSAMPLE>(pixels[x] >> 8);
      row[3 * x + 2] = static_cast<JSAMPLE>(pixels[x]);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(info, rows, 1);
  }
  jpeg_finish_compress(info);
  return true;
}

bool Writable(const Image& image) {
  return image.GetBits() && image.width > 0 && image.height > 0 && image.width <= kMaxDimension &&
         image.height <= kMaxDimension;
}

}  // namespace

bool WritePNGImage(const std::string& fileName, const Image& image) {
  if (!Writable(image)) return false;
  FilePtr file = OpenForWriting(fileName);
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngJumpBack, PngIgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  const bool written = info && WritePngRows(png, info, file.get(), &image);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return written && std::fflush(file.get()) == 0;
}

bool WriteJPEGImage(const std::string& fileName, const Image& image) {
  if (!Writable(image)) return false;
  FilePtr file = OpenForWriting(fileName);
  if (!file) return false;
  auto errors = std::make_unique<JpegErrors>();
  auto info = std::make_unique<jpeg_compress_struct>();
  std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width) * 3);
  info->err = jpeg_std_error(&errors->base);
  errors->base.error_exit = JpegJumpBack;
  errors->base.output_message = JpegIgnoreMessage;
  const bool written = WriteJpegRows(info.get(), errors.get(), file.get(), &image, row.data());
  jpeg_destroy_compress(info.get());
  return written && std::fflush(file.get()) == 0;
}

}  // namespace Zing::ImageLib
