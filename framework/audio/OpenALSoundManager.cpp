// Loading effects into sound ids and handing out instances on the channels.

#include "framework/audio/OpenALSoundManager.h"

#include <algorithm>
#include <chrono>

#include "framework/audio/OggEffectDecoder.h"

namespace Zing {

namespace {

// Released instances are swept off the channels at most this often.
inline constexpr std::uint32_t kCleanupIntervalMs = 1000;
inline constexpr const char* kEffectExtension = ".ogg";

std::uint32_t NowMs() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// Manifest paths name effects without their extension; a name that already
// carries it is taken as it stands.
std::string EffectFileName(const std::string& name) {
  const std::string extension = kEffectExtension;
  if (name.size() >= extension.size()) {
    std::string tail = name.substr(name.size() - extension.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    if (tail == extension) return name;
  }
  return name + extension;
}

}  // namespace

OpenALSoundManager::OpenALSoundManager() : al(AcquireOpenAL()) { baseVolumes.fill(1.0f); }

OpenALSoundManager::~OpenALSoundManager() {
  ReleaseChannels();
  ReleaseSounds();
  ReleaseOpenAL();
}

int OpenALSoundManager::LoadSound(const std::string& filename) {
  for (unsigned int id = 0; id < kMaxSounds; ++id)
    if (loaded[id] && names[id] == filename) return static_cast<int>(id);
  for (int id = kMaxSounds - 1; id >= 0; --id) {
    if (loaded[static_cast<std::size_t>(id)]) continue;
    return LoadSound(static_cast<unsigned int>(id), filename) ? id : -1;
  }
  return -1;
}

bool OpenALSoundManager::LoadSound(unsigned int id, const std::string& filename) {
  if (id >= kMaxSounds) return false;
  ReleaseSound(id);
  names[id] = filename;
  loaded[id] = MakeBuffer(id, EffectFileName(filename));
  if (!loaded[id]) names[id].clear();
  return loaded[id];
}

bool OpenALSoundManager::MakeBuffer(unsigned int id, const std::string& fileName) {
  DecodedSound sound;
  if (!DecodeOggEffect(fileName, sound)) return false;
  if (!al) return true;  // decoded and kept as loaded; nothing will be heard
  al->alGetError();
  ALuint buffer = 0;
  al->alGenBuffers(1, &buffer);
  if (al->alGetError() != AL_NO_ERROR) return false;
  const ALenum format = sound.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  al->alBufferData(buffer, format, sound.samples.data(), static_cast<ALsizei>(sound.samples.size()),
                   static_cast<ALsizei>(sound.rate));
  if (al->alGetError() != AL_NO_ERROR) {
    al->alDeleteBuffers(1, &buffer);
    return false;
  }
  buffers[id] = buffer;
  return true;
}

void OpenALSoundManager::ReleaseSound(unsigned int id) {
  if (id >= kMaxSounds) return;
  if (al && buffers[id] != 0) {
    // A buffer still attached to a source cannot be deleted.
    ReleaseInstancesOf(buffers[id]);
    al->alDeleteBuffers(1, &buffers[id]);
  }
  buffers[id] = 0;
  loaded[id] = false;
  names[id].clear();
}

void OpenALSoundManager::ReleaseSounds() {
  for (unsigned int id = 0; id < kMaxSounds; ++id) ReleaseSound(id);
}

void OpenALSoundManager::ReleaseInstancesOf(ALuint playedBuffer) {
  for (auto& channel : channels)
    if (channel && channel->Buffer() == playedBuffer) channel.reset();
}

void OpenALSoundManager::ReleaseChannels() {
  for (auto& channel : channels) channel.reset();
}

void OpenALSoundManager::SetVolume(double value) {
  volume = static_cast<float>(value);
  for (auto& channel : channels)
    if (channel) channel->ApplyGain();
}

bool OpenALSoundManager::SetBaseVolume(unsigned int id, double value) {
  if (id >= kMaxSounds) return false;
  baseVolumes[id] = static_cast<float>(value);
  return true;
}

bool OpenALSoundManager::SetBasePan(unsigned int id, int pan) {
  if (id >= kMaxSounds) return false;
  basePans[id] = pan;
  return true;
}

void OpenALSoundManager::CleanUpReleasedChannels() {
  const std::uint32_t now = NowMs();
  if (now - lastCleanupTime <= kCleanupIntervalMs) return;
  for (auto& channel : channels)
    if (channel && channel->IsReleased()) channel.reset();
  lastCleanupTime = now;
}

int OpenALSoundManager::ChooseChannel() {
  for (std::size_t i = 0; i < channels.size(); ++i) {
    if (channels[i] && !channels[i]->IsReleased()) continue;
    channels[i].reset();
    return static_cast<int>(i);
  }
  return -1;
}

SoundInstance* OpenALSoundManager::GetSoundInstance(unsigned int id) {
  if (id >= kMaxSounds) return nullptr;
  CleanUpReleasedChannels();
  const int channel = ChooseChannel();
  if (channel < 0 || !al || buffers[id] == 0) return nullptr;
  al->alGetError();
  ALuint source = 0;
  al->alGenSources(1, &source);
  if (al->alGetError() != AL_NO_ERROR) return nullptr;
  auto instance = std::make_unique<OpenALSoundInstance>(*this, *al, source, buffers[id]);
  instance->SetBasePan(basePans[id]);
  instance->SetBaseVolume(baseVolumes[id]);
  channels[static_cast<std::size_t>(channel)] = std::move(instance);
  return channels[static_cast<std::size_t>(channel)].get();
}

double OpenALSoundManager::GetMasterVolume() {
  if (!al) return masterVolume;
  ALfloat gain = 1.0f;
  al->alGetListenerf(AL_GAIN, &gain);
  return gain;
}

void OpenALSoundManager::SetMasterVolume(double value) {
  masterVolume = static_cast<float>(std::clamp(value, 0.0, 1.0));
  if (al) al->alListenerf(AL_GAIN, masterVolume);
}

void OpenALSoundManager::StopAllSounds() {
  for (auto& channel : channels) {
    if (!channel) continue;
    const bool autoRelease = channel->AutoRelease();
    channel->Stop();
    channel->SetAutoRelease(autoRelease);
  }
}

int OpenALSoundManager::GetFreeSoundId() {
  for (unsigned int id = 0; id < kMaxSounds; ++id)
    if (!loaded[id]) return static_cast<int>(id);
  return -1;
}

int OpenALSoundManager::GetNumSounds() { return static_cast<int>(std::count(loaded.begin(), loaded.end(), true)); }

}  // namespace Zing
