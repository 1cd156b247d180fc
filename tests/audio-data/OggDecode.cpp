#include "OggDecode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace AudioTest {

namespace {

struct MemoryStream {
  const std::string* bytes;
  std::size_t pos;
};

size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
  auto* stream = static_cast<MemoryStream*>(source);
  if (size == 0) return 0;
  const std::size_t left = stream->bytes->size() - stream->pos;
  const std::size_t elements = std::min(count, left / size);
  std::memcpy(out, stream->bytes->data() + stream->pos, elements * size);
  stream->pos += elements * size;
  return elements;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* stream = static_cast<MemoryStream*>(source);
  const auto size = static_cast<ogg_int64_t>(stream->bytes->size());
  ogg_int64_t target = offset;
  if (whence == SEEK_CUR) target = static_cast<ogg_int64_t>(stream->pos) + offset;
  if (whence == SEEK_END) target = size + offset;
  stream->pos = static_cast<std::size_t>(std::clamp<ogg_int64_t>(target, 0, size));
  return 0;
}

long TellMemory(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->pos); }

}  // namespace

std::vector<float> Decoded::Channel(int channel) const {
  std::vector<float> out;
  out.reserve(Frames());
  for (std::size_t i = static_cast<std::size_t>(channel); i < samples.size(); i += static_cast<std::size_t>(channels)) {
    out.push_back(samples[i]);
  }
  return out;
}

Decoded DecodeOgg(const std::string& bytes) {
  Decoded result;
  MemoryStream stream{&bytes, 0};
  OggVorbis_File file;
  const ov_callbacks callbacks = {ReadMemory, SeekMemory, nullptr, TellMemory};
  if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0) return result;
  const vorbis_info* info = ov_info(&file, -1);
  result.channels = info->channels;
  result.rate = info->rate;
  const ogg_int64_t total = ov_pcm_total(&file, -1);
  std::vector<char> block(4096);
  int section = 0;
  for (;;) {
    const long got = ov_read(&file, block.data(), static_cast<int>(block.size()), 0, 2, 1, &section);
    if (got <= 0) break;
    for (long i = 0; i + 1 < got; i += 2) {
      const auto low = static_cast<unsigned char>(block[static_cast<std::size_t>(i)]);
      const auto high = static_cast<unsigned char>(block[static_cast<std::size_t>(i) + 1]);
      const auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
      result.samples.push_back(static_cast<float>(value) / 32768.0f);
    }
  }
  ov_clear(&file);
  result.ok = total > 0 && static_cast<ogg_int64_t>(result.Frames()) == total;
  return result;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace AudioTest
