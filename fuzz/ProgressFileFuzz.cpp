// Fuzz target for the progress file: any bytes read as "progress.dat" either
// are refused whole or give progress whose counts are sane and which, written
// back, reads the same. Since a damaged checksum refuses nearly every input,
// each input is also read a second time as the sections of a file with a
// correct header, so the records themselves are fuzzed too.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/app/Buffer.h"
#include "fuzz/FuzzInputFile.h"
#include "game/shell/ProgressStore.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckProgress(const Lintwick::Progress& progress) {
  Check(progress.PerfectCount() <= progress.SolvedCount() && progress.SolvedCount() <= Lintwick::kProgressLevels);
  const Zing::Buffer bytes = Lintwick::ProgressBytes(progress);
  const std::optional<Lintwick::Progress> again = Lintwick::ReadProgress(bytes);
  Check(again && *again == progress);

  // A new solve is taken in and the board stays solved.
  Lintwick::Progress merged = progress;
  merged.Merge({7, true, 100, {{0, 0x12}}});
  Check(merged.levels[7].solved && merged.levels[7].perfect && merged.levels[7].bestPoints >= 100);
}

// The input behind a header that the reader accepts: magic, version, checksum.
Zing::Buffer WithHeader(const std::uint8_t* data, std::size_t size) {
  Zing::Buffer file;
  file.WriteBytes("LWPG", 4);
  file.WriteShort(1);
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), data, static_cast<uInt>(size));
  file.WriteLong(static_cast<std::int32_t>(crc));
  file.WriteBytes(data, size);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ZingFuzz::InputFile file(".dat");
  Lintwick::Progress progress;
  const Lintwick::ProgressFileState state = Lintwick::ReadProgressFile(file.Write(data, size), progress);
  Check(state != Lintwick::ProgressFileState::Missing);
  if (state == Lintwick::ProgressFileState::Read) CheckProgress(progress);
  if (state == Lintwick::ProgressFileState::Damaged) Check(progress == Lintwick::Progress{});

  if (const std::optional<Lintwick::Progress> wrapped = Lintwick::ReadProgress(WithHeader(data, size))) {
    CheckProgress(*wrapped);
  }
  return 0;
}
