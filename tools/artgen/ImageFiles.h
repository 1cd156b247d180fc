// Writers of the image formats the game's loader reads: PNG with alpha, JPEG
// (opaque, its alpha kept in a separate grey image), 32-bit TGA stored top-down,
// and GIF with a palette of at most 256 colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artgen/Canvas.h"

namespace artgen {

void WritePng(const std::string& path, const Canvas& canvas);
// JPEG of the colours only; fully transparent pixels take the bleed colour.
void WriteJpeg(const std::string& path, const Canvas& canvas, int quality, Colour bleed);
// A grey PNG whose every channel holds the canvas's alpha.
void WriteAlphaPng(const std::string& path, const Canvas& canvas);
// Uncompressed 32-bit TGA, top-left origin with 8 attribute bits (descriptor 0x28).
void WriteTga(const std::string& path, const Canvas& canvas);
// GIF89a of an opaque picture, reduced to at most 256 colours by median cut.
void WriteGif(const std::string& path, const Canvas& canvas);

// The GIF encoder's parts, open for the tests: palette reduction and LZW.
std::vector<uint32_t> MedianCutPalette(const std::vector<uint32_t>& pixels, size_t maxColours);
std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& indices, int minCodeSize);

}  // namespace artgen
