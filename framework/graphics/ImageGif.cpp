// The first picture of a GIF file, decoded here with its LZW compression.
// Extensions other than the graphic control (transparency) are skipped, so an
// animation yields its first frame at the frame's own size. Fixed tables of
// 4096 codes and a 4097-entry stack; a damaged stream ends the decoding and
// leaves the pixels not reached transparent. Out-of-range codes, a code that
// would loop the tables, a picture without colours or of size 0 are refused.

#include <array>

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/ImageLibFiles.h"

namespace Zing::ImageLib {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;
constexpr int kNoCode = -1;
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImageDescriptor = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::uint8_t kHasColorTable = 0x80;
constexpr std::uint8_t kInterlaced = 0x40;

class ByteReader {
 public:
  ByteReader(const std::uint8_t* bytes, std::size_t count) : data(bytes), size(count) {}
  int Byte() { return position < size ? data[position++] : -1; }
  int Word() {
    const int low = Byte();
    const int high = Byte();
    return low < 0 || high < 0 ? -1 : low | (high << 8);
  }
  bool Skip(std::size_t count) {
    if (size - position < count) return false;
    position += count;
    return true;
  }
  const std::uint8_t* Here() const { return data + position; }

 private:
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position = 0;
};

using Palette = std::array<std::uint32_t, 256>;

bool ReadColorTable(ByteReader& in, int flags, Palette& palette) {
  const int entries = 1 << ((flags & 7) + 1);
  for (int i = 0; i < entries; ++i) {
    const int r = in.Byte();
    const int g = in.Byte();
    const int b = in.Byte();
    if (b < 0) return false;
    palette[static_cast<std::size_t>(i)] = 0xFF000000u | (r << 16) | (g << 8) | b;
  }
  return true;
}

// An extension block: its sub-blocks up to the empty one. Only the graphic
// control block matters, for its transparent index.
bool ReadExtension(ByteReader& in, int& transparent) {
  const int label = in.Byte();
  bool first = true;
  for (;;) {
    const int length = in.Byte();
    if (length < 0) return false;
    if (length == 0) return true;
    const std::uint8_t* block = in.Here();
    if (!in.Skip(static_cast<std::size_t>(length))) return false;
    if (label == kGraphicControl && first && length >= 4 && (block[0] & 1)) transparent = block[3];
    first = false;
  }
}

// Codes least-significant bit first, taken from the image's data sub-blocks.
class CodeReader {
 public:
  explicit CodeReader(ByteReader& input) : in(input) {}
  int Next(int codeSize) {
    while (bitCount < codeSize) {
      if (blockLeft == 0) {
        const int length = in.Byte();
        if (length <= 0) return kNoCode;
        blockLeft = length;
      }
      const int byte = in.Byte();
      if (byte < 0) return kNoCode;
      --blockLeft;
      accumulator |= static_cast<std::uint32_t>(byte) << bitCount;
      bitCount += 8;
    }
    const int code = static_cast<int>(accumulator & ((1u << codeSize) - 1));
    accumulator >>= codeSize;
    bitCount -= codeSize;
    return code;
  }

 private:
  ByteReader& in;
  std::uint32_t accumulator = 0;
  int bitCount = 0;
  int blockLeft = 0;
};

class LzwDecoder {
 public:
  LzwDecoder(ByteReader& input, int minCodeSize) : codes(input), minSize(minCodeSize), clear(1 << minCodeSize) {
    for (int i = 0; i < clear; ++i) {
      prefix[static_cast<std::size_t>(i)] = 0;
      suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    Reset();
  }

  // The next palette index, or kNoCode once the data have ended.
  int NextIndex() {
    while (top == 0)
      if (!DecodeCode()) return kNoCode;
    return stack[static_cast<std::size_t>(--top)];
  }

 private:
  void Reset() {
    codeSize = minSize + 1;
    codeMask = (1 << codeSize) - 1;
    nextFree = clear + 2;
    previous = kNoCode;
  }
  bool Push(int value) {
    if (top >= static_cast<int>(stack.size())) return false;
    stack[static_cast<std::size_t>(top++)] = static_cast<std::uint8_t>(value);
    return true;
  }

  bool DecodeCode() {
    int code = codes.Next(codeSize);
    if (code == kNoCode || code > nextFree || code == clear + 1) return false;
    if (code == clear) {
      Reset();
      return true;
    }
    if (previous == kNoCode) {
      if (code >= clear) return false;  // nothing in the table to refer to yet
      previous = first = code;
      return Push(suffix[static_cast<std::size_t>(code)]);
    }
    const int incoming = code;
    if (code >= nextFree) {
      if (!Push(first)) return false;
      code = previous;
    }
    while (code >= clear) {
      if (!Push(suffix[static_cast<std::size_t>(code)])) return false;  // a looping table
      code = prefix[static_cast<std::size_t>(code)];
    }
    first = suffix[static_cast<std::size_t>(code)];
    if (nextFree >= kMaxCodes || !Push(first)) return false;
    prefix[static_cast<std::size_t>(nextFree)] = static_cast<std::uint16_t>(previous);
    suffix[static_cast<std::size_t>(nextFree)] = static_cast<std::uint8_t>(first);
    ++nextFree;
    if ((nextFree & codeMask) == 0 && nextFree < kMaxCodes) {
      ++codeSize;
      codeMask += nextFree;
    }
    previous = incoming;
    return true;
  }

  CodeReader codes;
  int minSize;
  int clear;
  int codeSize = 0;
  int codeMask = 0;
  int nextFree = 0;
  int previous = kNoCode;
  int first = 0;
  int top = 0;
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> suffix{};
  std::array<std::uint8_t, kMaxCodes + 1> stack{};
};

// Rows in storage order: in order, or in the four interlace passes.
class RowOrder {
 public:
  RowOrder(int rows, bool interlace) : height(rows), interlaced(interlace) {}
  int Next() {
    const int row = current;
    if (!interlaced) {
      ++current;
    } else {
      current += kStep[pass];
      while (current >= height && pass < 3) current = kStart[++pass];
    }
    return row;
  }

 private:
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  int height;
  bool interlaced;
  int pass = 0;
  int current = 0;
};

ImagePtr DecodeFrame(ByteReader& in, const Palette& globalPalette, bool hasGlobal, int transparent) {
  in.Skip(4);  // left, top: the frame's place on the logical screen is not used
  const int width = in.Word();
  const int height = in.Word();
  const int flags = in.Byte();
  if (width <= 0 || height <= 0 || flags < 0) return nullptr;
  Palette palette = globalPalette;
  if (flags & kHasColorTable) {
    palette.fill(0);
    if (!ReadColorTable(in, flags, palette)) return nullptr;
  } else if (!hasGlobal) {
    return nullptr;
  }
  const int minCodeSize = in.Byte();
  if (minCodeSize < 1 || minCodeSize >= kMaxCodeBits) return nullptr;
  auto image = std::make_unique<Image>();
  // Cleared: the pixels a damaged stream never reaches stay transparent black.
  if (!image->Allocate(width, height, true)) return nullptr;
  std::uint32_t* bits = image->GetBits();

  auto lzw = std::make_unique<LzwDecoder>(in, minCodeSize);
  RowOrder rows(height, (flags & kInterlaced) != 0);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = bits + static_cast<std::size_t>(rows.Next()) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      const int index = lzw->NextIndex();
      if (index == kNoCode) return image;
      row[x] = index == transparent ? 0u : palette[static_cast<std::size_t>(index)];
    }
  }
  return image;
}

}  // namespace

ImagePtr DecodeGIF(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  constexpr std::size_t kSignature = 6;
  if (size < kSignature || (std::string(data, data + 5) != "GIF87" && std::string(data, data + 5) != "GIF89"))
    return nullptr;
  in.Skip(kSignature);
  in.Skip(4);  // logical screen size: not used
  const int flags = in.Byte();
  in.Skip(2);  // background index, aspect
  Palette palette{};
  const bool hasGlobal = flags >= 0 && (flags & kHasColorTable);
  if (hasGlobal && !ReadColorTable(in, flags, palette)) return nullptr;

  int transparent = kNoCode;
  for (;;) {
    const int introducer = in.Byte();
    if (introducer < 0 || introducer == kTrailer) return nullptr;
    if (introducer == kExtension) {
      if (!ReadExtension(in, transparent)) return nullptr;
    } else if (introducer == kImageDescriptor) {
      return DecodeFrame(in, palette, hasGlobal, transparent);
    }
  }
}

ImagePtr GetGIFImage(const std::string& fileName) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) return nullptr;
  return DecodeGIF(bytes.data(), bytes.size());
}

}  // namespace Zing::ImageLib
