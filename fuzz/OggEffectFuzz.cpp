// Effect files as the sound manager decodes them: any bytes must give a clean
// failure or a whole decoded effect, never a crash or a huge allocation.

#include <cstddef>
#include <cstdint>

#include "framework/audio/OggEffectDecoder.h"
#include "fuzz/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ZingFuzz::InputFile input(".ogg");
  Zing::DecodedSound sound;
  if (Zing::DecodeOggEffect(input.Write(data, size), sound) && sound.samples.empty()) __builtin_trap();
  return 0;
}
