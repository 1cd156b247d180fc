#pragma once

// A song's Ogg Vorbis file held whole in memory and decoded a little at a
// time, so that playing never touches the disk or the archive again.

#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <string>
#include <vector>

namespace Zing {

struct PFILE;

class OggSongStream {
 public:
  OggSongStream() = default;
  OggSongStream(const OggSongStream&) = delete;
  OggSongStream& operator=(const OggSongStream&) = delete;
  ~OggSongStream();

  // Takes the file's bytes and opens the decoder on them. False for a damaged
  // stream or an unplayable format.
  bool Open(std::vector<char> fileBytes);
  int Channels() const { return channels; }
  long Rate() const { return rate; }
  // Decodes up to `capacity` bytes of 16-bit samples into `out`, stopping
  // early only at the end of the stream; the number of bytes decoded.
  std::size_t Fill(char* out, std::size_t capacity);
  // Back to the first sample.
  bool Rewind();

 private:
  static std::size_t Read(void* out, std::size_t size, std::size_t count, void* self);
  static int Seek(void* self, ogg_int64_t offset, int origin);
  static long Tell(void* self);

  std::vector<char> bytes;
  std::size_t position = 0;
  OggVorbis_File vorbis{};
  bool open = false;
  int channels = 0;
  long rate = 0;
};

// The size of an open file when it is at most `maxBytes`, else -1; either way
// the file is left at its start (or unusable, when seeking fails).
long FileSizeWithin(PFILE* file, std::size_t maxBytes);

// Reads a whole file through the archive-aware file functions; false when it
// cannot be opened or read, or exceeds `maxBytes`.
bool ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::vector<char>& bytes);

}  // namespace Zing
