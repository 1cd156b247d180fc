// Decoding an effect file in one go through vorbisfile, reading the file with
// the archive-aware file functions so that it may lie in an archive.

#include "framework/audio/OggEffectDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "framework/archive/PakInterface.h"
#include "framework/audio/OggFormat.h"
#include "framework/audio/OggSongStream.h"

namespace Zing {

namespace {

inline constexpr std::size_t kGrowthStep = std::size_t{1} << 20;

size_t ReadFile(void* out, size_t size, size_t count, void* file) {
  return p_fread(out, size, count, static_cast<PFILE*>(file));
}

int SeekFile(void* file, ogg_int64_t offset, int origin) {
  if (offset < LONG_MIN || offset > LONG_MAX) return -1;
  return p_fseek(static_cast<PFILE*>(file), static_cast<long>(offset), origin) == 0 ? 0 : -1;
}

long TellFile(void* file) { return p_ftell(static_cast<PFILE*>(file)); }

// The file is closed by its owner below, whether or not vorbisfile took it.
constexpr ov_callbacks kFileCallbacks = {ReadFile, SeekFile, nullptr, TellFile};

class OpenFile {
 public:
  explicit OpenFile(const std::string& name) : file(p_fopen(name.c_str(), "rb")) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (file) p_fclose(file);
  }
  PFILE* file;
};

// The announced size in bytes, or 0 when it is missing or beyond the limit.
std::size_t AnnouncedBytes(OggVorbis_File& vorbis, const vorbis_info& info) {
  const ogg_int64_t frames = ov_pcm_total(&vorbis, -1);
  const auto limit = static_cast<ogg_int64_t>(kMaxEffectSeconds * static_cast<double>(info.rate));
  if (frames <= 0 || frames > limit) return 0;
  return static_cast<std::size_t>(frames) * static_cast<std::size_t>(info.channels) * kBytesPerSample;
}

// Grows the block step by step, so that it follows what the file really
// holds rather than what it claims.
bool DecodeAll(OggVorbis_File& vorbis, std::size_t expected, std::vector<char>& block) {
  std::size_t filled = 0;
  while (filled < expected) {
    block.resize(std::min(expected, std::max(block.size() * 2, filled + kGrowthStep)));
    const std::size_t got = ReadPcm(vorbis, block.data() + filled, block.size() - filled);
    filled += got;
    if (filled < block.size()) break;  // the stream ended early
  }
  return filled == expected;
}

}  // namespace

bool DecodeOggEffect(const std::string& fileName, DecodedSound& sound) {
  sound = DecodedSound{};
  OpenFile input(fileName);
  if (!input.file || FileSizeWithin(input.file, kMaxEffectFileBytes) < 0) return false;
  OggVorbis_File vorbis;
  if (ov_open_callbacks(input.file, &vorbis, nullptr, 0, kFileCallbacks) != 0) return false;
  bool ok = false;
  const vorbis_info* info = ov_info(&vorbis, 0);
  if (IsPlayableStream(vorbis)) {
    const std::size_t expected = AnnouncedBytes(vorbis, *info);
    ok = expected > 0 && DecodeAll(vorbis, expected, sound.samples);
    sound.channels = info->channels;
    sound.rate = info->rate;
  }
  ov_clear(&vorbis);
  if (!ok) sound = DecodedSound{};
  return ok;
}

}  // namespace Zing
