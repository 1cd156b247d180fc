// The GIF encoder: what it writes decodes, with the game's LZW decoding rules,
// back to the same colour indices; the palette keeps at most 256 colours.
#include <gtest/gtest.h>

#include <random>

#include "tools/artgen/ImageFiles.h"

namespace ArtTest {
namespace {

// LZW decoding as the game's GIF loader does it, over one run of code bytes.
std::vector<uint8_t> Decode(const std::vector<uint8_t>& data, int m, size_t pixels) {
  const int clear = 1 << m, end = clear + 1;
  std::vector<uint16_t> prefix(4096);
  std::vector<uint8_t> suffix(4096), stack;
  for (int i = 0; i < clear; ++i) suffix[size_t(i)] = uint8_t(i);
  int codeSize = m + 1, mask = (1 << codeSize) - 1, next = clear + 2, previous = -1, first = 0;
  uint32_t acc = 0;
  int bits = 0;
  size_t pos = 0;
  std::vector<uint8_t> out;
  while (out.size() < pixels) {
    while (stack.empty()) {
      while (bits < codeSize) {
        if (pos >= data.size()) return out;
        acc |= uint32_t(data[pos++]) << bits;
        bits += 8;
      }
      int code = int(acc & uint32_t(mask));
      acc >>= codeSize;
      bits -= codeSize;
      if (code > next || code == end) return out;
      if (code == clear) {
        codeSize = m + 1;
        mask = (1 << codeSize) - 1;
        next = clear + 2;
        previous = -1;
        continue;
      }
      if (previous < 0) {
        stack.push_back(suffix[size_t(code)]);
        previous = first = code;
        continue;
      }
      const int incoming = code;
      if (code >= next) {
        stack.push_back(uint8_t(first));
        code = previous;
      }
      while (code >= clear) {
        stack.push_back(suffix[size_t(code)]);
        code = prefix[size_t(code)];
      }
      first = suffix[size_t(code)];
      if (next >= 4096) return out;
      stack.push_back(uint8_t(first));
      prefix[size_t(next)] = uint16_t(previous);
      suffix[size_t(next)] = uint8_t(first);
      ++next;
      if ((next & mask) == 0 && next < 4096) {
        ++codeSize;
        mask += next;
      }
      previous = incoming;
    }
    out.push_back(stack.back());
    stack.pop_back();
  }
  return out;
}

TEST(Gif, LzwRoundTripsShortAndLongRuns) {
  std::vector<uint8_t> flat(5000, 3);
  EXPECT_EQ(Decode(artgen::LzwEncode(flat, 2), 2, flat.size()), flat);
  std::vector<uint8_t> one{1};
  EXPECT_EQ(Decode(artgen::LzwEncode(one, 2), 2, 1), one);
}

TEST(Gif, LzwRoundTripsNoiseThatFillsTheTable) {
  std::mt19937 rng(7);
  for (int m : {2, 5, 8}) {
    std::vector<uint8_t> noise(60000);
    for (auto& v : noise) v = uint8_t(rng() % (1u << m));
    EXPECT_EQ(Decode(artgen::LzwEncode(noise, m), m, noise.size()), noise) << "code size " << m;
  }
}

TEST(Gif, PaletteKeepsAtMost256Colours) {
  std::vector<uint32_t> pixels;
  for (uint32_t i = 0; i < 70000; ++i) pixels.push_back(0xFF000000u | (i * 2654435761u & 0xFFFFFF));
  EXPECT_LE(artgen::MedianCutPalette(pixels, 256).size(), 256u);
  const std::vector<uint32_t> few = {0xFF102030, 0xFF102030, 0xFFFFFFFF};
  EXPECT_EQ(artgen::MedianCutPalette(few, 256), (std::vector<uint32_t>{0x102030, 0xFFFFFF}));
}

}  // namespace
}  // namespace ArtTest
