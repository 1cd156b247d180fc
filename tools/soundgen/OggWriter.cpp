#include "tools/soundgen/OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace SoundGen {

namespace {

// Every stream the generator writes carries this serial number; a random one
// would make each build produce different bytes.
constexpr int kStreamSerial = 0x4C6E7477;

// Samples handed to the encoder per analysis call.
constexpr std::size_t kBlockFrames = 1024;

// The libogg and libvorbis state of one encoding, released in reverse order.
class Encoder {
 public:
  Encoder() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;
  ~Encoder() {
    if (started) {
      ogg_stream_clear(&stream);
      vorbis_block_clear(&block);
      vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }

  bool Start(int channels, const OggOptions& options) {
    if (vorbis_encode_init_vbr(&info, channels, kSampleRate, static_cast<float>(options.quality)) != 0) return false;
    if (!options.title.empty()) vorbis_comment_add_tag(&comment, "TITLE", options.title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Tamo Games");
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_init(&stream, kStreamSerial);
    started = true;
    WriteHeaders();
    return true;
  }

  void Write(const Pcm& pcm) {
    const std::size_t frames = pcm.Frames();
    for (std::size_t first = 0; first < frames; first += kBlockFrames) {
      const std::size_t count = std::min(kBlockFrames, frames - first);
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (std::size_t i = 0; i < count; ++i) {
        for (int c = 0; c < pcm.channels; ++c) buffer[c][i] = pcm.samples[(first + i) * pcm.channels + c];
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      Drain();
    }
    vorbis_analysis_wrote(&dsp, 0);  // end of stream
    Drain();
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) Append(page);
  }

  std::vector<unsigned char> TakeBytes() { return std::move(bytes); }

 private:
  void WriteHeaders() {
    ogg_packet id;
    ogg_packet comments;
    ogg_packet codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &id, &comments, &codebooks);
    ogg_stream_packetin(&stream, &id);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    // The headers end on a page of their own, as players expect.
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) Append(page);
  }

  void Drain() {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream, &page) != 0) Append(page);
      }
    }
  }

  void Append(const ogg_page& page) {
    bytes.insert(bytes.end(), page.header, page.header + page.header_len);
    bytes.insert(bytes.end(), page.body, page.body + page.body_len);
  }

  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool started = false;
  std::vector<unsigned char> bytes;
};

}  // namespace

std::vector<unsigned char> EncodeOggVorbis(const Pcm& pcm, const OggOptions& options) {
  // The game plays mono and stereo sounds only.
  if (pcm.channels < 1 || pcm.channels > 2) return {};
  Encoder encoder;
  if (!encoder.Start(pcm.channels, options)) return {};
  encoder.Write(pcm);
  return encoder.TakeBytes();
}

}  // namespace SoundGen
