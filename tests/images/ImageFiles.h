#pragma once

// Small picture files made by the tests themselves, through libpng and
// libjpeg directly (so that the loaders are checked against the libraries,
// not against our own writers) or byte by byte for TGA and GIF.

#include <cstdint>
#include <string>
#include <vector>

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
bool WritePng(const std::string& path, const PngSpec& layout);

// `samples` holds 1 (grey) or 3 (RGB) bytes per pixel.
bool WriteJpeg(const std::string& path, int width, int height, int components, bool progressive,
               const std::vector<std::uint8_t>& samples);

// A 32-bit TGA with the given descriptor byte; pixels as B, G, R, A.
std::string MakeTga(int width, int height, std::uint8_t descriptor, const std::vector<std::uint32_t>& pixels,
                    std::uint8_t bitsPerPixel = 32);

// A GIF of 4-entry palette indices (code size 2, literal codes only), with an
// optional transparent index and interlacing, its data in sub-blocks of `blockSize`.
std::string MakeGif(int width, int height, const std::vector<std::uint8_t>& indices, int transparent = -1,
                    bool interlaced = false, std::size_t blockSize = 255);

}  // namespace ImageTest
