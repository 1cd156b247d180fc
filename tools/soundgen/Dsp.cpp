#include "tools/soundgen/Dsp.h"

#include <algorithm>
#include <cmath>

namespace SoundGen {

std::size_t SecondsToFrames(double seconds) {
  return static_cast<std::size_t>(std::llround(std::max(0.0, seconds) * kSampleRate));
}

Pcm MakeSilence(int channels, double seconds) {
  Pcm pcm;
  pcm.channels = channels;
  pcm.samples.assign(SecondsToFrames(seconds) * static_cast<std::size_t>(channels), 0.0f);
  return pcm;
}

double Noise::Next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return static_cast<double>(state) / 2147483647.5 - 1.0;
}

void LowPass::SetCutoff(double cutoffHz) { coefficient = 1.0 - std::exp(-kTwoPi * cutoffHz / kSampleRate); }

double LowPass::Process(double x) {
  state += coefficient * (x - state);
  return state;
}

void BandPass::SetCentre(double centreHz) {
  tuning = 2.0 * std::sin(std::numbers::pi * std::min(centreHz, kSampleRate / 6.0) / kSampleRate);
}

double BandPass::Process(double x) {
  low += tuning * band;
  const double high = x - low - damping * band;
  band += tuning * high;
  return band;
}

void RemoveDc(Pcm& pcm) {
  // A first-order high-pass at about 15 Hz, run per channel.
  const double r = 1.0 - kTwoPi * 15.0 / kSampleRate;
  for (int c = 0; c < pcm.channels; ++c) {
    double lastIn = 0;
    double lastOut = 0;
    for (std::size_t i = static_cast<std::size_t>(c); i < pcm.samples.size(); i += pcm.channels) {
      const double in = pcm.samples[i];
      lastOut = in - lastIn + r * lastOut;
      lastIn = in;
      pcm.samples[i] = static_cast<float>(lastOut);
    }
  }
}

void ApplyFades(Pcm& pcm, double fadeInSeconds, double fadeOutSeconds) {
  const std::size_t frames = pcm.Frames();
  const std::size_t fadeIn = std::min(frames, SecondsToFrames(fadeInSeconds));
  const std::size_t fadeOut = std::min(frames, SecondsToFrames(fadeOutSeconds));
  auto scaleFrame = [&](std::size_t frame, double gain) {
    for (int c = 0; c < pcm.channels; ++c) pcm.samples[frame * pcm.channels + c] *= static_cast<float>(gain);
  };
  for (std::size_t i = 0; i < fadeIn; ++i) {
    const double s = std::sin(0.5 * std::numbers::pi * static_cast<double>(i) / fadeIn);
    scaleFrame(i, s * s);
  }
  for (std::size_t i = 0; i < fadeOut; ++i) {
    const double s = std::sin(0.5 * std::numbers::pi * static_cast<double>(i) / fadeOut);
    scaleFrame(frames - 1 - i, s * s);
  }
}

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }

void NormalisePeak(Pcm& pcm, double peakDb) {
  float peak = 0;
  for (float s : pcm.samples) peak = std::max(peak, std::fabs(s));
  if (peak <= 0) return;
  const double gain = DbToGain(peakDb) / peak;
  for (float& s : pcm.samples) s = static_cast<float>(s * gain);
}

double Strike(double t, double attack, double decay) {
  if (t < 0) return 0;
  const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
  return rise * std::exp(-t / decay);
}

double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

namespace {

// Delay lengths in samples of the room's comb and all-pass filters (mutually
// prime-ish so that their echoes do not line up into a metallic ring).
constexpr int kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllPassLengths[] = {556, 441, 341, 225};

}  // namespace

Room::Room(double size, double damping, int spread) : feedback(0.7 + 0.28 * size), damp(damping) {
  for (int side = 0; side < 2; ++side) {
    const int extra = side * spread;
    for (int length : kCombLengths) combs[side].push_back(Comb{std::vector<double>(length + extra, 0.0)});
    for (int length : kAllPassLengths) passes[side].push_back(AllPass{std::vector<double>(length + extra, 0.0)});
  }
}

double Room::RunComb(Comb& comb, double in, double feedback, double damping) {
  const double out = comb.line[comb.pos];
  comb.store = out * (1.0 - damping) + comb.store * damping;
  comb.line[comb.pos] = in + comb.store * feedback;
  if (++comb.pos == comb.line.size()) comb.pos = 0;
  return out;
}

double Room::RunAllPass(AllPass& pass, double in) {
  const double delayed = pass.line[pass.pos];
  pass.line[pass.pos] = in + delayed * 0.5;
  if (++pass.pos == pass.line.size()) pass.pos = 0;
  return delayed - in;
}

void Room::Process(double in, double& left, double& right) {
  double out[2] = {0, 0};
  for (int side = 0; side < 2; ++side) {
    for (Comb& comb : combs[side]) out[side] += RunComb(comb, in * 0.045, feedback, damp);
    for (AllPass& pass : passes[side]) out[side] = RunAllPass(pass, out[side]);
  }
  left = out[0];
  right = out[1];
}

Pcm AddRoom(const Pcm& dry, double wet, double size, double tailSeconds) {
  Room room(size, 0.5, 23);
  Pcm out = MakeSilence(dry.channels, dry.Seconds() + tailSeconds);
  const std::size_t dryFrames = dry.Frames();
  const int ch = dry.channels;
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    double in[2] = {0, 0};
    if (i < dryFrames) {
      in[0] = dry.samples[i * ch];
      in[1] = dry.samples[i * ch + (ch - 1)];
    }
    double left = 0;
    double right = 0;
    room.Process(0.5 * (in[0] + in[1]), left, right);
    if (ch == 1) {
      out.samples[i] = static_cast<float>((1.0 - wet) * in[0] + wet * 0.5 * (left + right));
    } else {
      out.samples[i * 2] = static_cast<float>((1.0 - wet) * in[0] + wet * left);
      out.samples[i * 2 + 1] = static_cast<float>((1.0 - wet) * in[1] + wet * right);
    }
  }
  return out;
}

}  // namespace SoundGen
