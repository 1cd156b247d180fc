// The blends four pixels at a time with SSE2, which every x86-64 processor has.

#include "framework/graphics/Blend.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace Zing::Blend {
namespace {

#define ZING_SIMD inline __attribute__((target("sse2")))

using V = __m128i;
using VF = __m128;
constexpr int kLanes = 4;

ZING_SIMD V Load(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
ZING_SIMD void Store(std::uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
// The first n (< 4) pixels, the rest 0; and storing only the first n.
ZING_SIMD V LoadPartial(const std::uint32_t* p, int n) {
  alignas(16) std::uint32_t lanes[kLanes] = {};
  for (int i = 0; i < n; ++i) lanes[i] = p[i];
  return _mm_load_si128(reinterpret_cast<const V*>(lanes));
}
ZING_SIMD void StorePartial(std::uint32_t* p, V v, int n) {
  alignas(16) std::uint32_t lanes[kLanes];
  _mm_store_si128(reinterpret_cast<V*>(lanes), v);
  for (int i = 0; i < n; ++i) p[i] = lanes[i];
}
// Aligned loads from tables of any element type.
template <typename T>
ZING_SIMD V LoadAligned(const T* p) {
  return _mm_load_si128(reinterpret_cast<const V*>(p));
}
ZING_SIMD V Zero() { return _mm_setzero_si128(); }
ZING_SIMD V Set1_32(int x) { return _mm_set1_epi32(x); }
ZING_SIMD V Set1_16(int x) { return _mm_set1_epi16(static_cast<short>(x)); }
ZING_SIMD V Set16x4(int c0, int c1, int c2, int c3) {
  return _mm_setr_epi16(static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c2), static_cast<short>(c3),
                        static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c2), static_cast<short>(c3));
}
ZING_SIMD V And(V a, V b) { return _mm_and_si128(a, b); }
ZING_SIMD V Or(V a, V b) { return _mm_or_si128(a, b); }
ZING_SIMD V AndNot(V mask, V b) { return _mm_andnot_si128(mask, b); }
ZING_SIMD V CmpEq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
ZING_SIMD bool All(V mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
// Whether every pixel's alpha is 255.
ZING_SIMD bool AlphaAllSet(V v) {
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_or_si128(v, _mm_set1_epi32(0x00FFFFFF)), _mm_set1_epi32(-1))) == 0xFFFF;
}
ZING_SIMD V UnpackLo8(V v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
ZING_SIMD V UnpackHi8(V v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
// Bytes widened into the high half of 16-bit lanes (each byte times 256).
ZING_SIMD V UnpackLo8Up(V v) { return _mm_unpacklo_epi8(_mm_setzero_si128(), v); }
ZING_SIMD V UnpackHi8Up(V v) { return _mm_unpackhi_epi8(_mm_setzero_si128(), v); }
ZING_SIMD V UnpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
ZING_SIMD V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
ZING_SIMD V Add8(V a, V b) { return _mm_add_epi8(a, b); }
ZING_SIMD V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
ZING_SIMD V Pack16(V lo, V hi) { return _mm_packus_epi16(lo, hi); }
ZING_SIMD V Packs32(V a, V b) { return _mm_packs_epi32(a, b); }
ZING_SIMD V Add16(V a, V b) { return _mm_add_epi16(a, b); }
ZING_SIMD V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
ZING_SIMD V Add32(V a, V b) { return _mm_add_epi32(a, b); }
ZING_SIMD V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
ZING_SIMD V Mullo16(V a, V b) { return _mm_mullo_epi16(a, b); }
ZING_SIMD V Mulhi16u(V a, V b) { return _mm_mulhi_epu16(a, b); }
ZING_SIMD V Srli16(V a, int n) { return _mm_srli_epi16(a, n); }
ZING_SIMD V Srli32(V a, int n) { return _mm_srli_epi32(a, n); }
ZING_SIMD V Slli32(V a, int n) { return _mm_slli_epi32(a, n); }
ZING_SIMD V Adds8u(V a, V b) { return _mm_adds_epu8(a, b); }
ZING_SIMD V ShuffleAlpha16(V v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF); }
ZING_SIMD VF ToFloat(V v) { return _mm_cvtepi32_ps(v); }
ZING_SIMD VF Div(VF a, VF b) { return _mm_div_ps(a, b); }
ZING_SIMD V Truncate(VF v) { return _mm_cvttps_epi32(v); }

}  // namespace

#include "framework/graphics/BlendSimdBody.inc"

const Kernels* Sse2Kernels() {
  static const Kernels kernels{"sse2", FillRow, OpaqueRow, TintRow, AddRow, PresetGlyph};
  return &kernels;
}

}  // namespace Zing::Blend

#else

namespace Zing::Blend {
const Kernels* Sse2Kernels() { return nullptr; }
}  // namespace Zing::Blend

#endif
