#include "tools/soundgen/Effects.h"

#include <cmath>
#include <initializer_list>

namespace SoundGen {

namespace {

// One mode of a struck body: its frequency relative to the fundamental, its
// level and its decay time in seconds.
struct Partial {
  double ratio;
  double gain;
  double decay;
};

// Wood: a short bar whose upper modes die away quickly.
constexpr std::initializer_list<Partial> kWood = {{1.0, 1.0, 0.035}, {2.76, 0.35, 0.012}, {5.40, 0.12, 0.006}};
// Marimba: a tuned bar with a soft fourth harmonic.
constexpr std::initializer_list<Partial> kMarimba = {{1.0, 1.0, 0.10}, {3.93, 0.22, 0.03}, {9.2, 0.04, 0.01}};
// Celesta: a bright bell with nearly harmonic overtones and a long ring.
constexpr std::initializer_list<Partial> kCelesta = {
    {1.0, 1.0, 0.45}, {2.0, 0.28, 0.22}, {3.0, 0.10, 0.12}, {4.07, 0.06, 0.07}};
// Glass: a small, thin ping.
constexpr std::initializer_list<Partial> kGlass = {{1.0, 1.0, 0.07}, {2.32, 0.18, 0.03}};

// Adds a struck note of the given partials to a mono sound.
void AddStrike(Pcm& pcm, double at, double hz, double gain, std::initializer_list<Partial> partials,
               double attack = 0.002) {
  const std::size_t first = SecondsToFrames(at);
  for (std::size_t i = first; i < pcm.Frames(); ++i) {
    const double t = static_cast<double>(i - first) / kSampleRate;
    double value = 0;
    for (const Partial& p : partials)
      value += p.gain * Strike(t, attack, p.decay) * std::sin(kTwoPi * hz * p.ratio * t);
    pcm.samples[i] += static_cast<float>(gain * value);
  }
}

// Adds a sine whose pitch glides exponentially from `fromHz` to `toHz` over
// `glide` seconds, under a strike envelope.
void AddGlide(Pcm& pcm, double at, double fromHz, double toHz, double glide, double gain, double attack, double decay) {
  const std::size_t first = SecondsToFrames(at);
  double phase = 0;
  for (std::size_t i = first; i < pcm.Frames(); ++i) {
    const double t = static_cast<double>(i - first) / kSampleRate;
    const double hz = toHz + (fromHz - toHz) * std::exp(-t / glide);
    pcm.samples[i] += static_cast<float>(gain * Strike(t, attack, decay) * std::sin(phase));
    phase += kTwoPi * hz / kSampleRate;
  }
}

// Adds a burst of soft, low-passed noise: the breath of a knock or a slide.
void AddNoiseBurst(Pcm& pcm, double at, double gain, double cutoffHz, double attack, double decay, std::uint32_t seed) {
  Noise noise(seed);
  LowPass first(cutoffHz);
  LowPass second(cutoffHz);
  for (std::size_t i = SecondsToFrames(at); i < pcm.Frames(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate - at;
    const double filtered = second.Process(first.Process(noise.Next()));
    pcm.samples[i] += static_cast<float>(gain * Strike(t, attack, decay) * filtered);
  }
}

// Lets a ringing sound die away smoothly over its last `fade` seconds, then
// places it in a small room whose echo rings on for `tail` seconds more.
Pcm WithRoom(Pcm dry, double fade, double wet, double size, double tail) {
  ApplyFades(dry, 0, fade);
  return AddRoom(dry, wet, size, tail);
}

// The common finish of every effect: no DC, a room when wanted, fades at both
// ends, and the peak level.
Pcm Finish(Pcm pcm, double peakDb, double fadeIn, double fadeOut) {
  RemoveDc(pcm);
  ApplyFades(pcm, fadeIn, fadeOut);
  NormalisePeak(pcm, peakDb);
  return pcm;
}

// A short lead-in of silence keeps the encoder's pre-echo away from the
// first sample.
constexpr double kLeadIn = 0.002;

}  // namespace

Pcm RenderGuiClick() {
  Pcm pcm = MakeSilence(1, 0.07);
  AddStrike(pcm, kLeadIn, 1500.0, 0.6, {{1.0, 1.0, 0.006}, {1.9, 0.3, 0.003}}, 0.0008);
  AddStrike(pcm, kLeadIn, 620.0, 0.5, {{1.0, 1.0, 0.014}}, 0.001);
  AddNoiseBurst(pcm, kLeadIn, 0.5, 3500.0, 0.0005, 0.002, 11);
  return Finish(pcm, -4.0, kLeadIn + 0.001, 0.02);
}

Pcm RenderCubeClick() {
  Pcm pcm = MakeSilence(1, 0.26);
  // A quick upward blip into a marimba A: the piece lifts as it is picked up.
  AddGlide(pcm, kLeadIn, 520.0, 880.0, 0.012, 0.35, 0.002, 0.03);
  AddStrike(pcm, kLeadIn + 0.008, NoteHz(81), 0.7, kMarimba, 0.003);
  AddStrike(pcm, kLeadIn + 0.008, NoteHz(69), 0.25, kMarimba, 0.003);
  return Finish(pcm, -5.0, kLeadIn + 0.001, 0.06);
}

Pcm RenderCubeTap() {
  Pcm pcm = MakeSilence(1, 0.12);
  AddStrike(pcm, kLeadIn, 470.0, 0.8, kWood, 0.0015);
  AddStrike(pcm, kLeadIn, 1180.0, 0.15, {{1.0, 1.0, 0.010}}, 0.001);
  AddNoiseBurst(pcm, kLeadIn, 0.3, 1800.0, 0.0008, 0.003, 23);
  // A gentle low-pass keeps the tap soft when it repeats many times.
  LowPass soften(3000.0);
  for (float& s : pcm.samples) s = static_cast<float>(soften.Process(s));
  return Finish(pcm, -7.0, kLeadIn + 0.001, 0.03);
}

Pcm RenderCubeBump() {
  Pcm pcm = MakeSilence(1, 1.0);
  // A rising D major arpeggio on a celesta, the last note held.
  AddStrike(pcm, kLeadIn, NoteHz(86), 0.55, kCelesta);
  AddStrike(pcm, kLeadIn + 0.06, NoteHz(90), 0.55, kCelesta);
  AddStrike(pcm, kLeadIn + 0.12, NoteHz(93), 0.7, kCelesta);
  AddStrike(pcm, kLeadIn + 0.12, NoteHz(74), 0.25, kMarimba);
  return Finish(WithRoom(pcm, 0.4, 0.25, 0.5, 0.3), -4.0, kLeadIn + 0.001, 0.3);
}

Pcm RenderCubeDrop() {
  Pcm pcm = MakeSilence(1, 0.28);
  // A low note falling by an octave, dull and short, like a block settling.
  AddGlide(pcm, kLeadIn, 240.0, 110.0, 0.05, 0.8, 0.003, 0.07);
  AddGlide(pcm, kLeadIn, 480.0, 220.0, 0.05, 0.25, 0.003, 0.035);
  AddNoiseBurst(pcm, kLeadIn, 0.25, 900.0, 0.001, 0.01, 37);
  return Finish(pcm, -5.0, kLeadIn + 0.001, 0.08);
}

Pcm RenderVortex() {
  constexpr double kLength = 0.7;
  Pcm pcm = MakeSilence(1, kLength);
  Noise noise(41);
  BandPass whoosh(1500.0, 2.5);
  LowPass soften(2500.0);
  double phase = 0;
  for (std::size_t i = 0; i < pcm.Frames(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    // Pitch falls from 1100 Hz to about 250 Hz while the swirl slows down.
    const double hz = 250.0 + 850.0 * std::exp(-t / 0.22);
    const double swirlHz = 5.0 + 9.0 * std::exp(-t / 0.3);
    const double swirl = 0.6 + 0.4 * std::sin(kTwoPi * swirlHz * t);
    const double tone = std::sin(phase) + 0.35 * std::sin(1.5 * phase) + 0.2 * std::sin(2.0 * phase);
    whoosh.SetCentre(2.0 * hz);
    const double air = soften.Process(whoosh.Process(noise.Next()));
    const double envelope = std::min(1.0, t / 0.04) * std::exp(-t / 0.35);
    pcm.samples[i] = static_cast<float>(envelope * swirl * (0.6 * tone + air));
    phase += kTwoPi * hz / kSampleRate;
  }
  return Finish(WithRoom(pcm, 0.25, 0.2, 0.4, 0.1), -6.0, 0.01, 0.1);
}

Pcm RenderStarSmall() {
  Pcm pcm = MakeSilence(1, 0.28);
  AddStrike(pcm, kLeadIn, NoteHz(105), 0.8, kGlass, 0.001);
  AddStrike(pcm, kLeadIn + 0.045, NoteHz(110), 0.3, kGlass, 0.001);
  return Finish(WithRoom(pcm, 0.1, 0.2, 0.3, 0.05), -12.0, kLeadIn + 0.001, 0.05);
}

Pcm RenderStarBig() {
  Pcm pcm = MakeSilence(1, 0.4);
  AddStrike(pcm, kLeadIn, NoteHz(98), 0.8, {{1.0, 1.0, 0.14}, {2.0, 0.2, 0.06}, {2.76, 0.12, 0.03}}, 0.0015);
  AddStrike(pcm, kLeadIn + 0.03, NoteHz(105), 0.45, kGlass, 0.001);
  AddStrike(pcm, kLeadIn + 0.07, NoteHz(110), 0.2, kGlass, 0.001);
  return Finish(WithRoom(pcm, 0.15, 0.2, 0.4, 0.08), -10.0, kLeadIn + 0.001, 0.06);
}

Pcm RenderShuttersMove() {
  constexpr double kLength = 0.95;
  Pcm pcm = MakeSilence(1, kLength);
  Noise noise(53);
  BandPass slide(600.0, 1.2);
  LowPass soften(1800.0);
  LowPass soften2(2400.0);
  double phase = 0;
  for (std::size_t i = 0; i < pcm.Frames(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double x = t / kLength;
    // Swells in and out like a panel gliding past; the hiss rises a little.
    const double swell = std::pow(std::sin(std::numbers::pi * x), 1.5);
    slide.SetCentre(450.0 + 350.0 * x);
    const double hiss = soften2.Process(soften.Process(slide.Process(noise.Next())));
    // A soft low hum of the runners with a gentle roll.
    const double hum = std::sin(phase) * (0.75 + 0.25 * std::sin(kTwoPi * 16.0 * t));
    phase += kTwoPi * (95.0 + 20.0 * x) / kSampleRate;
    pcm.samples[i] = static_cast<float>(swell * (0.7 * hiss + 0.25 * hum));
  }
  return Finish(pcm, -9.0, 0.02, 0.05);
}

Pcm RenderShuttersBump() {
  Pcm pcm = MakeSilence(1, 0.42);
  // A padded knock: a low body with a little wood above it.
  AddGlide(pcm, kLeadIn, 95.0, 62.0, 0.06, 0.9, 0.003, 0.11);
  AddStrike(pcm, kLeadIn, 165.0, 0.35, {{1.0, 1.0, 0.06}, {2.3, 0.4, 0.025}}, 0.002);
  AddStrike(pcm, kLeadIn, 320.0, 0.15, kWood, 0.002);
  AddNoiseBurst(pcm, kLeadIn, 0.3, 700.0, 0.001, 0.012, 67);
  return Finish(WithRoom(pcm, 0.12, 0.12, 0.3, 0.05), -4.0, kLeadIn + 0.001, 0.05);
}

Pcm RenderShuttersBlur() {
  constexpr double kLength = 1.0;
  Pcm pcm = MakeSilence(1, kLength);
  // A high D major chord, each note a pair of slightly detuned sines whose
  // slow beating makes the chord shimmer; the notes enter one after another.
  constexpr double kNotes[] = {86, 90, 93, 98, 102};
  constexpr double kBeat[] = {3.1, 4.3, 5.2, 6.1, 7.3};
  for (int n = 0; n < 5; ++n) {
    const double hz = NoteHz(kNotes[n]);
    const double start = 0.04 * n;
    for (std::size_t i = SecondsToFrames(start); i < pcm.Frames(); ++i) {
      const double t = static_cast<double>(i) / kSampleRate - start;
      const double pair = std::sin(kTwoPi * hz * t) + std::sin(kTwoPi * (hz + kBeat[n]) * t);
      const double envelope = std::min(1.0, t / 0.12) * std::exp(-t / 0.6);
      pcm.samples[i] += static_cast<float>(0.12 * (1.0 - 0.1 * n) * envelope * pair);
    }
  }
  return Finish(WithRoom(pcm, 0.3, 0.3, 0.6, 0.1), -9.0, 0.01, 0.1);
}

}  // namespace SoundGen
