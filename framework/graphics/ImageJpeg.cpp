// JPEG pictures through libjpeg, read through the archive-aware file
// functions in blocks of 4096 bytes. Grey pictures become opaque grey pixels,
// colour pictures take their first three components as R, G, B.
//
// libjpeg's error exit jumps back to the setjmp in DecodeRows. Nothing between
// that setjmp and the jump owns anything with a destructor: the image, the
// source and the decompressor belong to GetJPEGImage, which destroys them
// after the jump as after success.

#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

#include <jerror.h>  // after jpeglib.h, which it needs

#include <bit>
#include <csetjmp>

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/ImageLibFiles.h"

namespace Zing::ImageLib {

namespace {

constexpr std::size_t kBlockSize = 4096;
// Beyond this the decoder would need more working memory (a progressive
// picture keeps all its coefficients) than a picture of the game could use;
// the library refuses instead of allocating it.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

struct FileSource {
  jpeg_source_mgr base;
  PFILE* file;
  bool startOfFile;
  JOCTET buffer[kBlockSize];
};

void JumpBack(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

void IgnoreMessage(j_common_ptr /*info*/) {}

void InitSource(j_decompress_ptr info) { reinterpret_cast<FileSource*>(info->src)->startOfFile = true; }

// As the library's own file source: an empty file is an error; a later end of
// data is a warning and an end-of-image marker.
boolean FillInputBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<FileSource*>(info->src);
  std::size_t count = p_fread(source->buffer, 1, kBlockSize, source->file);
  if (count == 0) {
    if (source->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    count = 2;
  }
  source->base.next_input_byte = source->buffer;
  source->base.bytes_in_buffer = count;
  source->startOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  auto* source = reinterpret_cast<FileSource*>(info->src);
  if (count <= 0) return;
  while (count > static_cast<long>(source->base.bytes_in_buffer)) {
    count -= static_cast<long>(source->base.bytes_in_buffer);
    FillInputBuffer(info);
  }
  source->base.next_input_byte += count;
  source->base.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr /*info*/) {}

void CopyRow(const JSAMPLE* samples, int components, std::uint32_t* row, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, samples += components) {
    const std::uint32_t r = samples[0];
    const std::uint32_t g = components >= 3 ? samples[1] : r;
    const std::uint32_t b = components >= 3 ? samples[2] : r;
    row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
}

// Colour pictures come out of the library as 0xFFRRGGBB words straight into
// the image's rows (the same samples as RGB, in the order of our pixels).
bool AsksForPixelWords(jpeg_decompress_struct* info) {
#ifdef JCS_ALPHA_EXTENSIONS
  if constexpr (std::endian::native != std::endian::little) return false;
  if (info->out_color_space == JCS_RGB) info->out_color_space = JCS_EXT_BGRA;
  return info->out_color_space == JCS_EXT_BGRA;
#else
  (void)info;
  return false;
#endif
}

bool DecodeRows(jpeg_decompress_struct* info, ErrorManager* errors, Image* image) {
  if (setjmp(errors->jump)) return false;
  info->mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_read_header(info, TRUE);
  if (info->image_width > static_cast<JDIMENSION>(kMaxDimension) ||
      info->image_height > static_cast<JDIMENSION>(kMaxDimension))
    return false;
  const bool direct = AsksForPixelWords(info);
  jpeg_start_decompress(info);
  const int components = info->output_components;
  if (components != 1 && components < 3) return false;
  if (!image->Allocate(static_cast<int>(info->output_width), static_cast<int>(info->output_height))) return false;
  JSAMPARRAY row = direct ? nullptr
                          : (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                       info->output_width * static_cast<JDIMENSION>(components), 1);
  while (info->output_scanline < info->output_height) {
    std::uint32_t* out = image->GetBits() + static_cast<std::size_t>(info->output_scanline) * info->output_width;
    JSAMPROW target = reinterpret_cast<JSAMPROW>(out);
    if (jpeg_read_scanlines(info, direct ? &target : row, 1) != 1) return false;
    if (!direct) CopyRow(row[0], components, out, info->output_width);
  }
  jpeg_finish_decompress(info);
  return true;
}

bool CreateDecompressor(jpeg_decompress_struct* info, ErrorManager* errors) {
  if (setjmp(errors->jump)) return false;
  jpeg_create_decompress(info);
  return true;
}

}  // namespace

ImagePtr GetJPEGImage(const std::string& fileName) {
  PFilePtr file = OpenForReading(fileName);
  if (!file) return nullptr;
  auto errors = std::make_unique<ErrorManager>();
  auto source = std::make_unique<FileSource>();
  auto info = std::make_unique<jpeg_decompress_struct>();
  info->err = jpeg_std_error(&errors->base);
  errors->base.error_exit = JumpBack;
  errors->base.output_message = IgnoreMessage;
  if (!CreateDecompressor(info.get(), errors.get())) return nullptr;
  source->base.init_source = InitSource;
  source->base.fill_input_buffer = FillInputBuffer;
  source->base.skip_input_data = SkipInputData;
  source->base.resync_to_restart = jpeg_resync_to_restart;
  source->base.term_source = TermSource;
  source->file = file.get();
  info->src = &source->base;
  auto image = std::make_unique<Image>();
  const bool decoded = DecodeRows(info.get(), errors.get(), image.get());
  jpeg_destroy_decompress(info.get());
  return decoded ? std::move(image) : nullptr;
}

}  // namespace Zing::ImageLib
