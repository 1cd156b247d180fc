#include "tools/soundgen/Music.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace SoundGen {

static_assert(kSampleRate * 60 % kMusicBeatsPerMinute == 0, "a beat must be a whole number of frames");

namespace {

// Where a voice sits in the stereo field and how much of it feeds the room.
struct Placement {
  Placement(double pan, double sendGain)
      // Constant-power panning, pan 0 hard left .. 1 hard right.
      : left(std::cos(0.5 * std::numbers::pi * pan)), right(std::sin(0.5 * std::numbers::pi * pan)), send(sendGain) {}
  double left;
  double right;
  double send;
};

// The stereo mix of the loop plus the mono send into the room. Writes wrap
// around the end, so a note that rings past the last bar sounds over the first.
class LoopMix {
 public:
  LoopMix() : left(kMusicFrames, 0.0), right(kMusicFrames, 0.0), send(kMusicFrames, 0.0) {}

  void Add(std::size_t frame, double value, const Placement& place) {
    const std::size_t at = frame % kMusicFrames;
    left[at] += value * place.left;
    right[at] += value * place.right;
    send[at] += value * place.send;
  }

  std::vector<double> left;
  std::vector<double> right;
  std::vector<double> send;
};

std::size_t BeatToFrame(double beat) { return static_cast<std::size_t>(std::llround(beat * kMusicFramesPerBeat)); }
double BeatsToSeconds(double beats) { return beats * 60.0 / kMusicBeatsPerMinute; }

// Sum of the first N harmonics of a phase given by its sine and cosine; the
// harmonics come from repeated rotation instead of further trigonometry.
template <std::size_t N>
double HarmonicSum(double s1, double c1, const std::array<double, N>& levels) {
  double s = s1;
  double c = c1;
  double sum = 0;
  for (std::size_t n = 0; n < N; ++n) {
    sum += levels[n] * s;
    const double nextS = s * c1 + c * s1;
    c = c * c1 - s * s1;
    s = nextS;
  }
  return sum;
}

// An oscillator of changing pitch: a phase accumulator, one sine and cosine
// per sample.
class Harmonics {
 public:
  template <std::size_t N>
  double Next(double hz, const std::array<double, N>& levels) {
    const double angle = kTwoPi * phase;
    const double sum = HarmonicSum(std::sin(angle), std::cos(angle), levels);
    phase += hz / kSampleRate;
    phase -= std::floor(phase);
    return sum;
  }

 private:
  double phase = 0;
};

// An oscillator of fixed pitch: a unit phasor turned by a fixed step each
// sample, set back onto the unit circle now and then against rounding drift.
class SteadyHarmonics {
 public:
  SteadyHarmonics(double hz, double startPhase)
      : s(std::sin(kTwoPi * startPhase)),
        c(std::cos(kTwoPi * startPhase)),
        stepS(std::sin(kTwoPi * hz / kSampleRate)),
        stepC(std::cos(kTwoPi * hz / kSampleRate)) {}

  template <std::size_t N>
  double Next(const std::array<double, N>& levels) {
    const double sum = HarmonicSum(s, c, levels);
    const double nextS = s * stepC + c * stepS;
    c = c * stepC - s * stepS;
    s = nextS;
    if (++count % 1024 == 0) {
      const double length = std::sqrt(s * s + c * c);
      s /= length;
      c /= length;
    }
    return sum;
  }

 private:
  double s;
  double c;
  double stepS;
  double stepC;
  unsigned count = 0;
};

// A raised-cosine rise from 0 to 1 over `seconds`.
double Rise(double t, double seconds) {
  if (t <= 0) return 0;
  if (t >= seconds) return 1;
  const double s = std::sin(0.5 * std::numbers::pi * t / seconds);
  return s * s;
}

// A held note's envelope: rises over `attack`, holds until `hold`, then falls
// smoothly to silence over `release`.
double HeldEnvelope(double t, double attack, double hold, double release) {
  const double up = Rise(t, attack);
  if (t < hold) return up;
  return up * (1.0 - Rise(t - hold, release));
}

// --- Instruments -----------------------------------------------------------

// A warm pad: two voices detuned by six cents either way and spread across
// the stereo field, each a soft stack of six harmonics, with a slow swell and
// a long release.
void AddPad(LoopMix& mix, double beat, double beats, int midi, double gain) {
  constexpr std::array<double, 6> kLevels = {1.0, 0.32, 0.16, 0.09, 0.05, 0.03};
  constexpr double kAttack = 0.9;
  constexpr double kRelease = 1.6;
  const double hold = BeatsToSeconds(beats);
  const std::size_t first = BeatToFrame(beat);
  const std::size_t count = SecondsToFrames(hold + kRelease);
  const Placement lowSide(0.25, 0.35);
  const Placement highSide(0.75, 0.35);
  SteadyHarmonics low(NoteHz(midi - 0.06), 0);
  SteadyHarmonics high(NoteHz(midi + 0.06), 0.37);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double level = gain * HeldEnvelope(t, kAttack, hold, kRelease);
    mix.Add(first + i, level * low.Next(kLevels), lowSide);
    mix.Add(first + i, level * high.Next(kLevels), highSide);
  }
}

// A round bass: a fundamental with a little second and third harmonic, a soft
// pluck that settles to a sustained level.
void AddBass(LoopMix& mix, double beat, double beats, int midi, double gain) {
  constexpr std::array<double, 3> kLevels = {1.0, 0.3, 0.08};
  constexpr double kRelease = 0.15;
  const double hold = BeatsToSeconds(beats) - 0.05;
  const std::size_t first = BeatToFrame(beat);
  const std::size_t count = SecondsToFrames(hold + kRelease);
  const Placement centre(0.5, 0.05);
  SteadyHarmonics voice(NoteHz(midi), 0);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double body = 0.6 + 0.4 * std::exp(-t / 0.35);
    const double value = gain * body * HeldEnvelope(t, 0.012, hold, kRelease) * voice.Next(kLevels);
    mix.Add(first + i, value, centre);
  }
}

// A soft electric-bell tone by frequency modulation whose brightness dies
// away faster than its ring.
void AddBell(LoopMix& mix, double beat, int midi, double gain, double pan) {
  constexpr double kRing = 2.4;
  constexpr double kAttack = 0.004;
  constexpr double kFinalFade = 0.2;
  const std::size_t first = BeatToFrame(beat);
  const std::size_t count = SecondsToFrames(kRing);
  const double hz = NoteHz(midi);
  const Placement place(pan, 0.5);
  // The modulator runs at the carrier's own pitch; the decays are running
  // products, which saves two exponentials a sample.
  constexpr std::array<double, 1> kSine = {1.0};
  SteadyHarmonics modulator(hz, 0);
  const double ringStep = std::exp(-1.0 / (0.5 * kSampleRate));
  const double brightnessStep = std::exp(-1.0 / (0.18 * kSampleRate));
  double ring = 1.0;
  double index = 1.5;
  double carrier = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double envelope = std::min(1.0, t / kAttack) * ring * (1.0 - Rise(t - (kRing - kFinalFade), kFinalFade));
    const double value = gain * envelope * std::sin(kTwoPi * carrier + index * modulator.Next(kSine));
    mix.Add(first + i, value, place);
    carrier += hz / kSampleRate;
    carrier -= std::floor(carrier);
    ring *= ringStep;
    index *= brightnessStep;
  }
}

// A gentle lead like a soft ocarina, with a vibrato that grows in
// after the note has begun.
void AddLead(LoopMix& mix, double beat, double beats, int midi, double gain) {
  constexpr std::array<double, 3> kLevels = {1.0, 0.22, 0.07};
  constexpr double kRelease = 0.35;
  const double hold = BeatsToSeconds(beats) - 0.04;
  const std::size_t first = BeatToFrame(beat);
  const std::size_t count = SecondsToFrames(hold + kRelease);
  const double hz = NoteHz(midi);
  const Placement place(0.58, 0.55);
  Harmonics voice;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double vibrato = 1.0 + 0.0045 * Rise(t - 0.25, 0.4) * std::sin(kTwoPi * 5.0 * t);
    const double envelope = HeldEnvelope(t, 0.07, hold, kRelease) * (0.85 + 0.15 * std::exp(-t / 0.3));
    mix.Add(first + i, gain * envelope * voice.Next(hz * vibrato, kLevels), place);
  }
}

// --- The score ---------------------------------------------------------------

// One bar of the eight-bar progression: the pad's voicing (which the
// arpeggio plays an octave up) and the bass's root and fifth.
struct Chord {
  std::array<int, 4> voicing;
  int root;
  int fifth;
};

// Dmaj7, Bm7, Gmaj7, A7sus4, Em7, F#m7, Gmaj7, A7sus4 (-> Dmaj7 again).
constexpr std::array<Chord, 8> kProgression = {{
    {{62, 66, 69, 73}, 50, 57},
    {{59, 62, 66, 69}, 47, 54},
    {{62, 66, 67, 71}, 43, 50},
    {{62, 64, 67, 69}, 45, 52},
    {{62, 64, 67, 71}, 40, 47},
    {{61, 64, 66, 69}, 42, 49},
    {{62, 66, 67, 71}, 43, 50},
    {{61, 64, 67, 69}, 45, 52},
}};

struct MelodyNote {
  int bar;  // within the eight-bar phrase
  double beat;
  double beats;
  int midi;
};

// The tune, first statement and its answer.
constexpr MelodyNote kTune[] = {
    {0, 0, 1.5, 81}, {0, 1.5, 0.5, 78}, {0, 2, 1, 76}, {0, 3, 1, 78},   {1, 0, 2, 74},
    {1, 2, 1, 71},   {1, 3, 1, 74},     {2, 0, 1, 76}, {2, 1, 1, 78},   {2, 2, 2, 83},
    {3, 0, 2.5, 81}, {3, 2.5, 0.5, 79}, {3, 3, 1, 76}, {4, 0, 1.5, 79}, {4, 1.5, 0.5, 78},
    {4, 2, 1, 76},   {4, 3, 1, 74},     {5, 0, 1, 73}, {5, 1, 1, 76},   {5, 2, 2, 81},
    {6, 0, 1.5, 83}, {6, 1.5, 0.5, 81}, {6, 2, 1, 78}, {6, 3, 1, 74},   {7, 0, 3, 76},
};
constexpr MelodyNote kAnswer[] = {
    {0, 0, 1, 78}, {0, 1, 1, 81}, {0, 2, 1.5, 86}, {0, 3.5, 0.5, 85}, {1, 0, 2, 83},   {1, 2, 1, 81},
    {1, 3, 1, 78}, {2, 0, 1, 79}, {2, 1, 1, 83},   {2, 2, 2, 86},     {3, 0, 2, 81},   {3, 2, 1, 83},
    {3, 3, 1, 81}, {4, 0, 2, 79}, {4, 2, 1, 76},   {4, 3, 1, 79},     {5, 0, 1.5, 78}, {5, 1.5, 0.5, 76},
    {5, 2, 2, 73}, {6, 0, 1, 74}, {6, 1, 1, 76},   {6, 2, 1, 78},     {6, 3, 1, 83},   {7, 0, 3.5, 81},
};

// The rolling eight-note figure of the arpeggio over the chord's four notes
// (4 is the lowest note an octave up).
constexpr std::array<int, 8> kArpFigure = {0, 1, 2, 3, 4, 3, 2, 1};
// How strongly each note of the figure is struck: the downbeat most, the
// top note a little, the notes between softly, as a player would.
constexpr std::array<double, 8> kArpAccents = {1.0, 0.68, 0.8, 0.7, 0.92, 0.66, 0.78, 0.7};

int ArpNote(const Chord& chord, int step) {
  const int index = kArpFigure[static_cast<std::size_t>(step)];
  return index == 4 ? chord.voicing[0] + 24 : chord.voicing[static_cast<std::size_t>(index)] + 12;
}

// Four sections of eight bars: pad and bass alone with a few bell notes; the
// arpeggio joins; the tune over it; its answer, thinning out at the end so
// that the loop returns to the quiet opening.
void ArrangeBar(LoopMix& mix, int bar) {
  const int section = bar / 8;
  const Chord& chord = kProgression[static_cast<std::size_t>(bar % 8)];
  const double start = static_cast<double>(bar * kMusicBeatsPerBar);
  for (int note : chord.voicing) AddPad(mix, start, 4, note, section == 0 ? 0.045 : 0.038);

  if (section == 0) {
    AddBass(mix, start, 4, chord.root, 0.2);
  } else {
    AddBass(mix, start, 2, chord.root, 0.2);
    AddBass(mix, start + 2, 1, chord.root, 0.16);
    AddBass(mix, start + 3, 1, chord.fifth, 0.16);
  }

  const bool sparse = section == 0 || bar >= kMusicBars - 2;
  const double bellGain = section >= 2 ? 0.05 : 0.065;
  for (int step = 0; step < 8; ++step) {
    if (sparse && step % 2 != 0) continue;
    if (section == 0 && step % 4 != 0) continue;
    const double accent = kArpAccents[static_cast<std::size_t>(step)];
    const double pan = step % 2 == 0 ? 0.35 : 0.65;
    AddBell(mix, start + 0.5 * step, ArpNote(chord, step), bellGain * accent, pan);
  }
}

void AddTune(LoopMix& mix, int firstBar, const MelodyNote* notes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const MelodyNote& n = notes[i];
    AddLead(mix, (firstBar + n.bar) * kMusicBeatsPerBar + n.beat, n.beats, n.midi, 0.12);
  }
}

// Runs the room over the send twice around the loop and keeps the second
// pass, so that the room's tail at the end of the loop is also heard at its
// beginning and the two ends join seamlessly.
void AddLoopedRoom(LoopMix& mix, double wet) {
  Room room(0.82, 0.45, 23);
  double left = 0;
  double right = 0;
  for (std::size_t i = 0; i < kMusicFrames; ++i) room.Process(mix.send[i], left, right);
  for (std::size_t i = 0; i < kMusicFrames; ++i) {
    room.Process(mix.send[i], left, right);
    mix.left[i] += wet * left;
    mix.right[i] += wet * right;
  }
}

Pcm ToPcm(const LoopMix& mix) {
  Pcm pcm;
  pcm.channels = 2;
  pcm.samples.resize(kMusicFrames * 2);
  // Removing the mean (a constant) keeps the loop seamless, unlike a filter.
  double mean[2] = {0, 0};
  for (std::size_t i = 0; i < kMusicFrames; ++i) {
    mean[0] += mix.left[i];
    mean[1] += mix.right[i];
  }
  mean[0] /= kMusicFrames;
  mean[1] /= kMusicFrames;
  for (std::size_t i = 0; i < kMusicFrames; ++i) {
    pcm.samples[2 * i] = static_cast<float>(mix.left[i] - mean[0]);
    pcm.samples[2 * i + 1] = static_cast<float>(mix.right[i] - mean[1]);
  }
  return pcm;
}

}  // namespace

Pcm RenderMusic() {
  LoopMix mix;
  for (int bar = 0; bar < kMusicBars; ++bar) ArrangeBar(mix, bar);
  AddTune(mix, 16, kTune, std::size(kTune));
  AddTune(mix, 24, kAnswer, std::size(kAnswer));
  AddLoopedRoom(mix, 0.9);
  Pcm pcm = ToPcm(mix);
  NormalisePeak(pcm, -14.0);
  return pcm;
}

}  // namespace SoundGen
