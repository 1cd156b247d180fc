// Colour-vision helpers: simulation of the three common dichromacies and a
// perceptual colour difference, used to keep the link colours apart for every
// player.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace artgen {

struct Rgb8 {
  uint8_t r, g, b;
};

enum class Vision { Normal, Protanopia, Deuteranopia, Tritanopia };

inline constexpr std::array<Vision, 4> kAllVisions = {Vision::Normal, Vision::Protanopia, Vision::Deuteranopia,
                                                      Vision::Tritanopia};

struct Lab {
  double l, a, b;
};

namespace detail {

inline double ToLinear(double c) {
  c /= 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Full-severity dichromacy matrices on linear RGB (after Machado, Oliveira and
// Fernandes, 2009).
inline constexpr double kProtan[3][3] = {
    {0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}};
inline constexpr double kDeutan[3][3] = {
    {0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}};
inline constexpr double kTritan[3][3] = {
    {1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}};

inline double LabF(double t) { return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0; }

}  // namespace detail

// The colour as a player with the given vision sees it, in CIELAB (D65).
inline Lab SeenAs(Rgb8 c, Vision v) {
  double rgb[3] = {detail::ToLinear(c.r), detail::ToLinear(c.g), detail::ToLinear(c.b)};
  const double(*m)[3] = nullptr;
  if (v == Vision::Protanopia) m = detail::kProtan;
  if (v == Vision::Deuteranopia) m = detail::kDeutan;
  if (v == Vision::Tritanopia) m = detail::kTritan;
  if (m) {
    double out[3];
    for (int i = 0; i < 3; ++i) {
      out[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    }
    for (int i = 0; i < 3; ++i) rgb[i] = out[i];
  }
  const double x = 0.4124564 * rgb[0] + 0.3575761 * rgb[1] + 0.1804375 * rgb[2];
  const double y = 0.2126729 * rgb[0] + 0.7151522 * rgb[1] + 0.0721750 * rgb[2];
  const double z = 0.0193339 * rgb[0] + 0.1191920 * rgb[1] + 0.9503041 * rgb[2];
  const double fx = detail::LabF(x / 0.95047), fy = detail::LabF(y), fz = detail::LabF(z / 1.08883);
  return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

// CIEDE2000 colour difference.
inline double DeltaE2000(Lab p, Lab q) {
  constexpr double kPi = 3.14159265358979323846;
  auto deg = [](double r) { return r * 180.0 / kPi; };
  auto rad = [](double d) { return d * kPi / 180.0; };
  const double c1 = std::hypot(p.a, p.b), c2 = std::hypot(q.a, q.b);
  const double cm = (c1 + c2) / 2.0;
  const double g = 0.5 * (1.0 - std::sqrt(std::pow(cm, 7) / (std::pow(cm, 7) + std::pow(25.0, 7))));
  const double a1 = p.a * (1.0 + g), a2 = q.a * (1.0 + g);
  const double cp1 = std::hypot(a1, p.b), cp2 = std::hypot(a2, q.b);
  auto hue = [&](double b, double a) {
    if (a == 0.0 && b == 0.0) return 0.0;
    double h = deg(std::atan2(b, a));
    return h < 0.0 ? h + 360.0 : h;
  };
  const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
  const double dl = q.l - p.l, dc = cp2 - cp1;
  double dh = 0.0;
  if (cp1 * cp2 != 0.0) {
    dh = h2 - h1;
    if (dh > 180.0) dh -= 360.0;
    if (dh < -180.0) dh += 360.0;
  }
  const double dhh = 2.0 * std::sqrt(cp1 * cp2) * std::sin(rad(dh / 2.0));
  const double lm = (p.l + q.l) / 2.0, cpm = (cp1 + cp2) / 2.0;
  double hm = h1 + h2;
  if (cp1 * cp2 != 0.0) {
    if (std::fabs(h1 - h2) > 180.0) hm += (h1 + h2 < 360.0) ? 360.0 : -360.0;
    hm /= 2.0;
  }
  const double t = 1.0 - 0.17 * std::cos(rad(hm - 30.0)) + 0.24 * std::cos(rad(2.0 * hm)) +
                   0.32 * std::cos(rad(3.0 * hm + 6.0)) - 0.20 * std::cos(rad(4.0 * hm - 63.0));
  const double dtheta = 30.0 * std::exp(-std::pow((hm - 275.0) / 25.0, 2.0));
  const double rc = 2.0 * std::sqrt(std::pow(cpm, 7) / (std::pow(cpm, 7) + std::pow(25.0, 7)));
  const double sl = 1.0 + 0.015 * std::pow(lm - 50.0, 2.0) / std::sqrt(20.0 + std::pow(lm - 50.0, 2.0));
  const double sc = 1.0 + 0.045 * cpm, sh = 1.0 + 0.015 * cpm * t;
  const double rt = -std::sin(rad(2.0 * dtheta)) * rc;
  return std::sqrt(std::pow(dl / sl, 2.0) + std::pow(dc / sc, 2.0) + std::pow(dhh / sh, 2.0) +
                   rt * (dc / sc) * (dhh / sh));
}

// Smallest difference between any two of the colours as seen with the vision.
template <size_t N>
double SmallestDifference(const std::array<Rgb8, N>& colours, Vision v) {
  double best = 1e9;
  for (size_t i = 0; i < N; ++i) {
    for (size_t j = i + 1; j < N; ++j) {
      best = std::min(best, DeltaE2000(SeenAs(colours[i], v), SeenAs(colours[j], v)));
    }
  }
  return best;
}

}  // namespace artgen
