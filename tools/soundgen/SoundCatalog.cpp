#include "tools/soundgen/SoundCatalog.h"

#include "tools/soundgen/Effects.h"
#include "tools/soundgen/Music.h"
#include "tools/soundgen/OggWriter.h"

namespace SoundGen {

namespace {

// Effects are short and mono: a generous quality costs little. The music is
// long and stereo: a moderate quality keeps it small yet clean.
constexpr double kEffectQuality = 0.5;
constexpr double kMusicQuality = 0.4;

}  // namespace

const std::vector<SoundFile>& SoundFiles() {
  static const std::vector<SoundFile> files = {
      {"sounds/gui_click.ogg", RenderGuiClick, kEffectQuality},
      {"sounds/cube_click.ogg", RenderCubeClick, kEffectQuality},
      {"sounds/cube_tap.ogg", RenderCubeTap, kEffectQuality},
      {"sounds/cube_bump.ogg", RenderCubeBump, kEffectQuality},
      {"sounds/cube_drop.ogg", RenderCubeDrop, kEffectQuality},
      {"sounds/vortex.ogg", RenderVortex, kEffectQuality},
      {"sounds/star_small.ogg", RenderStarSmall, kEffectQuality},
      {"sounds/star_big.ogg", RenderStarBig, kEffectQuality},
      {"sounds/shutters_move.ogg", RenderShuttersMove, kEffectQuality},
      {"sounds/shutters_bump.ogg", RenderShuttersBump, kEffectQuality},
      {"sounds/shutters_blur.ogg", RenderShuttersBlur, kEffectQuality},
      {"music/game.ogg", RenderMusic, kMusicQuality},
  };
  return files;
}

std::vector<unsigned char> BuildSoundFile(const SoundFile& file) {
  OggOptions options;
  options.quality = file.quality;
  // The title is the file's name without folder and extension.
  const std::size_t slash = file.path.find_last_of('/');
  const std::size_t dot = file.path.find_last_of('.');
  options.title = "Lintwick " + file.path.substr(slash + 1, dot - slash - 1);
  return EncodeOggVorbis(file.render(), options);
}

}  // namespace SoundGen
