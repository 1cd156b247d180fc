// The memory stream under a song's decoder: read, seek and tell over the
// file's bytes, as vorbisfile's callbacks.

#include "framework/audio/OggSongStream.h"

#include <algorithm>
#include <cstring>

#include "framework/archive/PakInterface.h"
#include "framework/audio/OggFormat.h"

namespace Zing {

namespace {

inline constexpr int kSeekFromEnd = 2;
inline constexpr int kSeekFromCurrent = 1;

}  // namespace

OggSongStream::~OggSongStream() {
  if (open) ov_clear(&vorbis);
}

bool OggSongStream::Open(std::vector<char> fileBytes) {
  if (open) ov_clear(&vorbis);
  open = false;
  bytes = std::move(fileBytes);
  position = 0;
  const ov_callbacks callbacks = {Read, Seek, nullptr, Tell};
  if (ov_open_callbacks(this, &vorbis, nullptr, 0, callbacks) != 0) return false;
  open = true;
  if (!IsPlayableStream(vorbis)) return false;
  channels = ov_info(&vorbis, 0)->channels;
  rate = ov_info(&vorbis, 0)->rate;
  return true;
}

std::size_t OggSongStream::Fill(char* out, std::size_t capacity) { return open ? ReadPcm(vorbis, out, capacity) : 0; }

bool OggSongStream::Rewind() { return open && ov_pcm_seek(&vorbis, 0) == 0; }

std::size_t OggSongStream::Read(void* out, std::size_t size, std::size_t count, void* self) {
  auto& stream = *static_cast<OggSongStream*>(self);
  if (size == 0) return 0;
  const std::size_t elements = std::min(count, (stream.bytes.size() - stream.position) / size);
  if (elements == 0) return 0;
  std::memcpy(out, stream.bytes.data() + stream.position, elements * size);
  stream.position += elements * size;
  return elements;
}

int OggSongStream::Seek(void* self, ogg_int64_t offset, int origin) {
  auto& stream = *static_cast<OggSongStream*>(self);
  const auto size = static_cast<ogg_int64_t>(stream.bytes.size());
  ogg_int64_t target = offset;
  if (origin == kSeekFromCurrent) target = static_cast<ogg_int64_t>(stream.position) + offset;
  // From the end as std::fseek counts it: the offset is added (it is 0 or negative).
  if (origin == kSeekFromEnd) target = size + offset;
  stream.position = static_cast<std::size_t>(std::clamp<ogg_int64_t>(target, 0, size));
  return 0;
}

long OggSongStream::Tell(void* self) { return static_cast<long>(static_cast<OggSongStream*>(self)->position); }

long FileSizeWithin(PFILE* file, std::size_t maxBytes) {
  if (p_fseek(file, 0, kSeekFromEnd) != 0) return -1;
  const long size = p_ftell(file);
  if (size < 0 || static_cast<unsigned long>(size) > maxBytes || p_fseek(file, 0, 0) != 0) return -1;
  return size;
}

bool ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::vector<char>& bytes) {
  bytes.clear();
  PFILE* file = p_fopen(fileName.c_str(), "rb");
  if (!file) return false;
  const long size = FileSizeWithin(file, maxBytes);
  bool ok = size >= 0;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    ok = p_fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  p_fclose(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace Zing
