#pragma once

// Small picture files made by the tests themselves, through libpng and
// libjpeg directly (so that the loaders are checked against the libraries,
// not against our own writers) or byte by byte for TGA and GIF.

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace ImageTest {

struct PngSpec {
  int width = 0;
  int height = 0;
  int colorType = 0;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
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

// `samples` holds 1 (grey) or 3 (RGB) bytes per pixel.
inline bool WriteJpeg(const std::string& path, int width, int height, int components, bool progressive,
                      const std::vector<std::uint8_t>& samples) {
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
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
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

// A GIF of 4-entry palette indices (code size 2, literal codes only), with an
// optional transparent index and interlacing, its data in sub-blocks of `blockSize`.
inline std::string MakeGif(int width, int height, const std::vector<std::uint8_t>& indices, int transparent = -1,
                           bool interlaced = false, std::size_t blockSize = 255) {
  std::string out = "GIF89a";
  PutWord(out, width);
  PutWord(out, height);
  out += std::string("\x81\0\0", 3);  // global table of 4 entries
  const std::uint8_t palette[12] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  out.append(reinterpret_cast<const char*>(palette), sizeof palette);
  if (transparent >= 0) {
    out += std::string("\x21\xF9\x04\x01\0\0", 6) + static_cast<char>(transparent) + '\0';
  }
  out += ',';
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, width);
  PutWord(out, height);
  out += static_cast<char>(interlaced ? 0x40 : 0);
  out += '\x02';  // minimum code size
  // Literal codes of 3 bits, a clear code before every pair so that the code
  // size never grows.
  std::vector<int> codes;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) codes.push_back(4);
    codes.push_back(indices[i]);
  }
  codes.push_back(5);
  std::string data;
  std::uint32_t accumulator = 0;
  int bits = 0;
  for (int code : codes) {
    accumulator |= static_cast<std::uint32_t>(code) << bits;
    bits += 3;
    while (bits >= 8) {
      data += static_cast<char>(accumulator & 0xFF);
      accumulator >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) data += static_cast<char>(accumulator & 0xFF);
  for (std::size_t at = 0; at < data.size(); at += blockSize) {
    const std::string block = data.substr(at, blockSize);
    out += static_cast<char>(block.size());
    out += block;
  }
  return out + std::string("\0;", 2);
}

}  // namespace ImageTest
