#pragma once

// The sound effects through the audio library: each sound id (0..255) holds
// one effect decoded whole into one buffer; playing an id puts an instance on
// one of 32 channels. Without audio output the effects still decode (so a
// damaged file fails the same everywhere) and ids are handed out, but no
// instance is ever made.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/audio/OpenALBinding.h"
#include "framework/audio/OpenALSoundInstance.h"
#include "framework/audio/SoundManager.h"

namespace Zing {

class OpenALSoundManager : public SoundManager {
 public:
  OpenALSoundManager();  // acquires the audio library
  ~OpenALSoundManager() override;

  bool Initialized() override { return true; }
  int LoadSound(const std::string& filename) override;
  bool LoadSound(unsigned int id, const std::string& filename) override;
  void ReleaseSound(unsigned int id) override;
  void SetVolume(double value) override;
  bool SetBaseVolume(unsigned int id, double value) override;
  bool SetBasePan(unsigned int id, int pan) override;
  SoundInstance* GetSoundInstance(unsigned int id) override;
  void ReleaseSounds() override;
  void ReleaseChannels() override;
  // The audio library's listener gain stands for the master volume.
  double GetMasterVolume() override;
  void SetMasterVolume(double value) override;
  void Flush() override {}
  void SetCooperativeWindow(void* /*window*/, bool /*windowed*/) override {}
  void StopAllSounds() override;
  int GetFreeSoundId() override;
  int GetNumSounds() override;

  float Volume() const { return volume; }
  bool IsAudible() const { return al != nullptr; }

 private:
  bool MakeBuffer(unsigned int id, const std::string& fileName);
  void ReleaseInstancesOf(ALuint playedBuffer);
  void CleanUpReleasedChannels();
  int ChooseChannel();

  const OpenALFunctions* al;  // null: nothing can be heard
  std::array<ALuint, kMaxSounds> buffers{};
  std::array<bool, kMaxSounds> loaded{};  // the id holds a decoded effect
  std::array<std::string, kMaxSounds> names{};
  std::array<float, kMaxSounds> baseVolumes{};
  std::array<int, kMaxSounds> basePans{};
  std::array<std::unique_ptr<OpenALSoundInstance>, kMaxChannels> channels{};
  float volume = 1.0f;
  float masterVolume = 1.0f;  // kept where there is no listener
  std::uint32_t lastCleanupTime = 0;
};

}  // namespace Zing
