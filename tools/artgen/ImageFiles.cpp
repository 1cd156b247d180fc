#include "tools/artgen/ImageFiles.h"

#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

namespace artgen {

namespace {

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void Put16(std::vector<uint8_t>& out, int v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t((v >> 8) & 0xFF));
}

}  // namespace

void WritePng(const std::string& path, const Canvas& canvas) {
  cairo_surface_flush(canvas.Surface());
  if (cairo_surface_write_to_png(canvas.Surface(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot write " + path);
  }
}

void WriteJpeg(const std::string& path, const Canvas& canvas, int quality, Colour bleed) {
  const std::vector<uint32_t> px = canvas.Pixels();
  const int w = canvas.Width(), h = canvas.Height();
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  const double br = bleed.r * 255, bg = bleed.g * 255, bb = bleed.b * 255;
  // The alpha lives in a separate image and the game blends with straight
  // alpha, so every visible pixel keeps its own colour; only the fully
  // transparent ones take the bleed colour.
  for (size_t i = 0; i < px.size(); ++i) {
    const bool clear = (px[i] >> 24) == 0;
    rgb[i * 3 + 0] = clear ? uint8_t(br + 0.5) : uint8_t((px[i] >> 16) & 0xFF);
    rgb[i * 3 + 1] = clear ? uint8_t(bg + 0.5) : uint8_t((px[i] >> 8) & 0xFF);
    rgb[i * 3 + 2] = clear ? uint8_t(bb + 0.5) : uint8_t(px[i] & 0xFF);
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path);
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(w);
  info.image_height = JDIMENSION(h);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &rgb[size_t(info.next_scanline) * size_t(w) * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

void WriteAlphaPng(const std::string& path, const Canvas& canvas) {
  const std::vector<uint32_t> px = canvas.Pixels();
  Canvas grey(canvas.Width(), canvas.Height());
  cairo_surface_flush(grey.Surface());
  unsigned char* data = cairo_image_surface_get_data(grey.Surface());
  const int stride = cairo_image_surface_get_stride(grey.Surface());
  for (int y = 0; y < canvas.Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < canvas.Width(); ++x) {
      const uint32_t a = px[size_t(y) * size_t(canvas.Width()) + size_t(x)] >> 24;
      row[x] = 0xFF000000u | (a << 16) | (a << 8) | a;
    }
  }
  cairo_surface_mark_dirty(grey.Surface());
  WritePng(path, grey);
}

void WriteTga(const std::string& path, const Canvas& canvas) {
  const std::vector<uint32_t> px = canvas.Pixels();
  std::vector<uint8_t> out;
  out.reserve(18 + px.size() * 4);
  out.push_back(0);  // no image id
  out.push_back(0);  // no colour map
  out.push_back(2);  // uncompressed true colour
  for (int i = 0; i < 5; ++i) out.push_back(0);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, canvas.Width());
  Put16(out, canvas.Height());
  out.push_back(32);
  out.push_back(0x28);  // top-left origin, 8 alpha bits
  for (uint32_t p : px) {
    out.push_back(uint8_t(p & 0xFF));
    out.push_back(uint8_t((p >> 8) & 0xFF));
    out.push_back(uint8_t((p >> 16) & 0xFF));
    out.push_back(uint8_t(p >> 24));
  }
  WriteAll(path, out);
}

namespace {

int Channel(uint32_t p, int c) { return int((p >> (16 - 8 * c)) & 0xFF); }

// Splits boxes of colours along their widest channel until there are enough.
void SplitBoxes(std::vector<std::vector<uint32_t>>& boxes, size_t maxColours) {
  while (boxes.size() < maxColours) {
    size_t best = boxes.size();
    int bestRange = 0, bestChannel = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].size() < 2) continue;
      for (int c = 0; c < 3; ++c) {
        int lo = 255, hi = 0;
        for (uint32_t p : boxes[i]) {
          lo = std::min(lo, Channel(p, c));
          hi = std::max(hi, Channel(p, c));
        }
        if (hi - lo > bestRange) {
          bestRange = hi - lo;
          best = i;
          bestChannel = c;
        }
      }
    }
    if (best == boxes.size()) return;
    auto& box = boxes[best];
    std::sort(box.begin(), box.end(), [&](uint32_t a, uint32_t b) {
      return Channel(a, bestChannel) != Channel(b, bestChannel) ? Channel(a, bestChannel) < Channel(b, bestChannel)
                                                                : a < b;
    });
    std::vector<uint32_t> upper(box.begin() + std::ptrdiff_t(box.size() / 2), box.end());
    box.resize(box.size() / 2);
    boxes.push_back(std::move(upper));
  }
}

size_t Nearest(const std::vector<uint32_t>& palette, uint32_t p) {
  size_t best = 0;
  int bestDist = 1 << 30;
  for (size_t i = 0; i < palette.size(); ++i) {
    int d = 0;
    for (int c = 0; c < 3; ++c)
      d += (Channel(p, c) - Channel(palette[i], c)) * (Channel(p, c) - Channel(palette[i], c));
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

}  // namespace

std::vector<uint32_t> MedianCutPalette(const std::vector<uint32_t>& pixels, size_t maxColours) {
  std::vector<uint32_t> colours;
  for (uint32_t p : pixels) colours.push_back(p & 0xFFFFFF);
  std::sort(colours.begin(), colours.end());
  colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
  if (colours.size() <= maxColours) return colours;
  std::vector<std::vector<uint32_t>> boxes{colours};
  SplitBoxes(boxes, maxColours);
  std::vector<uint32_t> palette;
  for (const auto& box : boxes) {
    long sum[3] = {0, 0, 0};
    for (uint32_t p : box) {
      for (int c = 0; c < 3; ++c) sum[c] += Channel(p, c);
    }
    const long n = long(box.size());
    palette.push_back(uint32_t(((sum[0] + n / 2) / n) << 16 | ((sum[1] + n / 2) / n) << 8 | ((sum[2] + n / 2) / n)));
  }
  return palette;
}

std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& indices, int minCodeSize) {
  const int clear = 1 << minCodeSize, end = clear + 1;
  std::vector<uint8_t> out;
  uint32_t acc = 0;
  int bits = 0, codeSize = minCodeSize + 1, next = clear + 2;
  auto emit = [&](int code) {
    acc |= uint32_t(code) << bits;
    bits += codeSize;
    while (bits >= 8) {
      out.push_back(uint8_t(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  };
  // The string table: code of (prefix code, next index), 0 when absent.
  std::vector<uint16_t> table(size_t(4096) << 8, 0);
  auto entry = [&](int prefix, uint8_t k) -> uint16_t& { return table[(size_t(prefix) << 8) | k]; };
  emit(clear);
  int prefix = -1;
  for (uint8_t k : indices) {
    if (prefix < 0) {
      prefix = k;
      continue;
    }
    if (const uint16_t code = entry(prefix, k)) {
      prefix = code;
      continue;
    }
    emit(prefix);
    if (next < 4096) {
      entry(prefix, k) = uint16_t(next++);
      // The decoder widens its codes once the next free code reaches the
      // current limit, one code behind the encoder.
      if (next - 1 == (1 << codeSize) && codeSize < 12) ++codeSize;
    } else {
      emit(clear);
      std::fill(table.begin(), table.end(), uint16_t(0));
      codeSize = minCodeSize + 1;
      next = clear + 2;
    }
    prefix = k;
  }
  if (prefix >= 0) emit(prefix);
  emit(end);
  if (bits > 0) out.push_back(uint8_t(acc & 0xFF));
  return out;
}

void WriteGif(const std::string& path, const Canvas& canvas) {
  const std::vector<uint32_t> px = canvas.Pixels();
  std::vector<uint32_t> palette = MedianCutPalette(px, 256);
  int depth = 1;
  while ((size_t(1) << depth) < palette.size()) ++depth;
  palette.resize(size_t(1) << depth, 0);
  std::map<uint32_t, uint8_t> lookup;
  std::vector<uint8_t> indices;
  indices.reserve(px.size());
  for (uint32_t p : px) {
    const uint32_t rgb = p & 0xFFFFFF;
    auto it = lookup.find(rgb);
    if (it == lookup.end()) it = lookup.emplace(rgb, uint8_t(Nearest(palette, rgb))).first;
    indices.push_back(it->second);
  }
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, canvas.Width());
  Put16(out, canvas.Height());
  out.push_back(uint8_t(0x80 | ((depth - 1) << 4) | (depth - 1)));
  out.push_back(0);
  out.push_back(0);
  for (uint32_t c : palette) {
    out.push_back(uint8_t(c >> 16));
    out.push_back(uint8_t(c >> 8));
    out.push_back(uint8_t(c));
  }
  out.push_back(',');
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, canvas.Width());
  Put16(out, canvas.Height());
  out.push_back(0);
  const int minCodeSize = std::max(2, depth);
  out.push_back(uint8_t(minCodeSize));
  const std::vector<uint8_t> data = LzwEncode(indices, minCodeSize);
  for (size_t i = 0; i < data.size(); i += 255) {
    const size_t n = std::min<size_t>(255, data.size() - i);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + std::ptrdiff_t(i), data.begin() + std::ptrdiff_t(i + n));
  }
  out.push_back(0);
  out.push_back(';');
  WriteAll(path, out);
}

}  // namespace artgen
