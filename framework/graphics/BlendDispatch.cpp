#include <atomic>

#include "framework/graphics/Blend.h"

namespace Zing::Blend {

namespace {

const Kernels& BestKernels() {
  static const Kernels* const best = [] {
    if (const Kernels* avx2 = Avx2Kernels()) return avx2;
    if (const Kernels* sse2 = Sse2Kernels()) return sse2;
    return &ScalarKernels();
  }();
  return *best;
}

std::atomic<const Kernels*> chosen{nullptr};

}  // namespace

const Kernels& ActiveKernels() {
  const Kernels* kernels = chosen.load(std::memory_order_relaxed);
  return kernels ? *kernels : BestKernels();
}

void SetActiveKernels(const Kernels* kernels) { chosen.store(kernels, std::memory_order_relaxed); }

}  // namespace Zing::Blend
