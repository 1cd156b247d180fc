// Definitions of the resource identifiers and the lists of each loading
// group, in the fixed order of extraction (ascending names: fonts, images,
// sounds).

#include "game/shell/Resources.h"

#include "game/puzzle/PuzzleHost.h"
#include "game/shell/ResourceGroups.h"

namespace Lintwick {

Zing::Font* FONT_DEFAULT = nullptr;
Zing::Image* IMAGE_CUSTOM_DRAGGING = nullptr;
Zing::Image* IMAGE_CUSTOM_HAND = nullptr;
Zing::Image* IMAGE_CUSTOM_POINTER = nullptr;
Zing::Image* IMAGE_CUSTOM_TEXT = nullptr;
Zing::Image* IMAGE_DIALOG_BOX = nullptr;
Zing::Image* IMAGE_DIALOG_BUTTON = nullptr;
int SOUND_GUI_CLICK = 0;
Zing::Image* IMAGE_LOADING_BAR = nullptr;
Zing::Image* IMAGE_SPLASH_BKG = nullptr;
Zing::Image* IMAGE_SPLASH_TEXT = nullptr;
Zing::Font* FONT_SMALL_DIGITS = nullptr;
Zing::Image* IMAGE_BUTTON_DOWN = nullptr;
Zing::Image* IMAGE_BUTTON_NORMAL = nullptr;
Zing::Image* IMAGE_BUTTON_OVER = nullptr;
Zing::Image* IMAGE_CELL = nullptr;
Zing::Image* IMAGE_CHECKBOX = nullptr;
Zing::Image* IMAGE_CONTINUE_DE = nullptr;
Zing::Image* IMAGE_CONTINUE_EN = nullptr;
Zing::Image* IMAGE_CONTINUE_FR = nullptr;
Zing::Image* IMAGE_CONTINUE_HLT_DE = nullptr;
Zing::Image* IMAGE_CONTINUE_HLT_EN = nullptr;
Zing::Image* IMAGE_CONTINUE_HLT_FR = nullptr;
Zing::Image* IMAGE_DAILY_DE = nullptr;
Zing::Image* IMAGE_DAILY_EN = nullptr;
Zing::Image* IMAGE_DAILY_FR = nullptr;
Zing::Image* IMAGE_DAILY_HLT_DE = nullptr;
Zing::Image* IMAGE_DAILY_HLT_EN = nullptr;
Zing::Image* IMAGE_DAILY_HLT_FR = nullptr;
Zing::Image* IMAGE_DIGITS = nullptr;
Zing::Image* IMAGE_EFFECT_TEXTS_DE = nullptr;
Zing::Image* IMAGE_EFFECT_TEXTS_EN = nullptr;
Zing::Image* IMAGE_EFFECT_TEXTS_FR = nullptr;
Zing::Image* IMAGE_GAME_BKG = nullptr;
Zing::Image* IMAGE_HELP_DE = nullptr;
Zing::Image* IMAGE_HELP_EN = nullptr;
Zing::Image* IMAGE_HELP_FR = nullptr;
Zing::Image* IMAGE_HIGHLIGHTS = nullptr;
Zing::Image* IMAGE_HINT_BKG = nullptr;
Zing::Image* IMAGE_HINT_CELL = nullptr;
Zing::Image* IMAGE_HINT_LINKS = nullptr;
Zing::Image* IMAGE_HINT_NODES = nullptr;
Zing::Image* IMAGE_HINT_SHADOW = nullptr;
Zing::Image* IMAGE_HINT_STICKS = nullptr;
Zing::Image* IMAGE_LINK0 = nullptr;
Zing::Image* IMAGE_LINK1 = nullptr;
Zing::Image* IMAGE_LINK2 = nullptr;
Zing::Image* IMAGE_LINK3 = nullptr;
Zing::Image* IMAGE_LINK4 = nullptr;
Zing::Image* IMAGE_LINK5 = nullptr;
Zing::Image* IMAGE_LINK6 = nullptr;
Zing::Image* IMAGE_MARK = nullptr;
Zing::Image* IMAGE_MENU_BKG = nullptr;
Zing::Image* IMAGE_MENU_TITLE_DE = nullptr;
Zing::Image* IMAGE_MENU_TITLE_EN = nullptr;
Zing::Image* IMAGE_MENU_TITLE_FR = nullptr;
Zing::Image* IMAGE_NEW_DE = nullptr;
Zing::Image* IMAGE_NEW_EN = nullptr;
Zing::Image* IMAGE_NEW_FR = nullptr;
Zing::Image* IMAGE_NEW_HLT_DE = nullptr;
Zing::Image* IMAGE_NEW_HLT_EN = nullptr;
Zing::Image* IMAGE_NEW_HLT_FR = nullptr;
Zing::Image* IMAGE_PANEL = nullptr;
Zing::Image* IMAGE_PANEL_TEXT = nullptr;
Zing::Image* IMAGE_REPLAY_BKG = nullptr;
Zing::Image* IMAGE_REPLAY_CELL = nullptr;
Zing::Image* IMAGE_REPLAY_DE = nullptr;
Zing::Image* IMAGE_REPLAY_EN = nullptr;
Zing::Image* IMAGE_REPLAY_FR = nullptr;
Zing::Image* IMAGE_REPLAY_HLT_DE = nullptr;
Zing::Image* IMAGE_REPLAY_HLT_EN = nullptr;
Zing::Image* IMAGE_REPLAY_HLT_FR = nullptr;
Zing::Image* IMAGE_REPLAY_LINKS = nullptr;
Zing::Image* IMAGE_REPLAY_LOCKED_DE = nullptr;
Zing::Image* IMAGE_REPLAY_LOCKED_EN = nullptr;
Zing::Image* IMAGE_REPLAY_LOCKED_FR = nullptr;
Zing::Image* IMAGE_REPLAY_MARKS = nullptr;
Zing::Image* IMAGE_REPLAY_NODES = nullptr;
Zing::Image* IMAGE_REPLAY_SHADOW = nullptr;
Zing::Image* IMAGE_REPLAY_STICKS = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE0 = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE1 = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE2 = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE3 = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE4 = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE5 = nullptr;
Zing::Image* IMAGE_ROLLING_CUBE6 = nullptr;
Zing::Image* IMAGE_SCROLLBAR_BUTTON_LEFT = nullptr;
Zing::Image* IMAGE_SCROLLBAR_BUTTON_RIGHT = nullptr;
Zing::Image* IMAGE_SCROLLBAR_THUMB = nullptr;
Zing::Image* IMAGE_SCROLLBAR_TRACK = nullptr;
Zing::Image* IMAGE_SHADOW_PIECE = nullptr;
Zing::Image* IMAGE_SHUTTERS = nullptr;
Zing::Image* IMAGE_SLIDER_THUMB = nullptr;
Zing::Image* IMAGE_SLIDER_TRACK = nullptr;
Zing::Image* IMAGE_STAR_BIG = nullptr;
Zing::Image* IMAGE_STAR_SMALL = nullptr;
Zing::Image* IMAGE_TARGET = nullptr;
Zing::Image* IMAGE_VORTEX0 = nullptr;
Zing::Image* IMAGE_VORTEX1 = nullptr;
Zing::Image* IMAGE_VORTEX2 = nullptr;
Zing::Image* IMAGE_VORTEX3 = nullptr;
Zing::Image* IMAGE_VORTEX4 = nullptr;
Zing::Image* IMAGE_VORTEX5 = nullptr;
Zing::Image* IMAGE_VORTEX6 = nullptr;
Zing::Image* IMAGE_VORTEX_LINE = nullptr;
int SOUND_CUBE_BUMP = 0;
int SOUND_CUBE_CLICK = 0;
int SOUND_CUBE_DROP = 0;
int SOUND_CUBE_TAP = 0;
int SOUND_SHUTTERS_BLUR = 0;
int SOUND_SHUTTERS_BUMP = 0;
int SOUND_SHUTTERS_MOVE = 0;
int SOUND_STAR_BIG = 0;
int SOUND_STAR_SMALL = 0;
int SOUND_VORTEX = 0;
Zing::Image* IMAGE_NEW = nullptr;
Zing::Image* IMAGE_DAILY = nullptr;
Zing::Image* IMAGE_DAILY_HLT = nullptr;
Zing::Image* IMAGE_NEW_HLT = nullptr;
Zing::Image* IMAGE_CONTINUE = nullptr;
Zing::Image* IMAGE_CONTINUE_HLT = nullptr;
Zing::Image* IMAGE_REPLAY = nullptr;
Zing::Image* IMAGE_REPLAY_HLT = nullptr;
Zing::Image* IMAGE_REPLAY_LOCKED = nullptr;
Zing::Image* IMAGE_MENU_TITLE = nullptr;
Zing::Image* IMAGE_HELP = nullptr;
Zing::Image* IMAGE_EFFECT_TEXTS = nullptr;

namespace {

constexpr ResourceEntry ImageEntry(const char* name, Zing::Image** image) { return {name, image, nullptr, nullptr}; }
constexpr ResourceEntry FontEntry(const char* name, Zing::Font** font) { return {name, nullptr, font, nullptr}; }
constexpr ResourceEntry SoundEntry(const char* name, int* sound) { return {name, nullptr, nullptr, sound}; }

#define LINTWICK_IMAGE(id) ImageEntry(#id, &id)
#define LINTWICK_FONT(id) FontEntry(#id, &id)
#define LINTWICK_SOUND(id) SoundEntry(#id, &id)

const ResourceEntry kInitGroupEntries[] = {
    LINTWICK_FONT(FONT_DEFAULT),          LINTWICK_IMAGE(IMAGE_CUSTOM_DRAGGING), LINTWICK_IMAGE(IMAGE_CUSTOM_HAND),
    LINTWICK_IMAGE(IMAGE_CUSTOM_POINTER), LINTWICK_IMAGE(IMAGE_CUSTOM_TEXT),     LINTWICK_IMAGE(IMAGE_DIALOG_BOX),
    LINTWICK_IMAGE(IMAGE_DIALOG_BUTTON),  LINTWICK_SOUND(SOUND_GUI_CLICK),
};

const ResourceEntry kSplashGroupEntries[] = {
    LINTWICK_IMAGE(IMAGE_LOADING_BAR),
    LINTWICK_IMAGE(IMAGE_SPLASH_BKG),
    LINTWICK_IMAGE(IMAGE_SPLASH_TEXT),
};

const ResourceEntry kGameGroupEntries[] = {
    LINTWICK_FONT(FONT_SMALL_DIGITS),
    LINTWICK_IMAGE(IMAGE_BUTTON_DOWN),
    LINTWICK_IMAGE(IMAGE_BUTTON_NORMAL),
    LINTWICK_IMAGE(IMAGE_BUTTON_OVER),
    LINTWICK_IMAGE(IMAGE_CELL),
    LINTWICK_IMAGE(IMAGE_CHECKBOX),
    LINTWICK_IMAGE(IMAGE_CONTINUE_DE),
    LINTWICK_IMAGE(IMAGE_CONTINUE_EN),
    LINTWICK_IMAGE(IMAGE_CONTINUE_FR),
    LINTWICK_IMAGE(IMAGE_CONTINUE_HLT_DE),
    LINTWICK_IMAGE(IMAGE_CONTINUE_HLT_EN),
    LINTWICK_IMAGE(IMAGE_CONTINUE_HLT_FR),
    LINTWICK_IMAGE(IMAGE_DAILY_DE),
    LINTWICK_IMAGE(IMAGE_DAILY_EN),
    LINTWICK_IMAGE(IMAGE_DAILY_FR),
    LINTWICK_IMAGE(IMAGE_DAILY_HLT_DE),
    LINTWICK_IMAGE(IMAGE_DAILY_HLT_EN),
    LINTWICK_IMAGE(IMAGE_DAILY_HLT_FR),
    LINTWICK_IMAGE(IMAGE_DIGITS),
    LINTWICK_IMAGE(IMAGE_EFFECT_TEXTS_DE),
    LINTWICK_IMAGE(IMAGE_EFFECT_TEXTS_EN),
    LINTWICK_IMAGE(IMAGE_EFFECT_TEXTS_FR),
    LINTWICK_IMAGE(IMAGE_GAME_BKG),
    LINTWICK_IMAGE(IMAGE_HELP_DE),
    LINTWICK_IMAGE(IMAGE_HELP_EN),
    LINTWICK_IMAGE(IMAGE_HELP_FR),
    LINTWICK_IMAGE(IMAGE_HIGHLIGHTS),
    LINTWICK_IMAGE(IMAGE_HINT_BKG),
    LINTWICK_IMAGE(IMAGE_HINT_CELL),
    LINTWICK_IMAGE(IMAGE_HINT_LINKS),
    LINTWICK_IMAGE(IMAGE_HINT_NODES),
    LINTWICK_IMAGE(IMAGE_HINT_SHADOW),
    LINTWICK_IMAGE(IMAGE_HINT_STICKS),
    LINTWICK_IMAGE(IMAGE_LINK0),
    LINTWICK_IMAGE(IMAGE_LINK1),
    LINTWICK_IMAGE(IMAGE_LINK2),
    LINTWICK_IMAGE(IMAGE_LINK3),
    LINTWICK_IMAGE(IMAGE_LINK4),
    LINTWICK_IMAGE(IMAGE_LINK5),
    LINTWICK_IMAGE(IMAGE_LINK6),
    LINTWICK_IMAGE(IMAGE_MARK),
    LINTWICK_IMAGE(IMAGE_MENU_BKG),
    LINTWICK_IMAGE(IMAGE_MENU_TITLE_DE),
    LINTWICK_IMAGE(IMAGE_MENU_TITLE_EN),
    LINTWICK_IMAGE(IMAGE_MENU_TITLE_FR),
    LINTWICK_IMAGE(IMAGE_NEW_DE),
    LINTWICK_IMAGE(IMAGE_NEW_EN),
    LINTWICK_IMAGE(IMAGE_NEW_FR),
    LINTWICK_IMAGE(IMAGE_NEW_HLT_DE),
    LINTWICK_IMAGE(IMAGE_NEW_HLT_EN),
    LINTWICK_IMAGE(IMAGE_NEW_HLT_FR),
    LINTWICK_IMAGE(IMAGE_PANEL),
    LINTWICK_IMAGE(IMAGE_PANEL_TEXT),
    LINTWICK_IMAGE(IMAGE_REPLAY_BKG),
    LINTWICK_IMAGE(IMAGE_REPLAY_CELL),
    LINTWICK_IMAGE(IMAGE_REPLAY_DE),
    LINTWICK_IMAGE(IMAGE_REPLAY_EN),
    LINTWICK_IMAGE(IMAGE_REPLAY_FR),
    LINTWICK_IMAGE(IMAGE_REPLAY_HLT_DE),
    LINTWICK_IMAGE(IMAGE_REPLAY_HLT_EN),
    LINTWICK_IMAGE(IMAGE_REPLAY_HLT_FR),
    LINTWICK_IMAGE(IMAGE_REPLAY_LINKS),
    LINTWICK_IMAGE(IMAGE_REPLAY_LOCKED_DE),
    LINTWICK_IMAGE(IMAGE_REPLAY_LOCKED_EN),
    LINTWICK_IMAGE(IMAGE_REPLAY_LOCKED_FR),
    LINTWICK_IMAGE(IMAGE_REPLAY_MARKS),
    LINTWICK_IMAGE(IMAGE_REPLAY_NODES),
    LINTWICK_IMAGE(IMAGE_REPLAY_SHADOW),
    LINTWICK_IMAGE(IMAGE_REPLAY_STICKS),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE0),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE1),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE2),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE3),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE4),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE5),
    LINTWICK_IMAGE(IMAGE_ROLLING_CUBE6),
    LINTWICK_IMAGE(IMAGE_SCROLLBAR_BUTTON_LEFT),
    LINTWICK_IMAGE(IMAGE_SCROLLBAR_BUTTON_RIGHT),
    LINTWICK_IMAGE(IMAGE_SCROLLBAR_THUMB),
    LINTWICK_IMAGE(IMAGE_SCROLLBAR_TRACK),
    LINTWICK_IMAGE(IMAGE_SHADOW_PIECE),
    LINTWICK_IMAGE(IMAGE_SHUTTERS),
    LINTWICK_IMAGE(IMAGE_SLIDER_THUMB),
    LINTWICK_IMAGE(IMAGE_SLIDER_TRACK),
    LINTWICK_IMAGE(IMAGE_STAR_BIG),
    LINTWICK_IMAGE(IMAGE_STAR_SMALL),
    LINTWICK_IMAGE(IMAGE_TARGET),
    LINTWICK_IMAGE(IMAGE_VORTEX0),
    LINTWICK_IMAGE(IMAGE_VORTEX1),
    LINTWICK_IMAGE(IMAGE_VORTEX2),
    LINTWICK_IMAGE(IMAGE_VORTEX3),
    LINTWICK_IMAGE(IMAGE_VORTEX4),
    LINTWICK_IMAGE(IMAGE_VORTEX5),
    LINTWICK_IMAGE(IMAGE_VORTEX6),
    LINTWICK_IMAGE(IMAGE_VORTEX_LINE),
    LINTWICK_SOUND(SOUND_CUBE_BUMP),
    LINTWICK_SOUND(SOUND_CUBE_CLICK),
    LINTWICK_SOUND(SOUND_CUBE_DROP),
    LINTWICK_SOUND(SOUND_CUBE_TAP),
    LINTWICK_SOUND(SOUND_SHUTTERS_BLUR),
    LINTWICK_SOUND(SOUND_SHUTTERS_BUMP),
    LINTWICK_SOUND(SOUND_SHUTTERS_MOVE),
    LINTWICK_SOUND(SOUND_STAR_BIG),
    LINTWICK_SOUND(SOUND_STAR_SMALL),
    LINTWICK_SOUND(SOUND_VORTEX),
};

#undef LINTWICK_IMAGE
#undef LINTWICK_FONT
#undef LINTWICK_SOUND

}  // namespace

std::span<const ResourceEntry> InitGroup() { return kInitGroupEntries; }
std::span<const ResourceEntry> SplashGroup() { return kSplashGroupEntries; }
std::span<const ResourceEntry> GameGroup() { return kGameGroupEntries; }

namespace {

Zing::Image*& ByColour(Zing::Image** const (&ids)[kLinkColours], int colour) {
  static Zing::Image* none = nullptr;
  if (colour < 0 || colour >= kLinkColours) {
    none = nullptr;
    return none;
  }
  return *ids[colour];
}

Zing::Image** const kLinkImages[kLinkColours] = {&IMAGE_LINK0, &IMAGE_LINK1, &IMAGE_LINK2, &IMAGE_LINK3,
                                                 &IMAGE_LINK4, &IMAGE_LINK5, &IMAGE_LINK6};
Zing::Image** const kCubeImages[kLinkColours] = {&IMAGE_ROLLING_CUBE0, &IMAGE_ROLLING_CUBE1, &IMAGE_ROLLING_CUBE2,
                                                 &IMAGE_ROLLING_CUBE3, &IMAGE_ROLLING_CUBE4, &IMAGE_ROLLING_CUBE5,
                                                 &IMAGE_ROLLING_CUBE6};
Zing::Image** const kVortexImages[kLinkColours] = {&IMAGE_VORTEX0, &IMAGE_VORTEX1, &IMAGE_VORTEX2, &IMAGE_VORTEX3,
                                                   &IMAGE_VORTEX4, &IMAGE_VORTEX5, &IMAGE_VORTEX6};

}  // namespace

Zing::Image*& LinkImage(int colour) { return ByColour(kLinkImages, colour); }
Zing::Image*& RollingCubeImage(int colour) { return ByColour(kCubeImages, colour); }
Zing::Image*& VortexImage(int colour) { return ByColour(kVortexImages, colour); }

int SoundId(Sound sound) {
  switch (sound) {
    case Sound::GuiClick:
      return SOUND_GUI_CLICK;
    case Sound::CubeClick:
      return SOUND_CUBE_CLICK;
    case Sound::CubeTap:
      return SOUND_CUBE_TAP;
    case Sound::CubeBump:
      return SOUND_CUBE_BUMP;
    case Sound::CubeDrop:
      return SOUND_CUBE_DROP;
    case Sound::Vortex:
      return SOUND_VORTEX;
    case Sound::StarSmall:
      return SOUND_STAR_SMALL;
    case Sound::StarBig:
      return SOUND_STAR_BIG;
    case Sound::ShuttersMove:
      return SOUND_SHUTTERS_MOVE;
    case Sound::ShuttersBump:
      return SOUND_SHUTTERS_BUMP;
    case Sound::ShuttersBlur:
      return SOUND_SHUTTERS_BLUR;
  }
  return 0;
}

}  // namespace Lintwick
