#pragma once

// An image whose pixels live in main memory: loaded pictures, glyph sheets and
// off-screen buffers. The pixels are 32-bit 0xAARRGGBB words or, once
// palletised, byte indices into a table of at most 256 colours. Faster forms
// (premultiplied native data, run lengths of alpha classes) are derived on
// demand and dropped whenever the pixels change (`BitsChanged`).
//
// Blends onto a memory image follow fixed integer formulas (Blend.h). Which
// formula a blit uses depends on the destination's transparency flags as last
// committed (`CommitBits`) or set by hand (`SetImageMode`): drawing never
// rescans the destination.

#include <cstdint>
#include <vector>

#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDisplay.h"
#include "framework/graphics/PixelVector.h"

namespace Zing {

class MemoryImage : public Image {
 public:
  // The word after the last pixel, to catch writes past the end.
  static constexpr std::uint32_t kGuardWord = 0x4BEEFADE;
  // Larger images are refused (their size becomes 0 x 0).
  static constexpr long long kMaxPixels = 1LL << 28;

  explicit MemoryImage(ImageDisplay* display = nullptr);
  MemoryImage(const MemoryImage& other);
  MemoryImage& operator=(const MemoryImage&) = delete;
  ~MemoryImage() override;

  // The drawing interface.
  void FillRect(const Rect& rect, const Color& color, int drawMode) override;
  void ClearRect(const Rect& rect) override;
  void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
  void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                 const std::uint8_t* coverage, int coverX, int coverY, int coverW, int coverH) override;
  void Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
  void BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
            int drawMode) override;
  void BltRotated(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                  int drawMode, double rot, float rotCenterX, float rotCenterY) override;
  void StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect, const Color& color,
                  int drawMode, bool fastStretch) override;
  void BltMatrix(Image* image, float x, float y, const Matrix3& matrix, const Rect& clipRect, const Color& color,
                 int drawMode, const Rect& srcRect, bool blend) override;
  void BltMirror(Image* image, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
  void StretchBltMirror(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                        const Color& color, int drawMode, bool fastStretch) override;

  // Premultiplied copy in the display's format (`display` may be null):
  // width x height words, or 256 when palletised.
  virtual const std::uint32_t* GetNativeAlphaData(const ImageDisplay* forDisplay);
  // Per pixel, how many pixels from it rightwards in its row share its alpha
  // class (0, 255, or between), at most 255.
  virtual const std::uint8_t* GetRLAlphaData();
  // Likewise for the classes "adds nothing" (alpha 0 or black) and "adds".
  virtual const std::uint8_t* GetRLAdditiveData(const ImageDisplay* forDisplay);
  virtual void PurgeBits();
  virtual void DeleteSWBuffers();
  virtual void Delete3DBuffers();
  virtual void DeleteExtraBuffers();
  virtual void ReInit();
  virtual void BitsChanged();
  virtual void CommitBits();
  virtual void DeleteNativeData();
  virtual void Clear();
  virtual void SetBits(const std::uint32_t* newBits, int newWidth, int newHeight, bool commitBits = true);
  virtual void Create(int newWidth, int newHeight);
  // Takes over `pixels` (newWidth x newHeight words, as a picture loader
  // leaves them) without copying them, as SetBits without committing does.
  void AdoptBits(PixelVector&& pixels, int newWidth, int newHeight);
  // The 32-bit pixels, rebuilt when absent (from the palette, the native
  // data, the back-end's texture copy, or else all 0). Whoever writes into
  // them calls BitsChanged afterwards.
  virtual std::uint32_t* GetBits();
  virtual void SetImageMode(bool hasTransparency, bool hasAlpha);
  virtual void SetVolatile(bool isVolatile);
  // Keeps the pixels as indices into a table of at most 256 colours; false
  // (and nothing changed) when there are more.
  virtual bool Palletize();

  bool HasBits() const { return !bits.empty(); }
  bool IsPalletized() const { return !colorTable.empty(); }
  // The table (256 entries, unused ones 0) and indices of a palletised image.
  const std::uint32_t* GetColorTable() const { return IsPalletized() ? colorTable.data() : nullptr; }
  const std::uint8_t* GetColorIndices() const { return IsPalletized() ? colorIndices.data() : nullptr; }
  int GetNumColors() const { return numColors; }
  bool HasNativeAlphaData() const { return !nativeAlphaData.empty(); }
  bool HasTransparency() const { return hasTrans; }
  bool HasAlpha() const { return hasAlpha; }
  bool IsForcedMode() const { return forcedMode; }
  bool AreBitsChanged() const { return bitsChanged; }
  int GetBitsChangedCount() const { return bitsChangedCount; }
  bool IsVolatile() const { return isVolatile; }
  bool WantsPalette() const { return wantPal; }
  bool WillPurgeBits() const { return purgeBits; }
  // Whether the word after the pixels is still intact.
  bool IsGuardIntact() const { return bits.empty() || bits.back() == kGuardWord; }
  // One pixel as 0xAARRGGBB from whichever form holds it (0 outside).
  std::uint32_t GetPixel(int x, int y);

  ImageDisplay* display = nullptr;  // the back-end that shows this image, if any

 private:
  friend class BlitSource;
  void DropBits() { bits.clear(); }
  void DropPalette();
  void AllocateBits();
  void BuildBitsFromNative(std::uint32_t* out) const;
  std::uint32_t* Row(int y) { return bits.data() + static_cast<std::size_t>(y) * width; }
  void BlitClipped(MemoryImage& src, int x, int y, const Rect& srcRect, const Rect& clip, const Color& color,
                   int drawMode, bool mirror);
  void TransformBlit(MemoryImage& src, const double inverse[6], const Rect& area, const Rect& srcRect,
                     bool clampToSource, bool smooth, const Color& color, int drawMode);
  void StretchBltImpl(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clipRect, const Color& color,
                      int drawMode, bool fastStretch, bool mirror);

  PixelVector bits;  // width x height pixels and the guard word; empty when absent
  std::vector<std::uint32_t> colorTable;
  std::vector<std::uint8_t, PixelAllocator<std::uint8_t>> colorIndices;
  int numColors = 0;
  std::vector<std::uint32_t> nativeAlphaData;
  PixelFormat nativeFormat;
  std::vector<std::uint8_t> rlAlphaData;
  std::vector<std::uint8_t> rlAdditiveData;
  int bitsChangedCount = 0;
  bool bitsChanged = false;
  bool hasTrans = false;
  bool hasAlpha = false;
  bool forcedMode = false;
  bool isVolatile = false;
  bool purgeBits = false;
  bool wantPal = false;
};

}  // namespace Zing
