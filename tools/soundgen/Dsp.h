#pragma once

// Small signal-processing pieces the sound generator builds its effects and
// its music from. Everything is plain double arithmetic without any source of
// randomness but a seeded generator, so the same program always renders the
// same samples.

#include <cstdint>
#include <numbers>
#include <vector>

namespace SoundGen {

inline constexpr int kSampleRate = 44100;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Interleaved samples in -1..1 with their channel count, at kSampleRate.
struct Pcm {
  int channels = 1;
  std::vector<float> samples;

  std::size_t Frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
  double Seconds() const { return static_cast<double>(Frames()) / kSampleRate; }
};

Pcm MakeSilence(int channels, double seconds);
std::size_t SecondsToFrames(double seconds);

// White noise in -1..1 from a fixed seed (xorshift), identical on every machine.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}
  double Next();

 private:
  std::uint32_t state;
};

// One-pole low-pass filter; the cutoff may change from sample to sample.
class LowPass {
 public:
  explicit LowPass(double cutoffHz) { SetCutoff(cutoffHz); }
  void SetCutoff(double cutoffHz);
  double Process(double x);

 private:
  double coefficient = 0;
  double state = 0;
};

// State-variable filter giving a band-pass of the input around a centre that
// may move from sample to sample.
class BandPass {
 public:
  BandPass(double centreHz, double q) : damping(1.0 / q) { SetCentre(centreHz); }
  void SetCentre(double centreHz);
  double Process(double x);

 private:
  double damping;
  double tuning = 0;
  double low = 0;
  double band = 0;
};

// Blocks the very lowest frequencies so that no sound carries a DC offset.
void RemoveDc(Pcm& pcm);

// Raised-cosine fades at both ends, so that a sound starts and ends on silence.
void ApplyFades(Pcm& pcm, double fadeInSeconds, double fadeOutSeconds);

// Scales the sound so that its largest sample reaches the given level in dBFS.
void NormalisePeak(Pcm& pcm, double peakDb);

double DbToGain(double db);

// An exponential decay envelope with a short linear attack, 0 before `start`.
double Strike(double t, double attack, double decay);

// Pitch of a MIDI note number in Hz (69 is A 440).
double NoteHz(double midi);

// A small stereo room (parallel comb filters into series all-passes) that
// softens the sounds and gives them space. Mono input feeds both sides.
class Room {
 public:
  Room(double size, double damping, int spread);
  // Returns the wet signal of the two channels for one input sample.
  void Process(double in, double& left, double& right);

 private:
  struct Comb {
    std::vector<double> line;
    std::size_t pos = 0;
    double store = 0;
  };
  struct AllPass {
    std::vector<double> line;
    std::size_t pos = 0;
  };
  static double RunComb(Comb& comb, double in, double feedback, double damping);
  static double RunAllPass(AllPass& pass, double in);

  double feedback;
  double damp;
  std::vector<Comb> combs[2];
  std::vector<AllPass> passes[2];
};

// Adds the room to a mono or stereo sound; `wet` is the share of the room in
// the result and `tailSeconds` extends the sound so that the room can ring out.
Pcm AddRoom(const Pcm& dry, double wet, double size, double tailSeconds);

}  // namespace SoundGen
