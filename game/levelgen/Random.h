#pragma once

// The generator's own random numbers: SplitMix64, so that the levels come out
// byte for byte the same with every compiler and standard library.

#include <cstdint>
#include <utility>
#include <vector>

namespace Lintwick::LevelGen {

class Random {
 public:
  explicit Random(std::uint64_t seed) : mState(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A number in 0 .. n - 1 (n > 0).
  int Below(int n) { return static_cast<int>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32); }

  // A number in lo .. hi.
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }

  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (std::size_t i = items.size(); i > 1; --i) {
      std::swap(items[i - 1], items[static_cast<std::size_t>(Below(static_cast<int>(i)))]);
    }
  }

 private:
  std::uint64_t mState;
};

}  // namespace Lintwick::LevelGen
