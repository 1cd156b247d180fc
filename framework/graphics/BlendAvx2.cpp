// The blends eight pixels at a time with AVX2, on processors that have it.

#include "framework/graphics/Blend.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace Zing::Blend {
namespace {

#define ZING_SIMD inline __attribute__((target("avx2")))

using V = __m256i;
using VF = __m256;
constexpr int kLanes = 8;

ZING_SIMD V Load(const std::uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
ZING_SIMD void Store(std::uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
// The first n (< 8) pixels, the rest 0; and storing only the first n. The
// masked moves never touch memory in the lanes left out.
ZING_SIMD V LaneMask(int n) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}
ZING_SIMD V LoadPartial(const std::uint32_t* p, int n) {
  return _mm256_maskload_epi32(reinterpret_cast<const int*>(p), LaneMask(n));
}
ZING_SIMD void StorePartial(std::uint32_t* p, V v, int n) {
  _mm256_maskstore_epi32(reinterpret_cast<int*>(p), LaneMask(n), v);
}
// Aligned loads from tables of any element type.
template <typename T>
ZING_SIMD V LoadAligned(const T* p) {
  return _mm256_load_si256(reinterpret_cast<const V*>(p));
}
ZING_SIMD V Zero() { return _mm256_setzero_si256(); }
ZING_SIMD V Set1_32(int x) { return _mm256_set1_epi32(x); }
ZING_SIMD V Set1_16(int x) { return _mm256_set1_epi16(static_cast<short>(x)); }
ZING_SIMD V Set16x4(int c0, int c1, int c2, int c3) {
  return _mm256_setr_epi16(
      static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c2), static_cast<short>(c3),
      static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c2), static_cast<short>(c3),
      static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c2), static_cast<short>(c3),
      static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c2), static_cast<short>(c3));
}
ZING_SIMD V And(V a, V b) { return _mm256_and_si256(a, b); }
ZING_SIMD V Or(V a, V b) { return _mm256_or_si256(a, b); }
ZING_SIMD V AndNot(V mask, V b) { return _mm256_andnot_si256(mask, b); }
ZING_SIMD V CmpEq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
ZING_SIMD bool All(V mask) { return _mm256_movemask_epi8(mask) == -1; }
// Whether every pixel's alpha is 255 (one test of the alpha bits).
ZING_SIMD bool AlphaAllSet(V v) { return _mm256_testc_si256(v, _mm256_set1_epi32(static_cast<int>(0xFF000000u))); }
ZING_SIMD V UnpackLo8(V v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
ZING_SIMD V UnpackHi8(V v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }
// Bytes widened into the high half of 16-bit lanes (each byte times 256).
ZING_SIMD V UnpackLo8Up(V v) { return _mm256_unpacklo_epi8(_mm256_setzero_si256(), v); }
ZING_SIMD V UnpackHi8Up(V v) { return _mm256_unpackhi_epi8(_mm256_setzero_si256(), v); }
ZING_SIMD V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
ZING_SIMD V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
ZING_SIMD V Add8(V a, V b) { return _mm256_add_epi8(a, b); }
ZING_SIMD V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
ZING_SIMD V Pack16(V lo, V hi) { return _mm256_packus_epi16(lo, hi); }
ZING_SIMD V Packs32(V a, V b) { return _mm256_packs_epi32(a, b); }
ZING_SIMD V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
ZING_SIMD V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
ZING_SIMD V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
ZING_SIMD V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
ZING_SIMD V Mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
ZING_SIMD V Mulhi16u(V a, V b) { return _mm256_mulhi_epu16(a, b); }
ZING_SIMD V Srli16(V a, int n) { return _mm256_srli_epi16(a, n); }
ZING_SIMD V Srli32(V a, int n) { return _mm256_srli_epi32(a, n); }
ZING_SIMD V Slli32(V a, int n) { return _mm256_slli_epi32(a, n); }
ZING_SIMD V Adds8u(V a, V b) { return _mm256_adds_epu8(a, b); }
ZING_SIMD V ShuffleAlpha16(V v) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF); }
ZING_SIMD VF ToFloat(V v) { return _mm256_cvtepi32_ps(v); }
ZING_SIMD VF Div(VF a, VF b) { return _mm256_div_ps(a, b); }
ZING_SIMD V Truncate(VF v) { return _mm256_cvttps_epi32(v); }

}  // namespace

#include "framework/graphics/BlendSimdBody.inc"

const Kernels* Avx2Kernels() {
  static const Kernels kernels{"avx2", FillRow, OpaqueRow, TintRow, AddRow, PresetGlyph};
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? &kernels : nullptr;
}

}  // namespace Zing::Blend

#else

namespace Zing::Blend {
const Kernels* Avx2Kernels() { return nullptr; }
}  // namespace Zing::Blend

#endif
