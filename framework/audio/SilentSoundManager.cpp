#include "framework/audio/SilentSoundManager.h"

namespace Zing {

namespace {

// An instance that is never heard; it ends as soon as it is asked to play.
class SilentInstance : public SoundInstance {
 public:
  void Release() override { delete this; }
  void SetBaseVolume(double /*volume*/) override {}
  void SetBasePan(int /*pan*/) override {}
  void AdjustPitch(double /*steps*/) override {}
  void SetVolume(double value) override { volume = value; }
  void SetPan(int /*pan*/) override {}
  bool Play(bool /*looping*/, bool autoRelease) override {
    if (autoRelease) delete this;
    return true;
  }
  void Stop() override {}
  bool IsPlaying() override { return false; }
  bool IsReleased() override { return false; }
  double GetVolume() override { return volume; }

 private:
  double volume = 1.0;
};

}  // namespace

int SilentSoundManager::LoadSound(const std::string& filename) {
  // An empty name is no sound: it must not match the free ids' empty names.
  for (int id = 0; id < kMaxSounds && !filename.empty(); ++id)
    if (names[static_cast<std::size_t>(id)] == filename) return id;
  for (int id = kMaxSounds - 1; id >= 0; --id)
    if (names[static_cast<std::size_t>(id)].empty())
      return LoadSound(static_cast<unsigned int>(id), filename) ? id : -1;
  return -1;
}

bool SilentSoundManager::LoadSound(unsigned int id, const std::string& filename) {
  if (id >= kMaxSounds || filename.empty()) return false;
  names[id] = filename;
  return true;
}

void SilentSoundManager::ReleaseSound(unsigned int id) {
  if (id < kMaxSounds) names[id].clear();
}

SoundInstance* SilentSoundManager::GetSoundInstance(unsigned int id) {
  if (id >= kMaxSounds || names[id].empty()) return nullptr;
  return new SilentInstance();
}

int SilentSoundManager::GetFreeSoundId() {
  for (int id = 0; id < kMaxSounds; ++id)
    if (names[static_cast<std::size_t>(id)].empty()) return id;
  return -1;
}

int SilentSoundManager::GetNumSounds() {
  int count = 0;
  for (const std::string& name : names) count += name.empty() ? 0 : 1;
  return count;
}

}  // namespace Zing
