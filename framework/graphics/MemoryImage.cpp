// A memory image's storage: its pixel forms, the caches derived from them and
// the rules that keep them consistent.

#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <array>
#include <bit>

namespace Zing {

namespace {

std::size_t PixelCount(int w, int h) { return static_cast<std::size_t>(w) * static_cast<std::size_t>(h); }

// A channel byte placed in the top bits of its mask, and read back.
std::uint32_t PlaceChannel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  return ((value << 24) >> std::countl_zero(mask)) & mask;
}
std::uint32_t ReadChannel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  return ((pixel & mask) << std::countl_zero(mask)) >> 24;
}

std::uint32_t ToNative(std::uint32_t p, const PixelFormat& format) {
  const std::uint32_t a = p >> 24;
  const auto premultiplied = [&](int shift) { return (((p >> shift) & 0xFF) * (a + 1)) >> 8; };
  return (a << 24) | PlaceChannel(premultiplied(16), format.redMask) |
         PlaceChannel(premultiplied(8), format.greenMask) | PlaceChannel(premultiplied(0), format.blueMask);
}

std::uint32_t FromNative(std::uint32_t n, const PixelFormat& format) {
  const std::uint32_t a = n >> 24;
  const auto straight = [&](std::uint32_t mask) {
    return std::min<std::uint32_t>(255, ReadChannel(n, mask) * 256 / (a + 1));
  };
  return (a << 24) | (straight(format.redMask) << 16) | (straight(format.greenMask) << 8) | straight(format.blueMask);
}

// The run lengths of a row of classes: how many equal classes follow each
// position (itself included), at most 255.
template <typename ClassOf>
void RunLengths(const std::uint32_t* row, int n, std::uint8_t* out, ClassOf classOf) {
  int run = 0;
  int next = -1;
  for (int i = n - 1; i >= 0; --i) {
    const int cls = classOf(row[i]);
    run = (cls == next) ? std::min(run + 1, 255) : 1;
    next = cls;
    out[i] = static_cast<std::uint8_t>(run);
  }
}

// Whether any pixel is transparent (alpha 0) and any is partly so. The scan
// goes in blocks that the compiler can vectorise, and stops once both are
// found.
void ScanAlphaClasses(const std::uint32_t* pixels, std::size_t n, bool& trans, bool& partial) {
  constexpr std::size_t kBlock = 1024;
  for (std::size_t start = 0; start < n && !(trans && partial); start += kBlock) {
    const std::size_t end = std::min(n, start + kBlock);
    std::uint32_t zero = 0, between = 0;
    for (std::size_t i = start; i < end; ++i) {
      const std::uint32_t alpha = pixels[i] >> 24;
      zero |= alpha == 0 ? 1u : 0u;
      between |= alpha - 1 < 254 ? 1u : 0u;
    }
    trans |= zero != 0;
    partial |= between != 0;
  }
}

// The colours met so far while palletising (at most 256) and their indices:
// open addressing in twice as many slots, so that a lookup stays short.
class ColorIndexTable {
 public:
  ColorIndexTable() { slots.fill(kEmpty); }
  int Find(std::uint32_t color) const {
    for (std::size_t at = Home(color);; at = (at + 1) & kMask) {
      if (slots[at] == kEmpty) return -1;
      if (colors[at] == color) return slots[at];
    }
  }
  void Add(std::uint32_t color, int index) {
    std::size_t at = Home(color);
    while (slots[at] != kEmpty) at = (at + 1) & kMask;
    colors[at] = color;
    slots[at] = static_cast<std::int16_t>(index);
  }

 private:
  static constexpr std::size_t kSlots = 512;
  static constexpr std::size_t kMask = kSlots - 1;
  static constexpr std::int16_t kEmpty = -1;
  static std::size_t Home(std::uint32_t color) { return (color * 0x9E3779B1u) >> 23; }
  std::array<std::uint32_t, kSlots> colors{};
  std::array<std::int16_t, kSlots> slots{};
};

int AlphaClass(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  return a == 0 ? 0 : (a == 255 ? 1 : 2);
}
int AdditiveClass(std::uint32_t p) { return ((p >> 24) == 0 || (p & 0x00FFFFFF) == 0) ? 0 : 1; }

}  // namespace

MemoryImage::MemoryImage(ImageDisplay* imageDisplay) : display(imageDisplay) {}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other),
      display(other.display),
      bits(other.bits),
      colorTable(other.colorTable),
      colorIndices(other.colorIndices),
      numColors(other.numColors),
      hasTrans(other.hasTrans),
      hasAlpha(other.hasAlpha),
      forcedMode(other.forcedMode),
      isVolatile(other.isVolatile),
      purgeBits(other.purgeBits),
      wantPal(other.wantPal) {
  if (bits.empty() && colorTable.empty()) {
    // Only a native or texture form: copy the pixels they stand for.
    PixelVector pixels(PixelCount(width, height) + 1);
    MemoryImage& source = const_cast<MemoryImage&>(other);
    std::copy_n(source.GetBits(), pixels.size() - 1, pixels.begin());
    pixels.back() = kGuardWord;
    bits = std::move(pixels);
  }
  bitsChanged = other.bitsChanged;
}

MemoryImage::~MemoryImage() {
  if (display) display->ImageDestroyed(*this);
}

void MemoryImage::DropPalette() {
  colorTable.clear();
  colorIndices.clear();
  numColors = 0;
}

void MemoryImage::AllocateBits() {
  bits.assign(PixelCount(width, height) + 1, 0);
  bits.back() = kGuardWord;
}

void MemoryImage::BuildBitsFromNative(std::uint32_t* out) const {
  const std::size_t n = std::min(nativeAlphaData.size(), PixelCount(width, height));
  for (std::size_t i = 0; i < n; ++i) out[i] = FromNative(nativeAlphaData[i], nativeFormat);
}

std::uint32_t* MemoryImage::GetBits() {
  if (!bits.empty()) return bits.data();
  AllocateBits();
  const std::size_t count = PixelCount(width, height);
  if (IsPalletized()) {
    for (std::size_t i = 0; i < count; ++i) bits[i] = colorTable[colorIndices[i]];
    DropPalette();
    nativeAlphaData.clear();
  } else if (nativeAlphaData.size() == count && count > 0) {
    BuildBitsFromNative(bits.data());
  } else if (display && display->HasTextureCopy(*this)) {
    if (!display->ReadTextureCopy(*this, bits.data())) std::fill_n(bits.begin(), count, 0u);
    bits.back() = kGuardWord;
  }
  return bits.data();
}

std::uint32_t MemoryImage::GetPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const std::size_t i = static_cast<std::size_t>(y) * width + x;
  if (IsPalletized()) return colorTable[colorIndices[i]];
  return GetBits()[i];
}

void MemoryImage::SetBits(const std::uint32_t* newBits, int newWidth, int newHeight, bool commitBits) {
  if (newWidth <= 0 || newHeight <= 0 || !newBits || static_cast<long long>(newWidth) * newHeight > kMaxPixels) {
    newWidth = 0;
    newHeight = 0;
  }
  // A fresh array, so that the new pixels may even be this image's own.
  PixelVector fresh(PixelCount(newWidth, newHeight) + 1, kGuardWord);
  if (newWidth > 0) std::copy_n(newBits, fresh.size() - 1, fresh.begin());
  width = newWidth;
  height = newHeight;
  DropPalette();
  bits = std::move(fresh);
  BitsChanged();
  if (commitBits) CommitBits();
}

void MemoryImage::AdoptBits(PixelVector&& pixels, int newWidth, int newHeight) {
  if (newWidth <= 0 || newHeight <= 0 || static_cast<long long>(newWidth) * newHeight > kMaxPixels ||
      pixels.size() != PixelCount(newWidth, newHeight)) {
    SetBits(nullptr, 0, 0, false);
    return;
  }
  pixels.push_back(kGuardWord);  // the loaders leave room for it
  width = newWidth;
  height = newHeight;
  DropPalette();
  bits = std::move(pixels);
  BitsChanged();
}

void MemoryImage::Create(int newWidth, int newHeight) {
  if (newWidth <= 0 || newHeight <= 0 || static_cast<long long>(newWidth) * newHeight > kMaxPixels) {
    newWidth = 0;
    newHeight = 0;
  }
  DropBits();
  DropPalette();
  nativeAlphaData.clear();
  width = newWidth;
  height = newHeight;
  hasTrans = true;
  hasAlpha = true;
  BitsChanged();
}

void MemoryImage::BitsChanged() {
  ++bitsChangedCount;
  bitsChanged = true;
  nativeAlphaData.clear();
  rlAlphaData.clear();
  rlAdditiveData.clear();
}

void MemoryImage::CommitBits() {
  if (!bitsChanged || forcedMode) return;
  bool trans = false;
  bool partial = false;
  const auto scan = [&](std::uint32_t alpha) {
    trans |= alpha == 0;
    partial |= alpha != 0 && alpha != 255;
  };
  if (IsPalletized()) {
    for (int i = 0; i < numColors; ++i) scan(colorTable[i] >> 24);
  } else if (!bits.empty()) {
    ScanAlphaClasses(bits.data(), bits.size() - 1, trans, partial);
  } else if (!nativeAlphaData.empty()) {
    for (std::uint32_t n : nativeAlphaData) scan(n >> 24);
  } else {
    trans = true;
  }
  hasTrans = trans;
  hasAlpha = partial;
  bitsChanged = false;
}

void MemoryImage::SetImageMode(bool hasTransparency, bool hasAlphaPixels) {
  hasTrans = hasTransparency;
  hasAlpha = hasAlphaPixels;
  forcedMode = true;
}

void MemoryImage::SetVolatile(bool flag) { isVolatile = flag; }

bool MemoryImage::Palletize() {
  if (IsPalletized()) {
    CommitBits();
    return true;
  }
  // The transparency classes are those of the colours found, so an image
  // that palletises has them committed from its table, not from every pixel.
  const std::size_t count = PixelCount(width, height);
  const std::uint32_t* pixels = GetBits();
  std::vector<std::uint32_t> table(256, 0);
  std::vector<std::uint8_t, PixelAllocator<std::uint8_t>> indices(count);  // every entry is written below
  ColorIndexTable known;
  int colors = 0;
  std::uint32_t lastColor = 0;
  std::uint8_t lastIndex = 0;
  bool haveLast = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = pixels[i];
    if (!haveLast || p != lastColor) {
      int index = known.Find(p);
      if (index < 0) {
        if (colors == 256) {
          wantPal = false;
          CommitBits();
          return false;
        }
        index = colors++;
        known.Add(p, index);
        table[static_cast<std::size_t>(index)] = p;
      }
      lastColor = p;
      lastIndex = static_cast<std::uint8_t>(index);
      haveLast = true;
    }
    indices[i] = lastIndex;
  }
  colorTable = std::move(table);
  colorIndices = std::move(indices);
  numColors = colors;
  DropBits();
  nativeAlphaData.clear();
  wantPal = true;
  CommitBits();
  return true;
}

const std::uint32_t* MemoryImage::GetNativeAlphaData(const ImageDisplay* forDisplay) {
  const PixelFormat format = forDisplay ? forDisplay->GetNativeFormat() : PixelFormat();
  if (!nativeAlphaData.empty() && format == nativeFormat) return nativeAlphaData.data();
  std::vector<std::uint32_t> native;
  if (IsPalletized()) {
    native.resize(256);
    for (int i = 0; i < 256; ++i) native[i] = ToNative(colorTable[i], format);
  } else {
    const std::uint32_t* pixels = GetBits();
    native.resize(PixelCount(width, height));
    for (std::size_t i = 0; i < native.size(); ++i) native[i] = ToNative(pixels[i], format);
  }
  nativeAlphaData = std::move(native);
  nativeFormat = format;
  return nativeAlphaData.data();
}

namespace {

// The run lengths of every row of an image, whichever form holds its pixels.
template <typename ClassOf>
std::vector<std::uint8_t> ImageRunLengths(MemoryImage& image, ClassOf classOf) {
  const int w = image.width;
  std::vector<std::uint8_t> out(PixelCount(w, image.height));
  std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < w; ++x) row[x] = image.GetPixel(x, y);
    RunLengths(row.data(), w, out.data() + static_cast<std::size_t>(y) * w, classOf);
  }
  return out;
}

}  // namespace

const std::uint8_t* MemoryImage::GetRLAlphaData() {
  if (rlAlphaData.empty()) rlAlphaData = ImageRunLengths(*this, AlphaClass);
  return rlAlphaData.data();
}

const std::uint8_t* MemoryImage::GetRLAdditiveData(const ImageDisplay*) {
  if (rlAdditiveData.empty()) rlAdditiveData = ImageRunLengths(*this, AdditiveClass);
  return rlAdditiveData.data();
}

void MemoryImage::PurgeBits() {
  purgeBits = true;
  if (display && display->HasTextureCopy(*this)) {
    DropBits();
    DropPalette();
    return;
  }
  if (bits.empty()) return;  // nothing to drop: the palette (or nothing) holds the pixels
  GetNativeAlphaData(display);
  DropBits();
}

void MemoryImage::DeleteSWBuffers() {
  GetBits();
  nativeAlphaData.clear();
  rlAlphaData.clear();
  rlAdditiveData.clear();
}

void MemoryImage::Delete3DBuffers() {
  if (display) display->DropTextureCopy(*this);
}

void MemoryImage::DeleteExtraBuffers() {
  DeleteSWBuffers();
  Delete3DBuffers();
}

void MemoryImage::ReInit() {
  if (wantPal) Palletize();
  if (purgeBits) PurgeBits();
}

void MemoryImage::DeleteNativeData() { nativeAlphaData.clear(); }

void MemoryImage::Clear() {
  std::uint32_t* pixels = GetBits();
  std::fill_n(pixels, PixelCount(width, height), 0u);
  BitsChanged();
}

}  // namespace Zing
