#pragma once

// Small picture files made by the tests themselves, through libpng and libjpeg directly (so that
// the loaders are checked against the libraries, not against our own writers) or byte by byte for
// TGA and GIF (whose codes the art generator's encoder makes: the clear codes of a full table too).

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <openjpeg-2.5/openjpeg.h>

#include "tools/artgen/ImageFiles.h"

namespace ImageTest {

struct PngSpec {
  int width = 0, height = 0, colorType = 0 /* PNG_COLOR_TYPE_* */, bitDepth = 8;
  bool interlaced = false;
  std::vector<std::uint8_t> samples;  // packed rows as the format stores them
  std::vector<std::uint8_t> palette;  // R, G, B triples
  std::vector<std::uint8_t> alphas;   // tRNS entries for a palette
};

inline bool WritePng(const std::string& path, const PngSpec& layout) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width), static_cast<png_uint_32>(layout.height),
               layout.bitDepth, layout.colorType, layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> colors;
  for (std::size_t i = 0; i + 2 < layout.palette.size(); i += 3)
    colors.push_back({layout.palette[i], layout.palette[i + 1], layout.palette[i + 2]});
  if (!colors.empty()) png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
  if (!layout.alphas.empty())
    png_set_tRNS(png, info, layout.alphas.data(), static_cast<int>(layout.alphas.size()), nullptr);
  png_write_info(png, info);
  const std::size_t stride = layout.samples.size() / static_cast<std::size_t>(layout.height);
  std::vector<png_bytep> rows;
  for (int y = 0; y < layout.height; ++y)
    rows.push_back(const_cast<png_bytep>(layout.samples.data() + static_cast<std::size_t>(y) * stride));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
  return true;
}

// `samples` holds 1 (grey), 3 (RGB) or 4 (CMYK) bytes per pixel; a comment marker of `commentBytes` follows the header.
inline bool WriteJpeg(const std::string& path, int width, int height, int components, bool progressive,
                      const std::vector<std::uint8_t>& samples, int quality = 95, unsigned commentBytes = 0) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const std::vector<JOCTET> comment(commentBytes, 'c');
  if (commentBytes) jpeg_write_marker(&info, JPEG_COM, comment.data(), commentBytes);
  for (int y = 0; y < height; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + static_cast<std::size_t>(y * width * components));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
  return true;
}

inline void PutWord(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// A 32-bit TGA with the given descriptor byte; pixels as B, G, R, A.
inline std::string MakeTga(int width, int height, std::uint8_t descriptor, const std::vector<std::uint32_t>& pixels,
                           std::uint8_t bitsPerPixel = 32) {
  std::string out(12, '\0');
  out[2] = 2;  // true colour
  PutWord(out, width);
  PutWord(out, height);
  out += static_cast<char>(bitsPerPixel);
  out += static_cast<char>(descriptor);
  for (std::uint32_t pixel : pixels)
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((pixel >> shift) & 0xFF);
  return out;
}

// Palette entry `i` of the test GIFs: black, red, green, blue, then a ramp.
inline std::uint32_t GifColor(int i) {
  const std::uint32_t first[4] = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  const auto v = static_cast<std::uint32_t>(i);
  return i < 4 ? first[i] : 0xFF000000u | v << 16 | (255 - v) << 8 | ((v * 7) & 0xFF);
}

struct GifSpec {
  int width = 0, height = 0;
  std::vector<std::uint8_t> indices;  // rows top to bottom
  int transparent = -1;
  bool interlaced = false;
  std::size_t blockSize = 255;
  int colorBits = 2;        // palette of 2^colorBits entries
  bool localTable = false;  // the palette after the image descriptor instead of the global one
  std::string before;       // blocks between the screen descriptor and the image
  std::string version = "GIF89a";
};

// A GIF file of one picture, its rows stored in interlace order when asked.
inline std::string MakeGif(const GifSpec& gif) {
  std::string out = gif.version, palette;
  for (int i = 0; i < 1 << gif.colorBits; ++i)
    for (int shift : {16, 8, 0}) palette += static_cast<char>((GifColor(i) >> shift) & 0xFF);
  const char tableFlags = static_cast<char>(0x80 | (gif.colorBits - 1));
  PutWord(out, gif.width + 3);  // the logical screen is not the picture's size
  PutWord(out, gif.height + 1);
  out += std::string(1, gif.localTable ? '\0' : tableFlags) + std::string(2, '\0');
  if (!gif.localTable) out += palette;
  out += gif.before;
  if (gif.transparent >= 0) out += std::string("\x21\xF9\x04\x01\0\0", 6) + static_cast<char>(gif.transparent) + '\0';
  out += ',';
  PutWord(out, 2);
  PutWord(out, 1);
  PutWord(out, gif.width);
  PutWord(out, gif.height);
  out += static_cast<char>((gif.interlaced ? 0x40 : 0) | (gif.localTable ? tableFlags : 0));
  if (gif.localTable) out += palette;
  std::vector<std::uint8_t> stored;
  const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < (gif.interlaced ? 4 : 1); ++pass)
    for (int y = gif.interlaced ? starts[pass] : 0; y < gif.height; y += gif.interlaced ? steps[pass] : 1)
      stored.insert(stored.end(), gif.indices.begin() + y * gif.width, gif.indices.begin() + (y + 1) * gif.width);
  const int minCodeSize = std::max(2, gif.colorBits);
  out += static_cast<char>(minCodeSize);
  const std::vector<std::uint8_t> codes = artgen::LzwEncode(stored, minCodeSize);
  const std::string data(codes.begin(), codes.end());
  for (std::size_t at = 0; at < data.size(); at += gif.blockSize) {
    const std::string block = data.substr(at, gif.blockSize);
    out += static_cast<char>(block.size()) + block;
  }
  return out + std::string("\0;", 2);
}

// A lossless JPEG 2000 file (a raw codestream or the JP2 format) of 1 or 3 components of
// `precision` bits, signed or not; samples component by component. The image area starts at
// (origin, origin) of the reference grid; the first component holds every `step`th column only.
inline bool WriteJ2k(const std::string& path, int width, int height, int components, int precision, bool isSigned,
                     const std::vector<int>& samples, bool jp2 = false, int origin = 0, int step = 1) {
  std::vector<opj_image_cmptparm_t> parts(static_cast<std::size_t>(components));
  for (auto& part : parts) {
    part = {};
    part.dx = static_cast<OPJ_UINT32>(&part == &parts[0] ? step : 1), part.dy = 1;
    part.x0 = part.y0 = static_cast<OPJ_UINT32>(origin);
    part.w = static_cast<OPJ_UINT32>((width + part.dx - 1) / part.dx), part.h = static_cast<OPJ_UINT32>(height);
    part.prec = static_cast<OPJ_UINT32>(precision), part.sgnd = isSigned;
  }
  opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(components), parts.data(),
                                        components == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB);
  image->x0 = image->y0 = static_cast<OPJ_UINT32>(origin);
  image->x1 = static_cast<OPJ_UINT32>(origin + width), image->y1 = static_cast<OPJ_UINT32>(origin + height);
  for (std::size_t i = 0; i < samples.size(); ++i)
    image->comps[i / (samples.size() / parts.size())].data[i % (samples.size() / parts.size())] = samples[i];
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.numresolution = 1;
  parameters.image_offset_x0 = parameters.image_offset_y0 = origin;
  parameters.tcp_numlayers = 1, parameters.tcp_rates[0] = 0, parameters.cp_disto_alloc = 1;  // lossless
  opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
  opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
  const bool written = opj_setup_encoder(codec, &parameters, image) && opj_start_compress(codec, image, stream) &&
                       opj_encode(codec, stream) && opj_end_compress(codec, stream);
  opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  opj_image_destroy(image);
  return written;
}

}  // namespace ImageTest
