// Songs: loading into memory, the ring of buffers on each song's source,
// streaming, looping, fades, pausing.

#include "framework/audio/OpenALMusicInterface.h"

namespace Zing {

namespace {

// A music file larger than this is refused rather than read into memory.
inline constexpr std::size_t kMaxMusicFileBytes = std::size_t{128} << 20;

}  // namespace

OpenALMusicInterface::OpenALMusicInterface() : al(AcquireOpenAL()), scratch(kBufferBytes) {}

OpenALMusicInterface::~OpenALMusicInterface() {
  UnloadAllMusic();
  ReleaseOpenAL();
}

OpenALMusicInterface::Song* OpenALMusicInterface::Find(int songId) {
  auto it = songs.find(songId);
  return it == songs.end() ? nullptr : it->second.get();
}

bool OpenALMusicInterface::LoadMusic(int songId, const std::string& fileName) {
  auto song = std::make_unique<Song>();
  std::vector<char> bytes;
  if (!ReadWholeFile(fileName, kMaxMusicFileBytes, bytes) || !song->stream.Open(std::move(bytes))) return false;
  if (!MakeSourceAndBuffers(*song)) return false;
  Reset(*song);
  UnloadMusic(songId);
  songs[songId] = std::move(song);
  return true;
}

bool OpenALMusicInterface::MakeSourceAndBuffers(Song& song) {
  if (!al) return true;
  al->alGetError();
  al->alGenBuffers(kBufferCount, song.buffers.data());
  if (al->alGetError() != AL_NO_ERROR) {
    song.buffers.fill(0);
    return false;
  }
  al->alGenSources(1, &song.source);
  if (al->alGetError() != AL_NO_ERROR) {
    al->alDeleteBuffers(kBufferCount, song.buffers.data());
    song.buffers.fill(0);
    song.source = 0;
    return false;
  }
  al->alSource3f(song.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
  al->alSource3f(song.source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  al->alSourcei(song.source, AL_LOOPING, AL_FALSE);
  return true;
}

void OpenALMusicInterface::DeleteSourceAndBuffers(Song& song) {
  if (!al || song.source == 0) return;
  al->alSourceStop(song.source);
  al->alSourcei(song.source, AL_BUFFER, 0);
  al->alDeleteSources(1, &song.source);
  al->alDeleteBuffers(kBufferCount, song.buffers.data());
  song.source = 0;
}

bool OpenALMusicInterface::FillBuffer(Song& song, ALuint buffer) {
  const std::size_t bytes = song.stream.Fill(scratch.data(), scratch.size());
  if (bytes == 0) return false;
  const ALenum format = song.stream.Channels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  al->alBufferData(buffer, format, scratch.data(), static_cast<ALsizei>(bytes),
                   static_cast<ALsizei>(song.stream.Rate()));
  return true;
}

// Back to the start with every buffer filled and queued. A song shorter than
// the ring queues what it has, so that short songs play too.
bool OpenALMusicInterface::Reset(Song& song) {
  song.ended = false;
  if (!al) return song.stream.Rewind();
  if (SourceState(song) != AL_INITIAL) {
    al->alSourceStop(song.source);
    al->alSourceRewind(song.source);
  }
  ALint queued = 0;
  al->alGetSourcei(song.source, AL_BUFFERS_QUEUED, &queued);
  if (queued > 0) al->alSourcei(song.source, AL_BUFFER, 0);
  if (!song.stream.Rewind()) return false;
  for (ALuint buffer : song.buffers) {
    if (!FillBuffer(song, buffer)) return false;
    al->alSourceQueueBuffers(song.source, 1, &buffer);
  }
  return true;
}

// Refills the buffers the source has played. At the end of the stream a
// looping song goes on from its first sample in the same buffer; a song that
// stops at its end queues nothing more and lets its tail play out.
void OpenALMusicInterface::Stream(Song& song) {
  ALint processed = 0;
  al->alGetSourcei(song.source, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0; --processed) {
    ALuint buffer = 0;
    al->alSourceUnqueueBuffers(song.source, 1, &buffer);
    if (song.ended) continue;
    if (!FillBuffer(song, buffer)) {
      if (song.stopAtEnd) {
        song.ended = true;
        continue;
      }
      if (!song.stream.Rewind() || !FillBuffer(song, buffer)) continue;  // an empty stream has nothing to loop
    }
    al->alSourceQueueBuffers(song.source, 1, &buffer);
  }
}

void OpenALMusicInterface::Update() {
  for (auto& entry : songs) Advance(*entry.second);
}

void OpenALMusicInterface::Advance(Song& song) {
  if (song.fadeStep != 0.0f) {
    song.volume += song.fadeStep;
    if (song.volume > song.maxVolume) {
      song.volume = song.maxVolume;
      song.fadeStep = 0.0f;
    } else if (song.volume < 0.0f) {
      song.volume = 0.0f;
      song.fadeStep = 0.0f;
      if (song.stopAtEnd) Stop(song);
    }
    ApplyGain(song);
  }
  if (!song.playing || volume <= 0.0f || !al) return;
  Stream(song);
  if (SourceState(song) == AL_PLAYING) return;
  // Either the tail of a song that stops at its end has been heard, or the
  // source ran dry because an update came late: start it again.
  if (song.ended) {
    Stop(song);
  } else {
    StartSource(song);
  }
}

void OpenALMusicInterface::Stop(Song& song) {
  song.playing = false;
  Reset(song);
}

void OpenALMusicInterface::ApplyGain(Song& song) {
  if (al) al->alSourcef(song.source, AL_GAIN, song.volume * volume);
}

void OpenALMusicInterface::StartSource(Song& song) {
  if (al) al->alSourcePlay(song.source);
}

void OpenALMusicInterface::PauseSource(Song& song) {
  if (al) al->alSourcePause(song.source);
}

ALint OpenALMusicInterface::SourceState(const Song& song) const {
  ALint state = AL_INITIAL;
  if (al) al->alGetSourcei(song.source, AL_SOURCE_STATE, &state);
  return state;
}

void OpenALMusicInterface::PlayMusic(int songId, int /*offset*/, bool noLoop) {
  Song* song = Find(songId);
  if (!song || song->playing) return;
  song->stopAtEnd = noLoop;
  song->volume = song->maxVolume;
  song->playing = true;
  song->fadeStep = 0.0f;
  ApplyGain(*song);
  StartSource(*song);
}

void OpenALMusicInterface::FadeIn(int songId, int /*offset*/, double speed, bool noLoop) {
  Song* song = Find(songId);
  if (!song || song->playing) return;
  song->fadeStep = static_cast<float>(speed);
  song->stopAtEnd = noLoop;
  song->playing = true;
  ApplyGain(*song);
  StartSource(*song);
}

void OpenALMusicInterface::FadeOut(int songId, bool stopSong, double speed) {
  Song* song = Find(songId);
  if (!song || song->volume <= 0.0f) return;
  song->fadeStep = -static_cast<float>(speed);
  song->stopAtEnd = stopSong;
}

void OpenALMusicInterface::FadeOutAll(bool stopSong, double speed) {
  for (auto& entry : songs) {
    entry.second->fadeStep = -static_cast<float>(speed);
    entry.second->stopAtEnd = stopSong;
  }
}

void OpenALMusicInterface::StopMusic(int songId) {
  if (Song* song = Find(songId)) {
    song->volume = 0.0f;
    Stop(*song);
  }
}

void OpenALMusicInterface::StopAllMusic() {
  for (auto& entry : songs) StopMusic(entry.first);
}

void OpenALMusicInterface::PauseMusic(int songId) {
  if (Song* song = Find(songId)) {
    PauseSource(*song);
    song->playing = false;
  }
}

void OpenALMusicInterface::ResumeMusic(int songId) {
  if (Song* song = Find(songId)) {
    StartSource(*song);
    song->playing = true;
  }
}

void OpenALMusicInterface::PauseAllMusic() {
  for (auto& entry : songs) PauseMusic(entry.first);
}

void OpenALMusicInterface::ResumeAllMusic() {
  for (auto& entry : songs) ResumeMusic(entry.first);
}

void OpenALMusicInterface::UnloadMusic(int songId) {
  auto it = songs.find(songId);
  if (it == songs.end()) return;
  it->second->playing = false;
  DeleteSourceAndBuffers(*it->second);
  songs.erase(it);
}

void OpenALMusicInterface::UnloadAllMusic() {
  StopAllMusic();
  while (!songs.empty()) UnloadMusic(songs.begin()->first);
}

void OpenALMusicInterface::SetSongVolume(int songId, double value) {
  if (Song* song = Find(songId)) {
    song->volume = static_cast<float>(value);
    ApplyGain(*song);
  }
}

bool OpenALMusicInterface::IsPlaying(int songId) {
  const Song* song = Find(songId);
  return song && song->playing;
}

void OpenALMusicInterface::SetVolume(double value) {
  volume = static_cast<float>(value);
  for (auto& entry : songs) ApplyGain(*entry.second);
}

}  // namespace Zing
