// Playing, stopping and releasing one effect instance on its source.

#include "framework/audio/OpenALSoundInstance.h"

#include "framework/audio/OpenALSoundManager.h"

namespace Zing {

OpenALSoundInstance::OpenALSoundInstance(const OpenALSoundManager& owner, const OpenALFunctions& functions,
                                         ALuint newSource, ALuint playedBuffer)
    : manager(owner), al(functions), source(newSource), buffer(playedBuffer) {
  al.alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
  al.alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
  al.alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  ApplyGain();
}

OpenALSoundInstance::~OpenALSoundInstance() {
  al.alSourceStop(source);
  al.alSourcei(source, AL_BUFFER, 0);  // the buffer may be released after this
  al.alDeleteSources(1, &source);
}

void OpenALSoundInstance::Release() {
  al.alSourceStop(source);
  released = true;
}

void OpenALSoundInstance::SetBaseVolume(double value) {
  baseVolume = static_cast<float>(value);
  ApplyGain();
}

void OpenALSoundInstance::SetVolume(double value) {
  volume = static_cast<float>(value);
  ApplyGain();
}

void OpenALSoundInstance::ApplyGain() { al.alSourcef(source, AL_GAIN, volume * baseVolume * manager.Volume()); }

bool OpenALSoundInstance::Play(bool looping, bool release) {
  Stop();
  autoRelease = release;
  hasPlayed = true;
  al.alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
  al.alSourcePlay(source);
  return true;
}

void OpenALSoundInstance::Stop() {
  al.alSourceStop(source);
  al.alSourceRewind(source);
  autoRelease = false;
}

bool OpenALSoundInstance::IsPlaying() {
  if (!hasPlayed) return false;
  ALint state = AL_STOPPED;
  al.alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

bool OpenALSoundInstance::IsReleased() {
  if (!released && autoRelease && hasPlayed && !IsPlaying()) Release();
  return released;
}

}  // namespace Zing
