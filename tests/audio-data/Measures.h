#pragma once

// Level measurements on one channel of decoded samples.

#include <algorithm>
#include <cmath>
#include <vector>

namespace AudioTest {

inline double ToDb(double level) { return 20.0 * std::log10(std::max(level, 1e-9)); }

inline double Peak(const std::vector<float>& x) {
  double peak = 0;
  for (float s : x) peak = std::max(peak, static_cast<double>(std::fabs(s)));
  return peak;
}

inline double Mean(const std::vector<float>& x) {
  double sum = 0;
  for (float s : x) sum += s;
  return x.empty() ? 0 : sum / static_cast<double>(x.size());
}

inline double Rms(const std::vector<float>& x, std::size_t first, std::size_t count) {
  double sum = 0;
  const std::size_t last = std::min(x.size(), first + count);
  for (std::size_t i = first; i < last; ++i) sum += static_cast<double>(x[i]) * x[i];
  return last > first ? std::sqrt(sum / static_cast<double>(last - first)) : 0;
}

// The loudest stretch of `window` samples (stepping by a quarter window): how
// loud the sound is while it sounds, however short it is.
inline double LoudestWindowRms(const std::vector<float>& x, std::size_t window) {
  double loudest = 0;
  const std::size_t step = std::max<std::size_t>(1, window / 4);
  for (std::size_t first = 0; first < x.size(); first += step) loudest = std::max(loudest, Rms(x, first, window));
  return loudest;
}

// The largest absolute value among the first or the last `count` samples.
inline double EdgePeak(const std::vector<float>& x, std::size_t count, bool atEnd) {
  double peak = 0;
  const std::size_t n = std::min(count, x.size());
  for (std::size_t i = 0; i < n; ++i) {
    const float s = atEnd ? x[x.size() - 1 - i] : x[i];
    peak = std::max(peak, static_cast<double>(std::fabs(s)));
  }
  return peak;
}

// The given fraction (0..1) of the sample-to-sample steps is at most this large.
inline double StepPercentile(const std::vector<float>& x, double fraction) {
  std::vector<float> steps;
  steps.reserve(x.size());
  for (std::size_t i = 1; i < x.size(); ++i) steps.push_back(std::fabs(x[i] - x[i - 1]));
  if (steps.empty()) return 0;
  const auto nth = steps.begin() + static_cast<std::ptrdiff_t>(fraction * static_cast<double>(steps.size() - 1));
  std::nth_element(steps.begin(), nth, steps.end());
  return *nth;
}

}  // namespace AudioTest
