#pragma once

// The game's resource identifiers: one process-wide global per image, font
// and sound of the manifest, named exactly as the resource, filled once per
// loading group by its extraction right after the group has loaded. The game
// never looks a resource up by name while it runs.
//
// Images are plain pointers (the resource manager keeps the images alive),
// fonts font pointers, sounds integer sound ids; all start null or 0.
//
// The per-language images ("_EN", "_FR", "_DE") are never drawn by their own
// names: the language-neutral aliases at the end point at the images of the
// selected language (the application sets them when the language is chosen).

namespace Zing {
class Font;
class Image;
class ResourceManager;
}  // namespace Zing

namespace Lintwick {

// Group "Init": loaded on the main thread before anything is shown.
extern Zing::Font* FONT_DEFAULT;
extern Zing::Image* IMAGE_CUSTOM_DRAGGING;
extern Zing::Image* IMAGE_CUSTOM_HAND;
extern Zing::Image* IMAGE_CUSTOM_POINTER;
extern Zing::Image* IMAGE_CUSTOM_TEXT;
extern Zing::Image* IMAGE_DIALOG_BOX;
extern Zing::Image* IMAGE_DIALOG_BUTTON;
extern int SOUND_GUI_CLICK;

// Group "Splash": the splash screen's own images.
extern Zing::Image* IMAGE_LOADING_BAR;
extern Zing::Image* IMAGE_SPLASH_BKG;
extern Zing::Image* IMAGE_SPLASH_TEXT;

// Group "Game": loaded on the loading thread while the splash shows progress.
extern Zing::Font* FONT_SMALL_DIGITS;
extern Zing::Image* IMAGE_BUTTON_DOWN;
extern Zing::Image* IMAGE_BUTTON_NORMAL;
extern Zing::Image* IMAGE_BUTTON_OVER;
extern Zing::Image* IMAGE_CELL;
extern Zing::Image* IMAGE_CHECKBOX;
extern Zing::Image* IMAGE_CONTINUE_DE;
extern Zing::Image* IMAGE_CONTINUE_EN;
extern Zing::Image* IMAGE_CONTINUE_FR;
extern Zing::Image* IMAGE_CONTINUE_HLT_DE;
extern Zing::Image* IMAGE_CONTINUE_HLT_EN;
extern Zing::Image* IMAGE_CONTINUE_HLT_FR;
extern Zing::Image* IMAGE_DAILY_DE;
extern Zing::Image* IMAGE_DAILY_EN;
extern Zing::Image* IMAGE_DAILY_FR;
extern Zing::Image* IMAGE_DAILY_HLT_DE;
extern Zing::Image* IMAGE_DAILY_HLT_EN;
extern Zing::Image* IMAGE_DAILY_HLT_FR;
extern Zing::Image* IMAGE_DIGITS;
extern Zing::Image* IMAGE_EFFECT_TEXTS_DE;
extern Zing::Image* IMAGE_EFFECT_TEXTS_EN;
extern Zing::Image* IMAGE_EFFECT_TEXTS_FR;
extern Zing::Image* IMAGE_GAME_BKG;
extern Zing::Image* IMAGE_HELP_DE;
extern Zing::Image* IMAGE_HELP_EN;
extern Zing::Image* IMAGE_HELP_FR;
extern Zing::Image* IMAGE_HIGHLIGHTS;
extern Zing::Image* IMAGE_HINT_BKG;
extern Zing::Image* IMAGE_HINT_CELL;
extern Zing::Image* IMAGE_HINT_LINKS;
extern Zing::Image* IMAGE_HINT_NODES;
extern Zing::Image* IMAGE_HINT_SHADOW;
extern Zing::Image* IMAGE_HINT_STICKS;
extern Zing::Image* IMAGE_LINK0;
extern Zing::Image* IMAGE_LINK1;
extern Zing::Image* IMAGE_LINK2;
extern Zing::Image* IMAGE_LINK3;
extern Zing::Image* IMAGE_LINK4;
extern Zing::Image* IMAGE_LINK5;
extern Zing::Image* IMAGE_LINK6;
extern Zing::Image* IMAGE_MARK;
extern Zing::Image* IMAGE_MENU_BKG;
extern Zing::Image* IMAGE_MENU_TITLE_DE;
extern Zing::Image* IMAGE_MENU_TITLE_EN;
extern Zing::Image* IMAGE_MENU_TITLE_FR;
extern Zing::Image* IMAGE_NEW_DE;
extern Zing::Image* IMAGE_NEW_EN;
extern Zing::Image* IMAGE_NEW_FR;
extern Zing::Image* IMAGE_NEW_HLT_DE;
extern Zing::Image* IMAGE_NEW_HLT_EN;
extern Zing::Image* IMAGE_NEW_HLT_FR;
extern Zing::Image* IMAGE_PANEL;
extern Zing::Image* IMAGE_PANEL_TEXT;
extern Zing::Image* IMAGE_REPLAY_BKG;
extern Zing::Image* IMAGE_REPLAY_CELL;
extern Zing::Image* IMAGE_REPLAY_DE;
extern Zing::Image* IMAGE_REPLAY_EN;
extern Zing::Image* IMAGE_REPLAY_FR;
extern Zing::Image* IMAGE_REPLAY_HLT_DE;
extern Zing::Image* IMAGE_REPLAY_HLT_EN;
extern Zing::Image* IMAGE_REPLAY_HLT_FR;
extern Zing::Image* IMAGE_REPLAY_LINKS;
extern Zing::Image* IMAGE_REPLAY_LOCKED_DE;
extern Zing::Image* IMAGE_REPLAY_LOCKED_EN;
extern Zing::Image* IMAGE_REPLAY_LOCKED_FR;
extern Zing::Image* IMAGE_REPLAY_MARKS;
extern Zing::Image* IMAGE_REPLAY_NODES;
extern Zing::Image* IMAGE_REPLAY_SHADOW;
extern Zing::Image* IMAGE_REPLAY_STICKS;
extern Zing::Image* IMAGE_ROLLING_CUBE0;
extern Zing::Image* IMAGE_ROLLING_CUBE1;
extern Zing::Image* IMAGE_ROLLING_CUBE2;
extern Zing::Image* IMAGE_ROLLING_CUBE3;
extern Zing::Image* IMAGE_ROLLING_CUBE4;
extern Zing::Image* IMAGE_ROLLING_CUBE5;
extern Zing::Image* IMAGE_ROLLING_CUBE6;
extern Zing::Image* IMAGE_SCROLLBAR_BUTTON_LEFT;
extern Zing::Image* IMAGE_SCROLLBAR_BUTTON_RIGHT;
extern Zing::Image* IMAGE_SCROLLBAR_THUMB;
extern Zing::Image* IMAGE_SCROLLBAR_TRACK;
extern Zing::Image* IMAGE_SHADOW_PIECE;
extern Zing::Image* IMAGE_SHUTTERS;
extern Zing::Image* IMAGE_SLIDER_THUMB;
extern Zing::Image* IMAGE_SLIDER_TRACK;
extern Zing::Image* IMAGE_STAR_BIG;
extern Zing::Image* IMAGE_STAR_SMALL;
extern Zing::Image* IMAGE_TARGET;
extern Zing::Image* IMAGE_VORTEX0;
extern Zing::Image* IMAGE_VORTEX1;
extern Zing::Image* IMAGE_VORTEX2;
extern Zing::Image* IMAGE_VORTEX3;
extern Zing::Image* IMAGE_VORTEX4;
extern Zing::Image* IMAGE_VORTEX5;
extern Zing::Image* IMAGE_VORTEX6;
extern Zing::Image* IMAGE_VORTEX_LINE;
extern int SOUND_CUBE_BUMP;
extern int SOUND_CUBE_CLICK;
extern int SOUND_CUBE_DROP;
extern int SOUND_CUBE_TAP;
extern int SOUND_SHUTTERS_BLUR;
extern int SOUND_SHUTTERS_BUMP;
extern int SOUND_SHUTTERS_MOVE;
extern int SOUND_STAR_BIG;
extern int SOUND_STAR_SMALL;
extern int SOUND_VORTEX;

// Language-neutral aliases of the per-language images; null until the
// language is selected after group "Game" has loaded.
extern Zing::Image* IMAGE_NEW;
extern Zing::Image* IMAGE_DAILY;
extern Zing::Image* IMAGE_DAILY_HLT;
extern Zing::Image* IMAGE_NEW_HLT;
extern Zing::Image* IMAGE_CONTINUE;
extern Zing::Image* IMAGE_CONTINUE_HLT;
extern Zing::Image* IMAGE_REPLAY;
extern Zing::Image* IMAGE_REPLAY_HLT;
extern Zing::Image* IMAGE_REPLAY_LOCKED;
extern Zing::Image* IMAGE_MENU_TITLE;
extern Zing::Image* IMAGE_HELP;
extern Zing::Image* IMAGE_EFFECT_TEXTS;

// The identifiers of the images of one link colour (0..6), for code that
// picks them by colour; a colour out of range gives an identifier of its own
// that stays null.
inline constexpr int kLinkColours = 7;
Zing::Image*& LinkImage(int colour);
Zing::Image*& RollingCubeImage(int colour);
Zing::Image*& VortexImage(int colour);

// Fill the identifiers of one group from the resource manager, in ascending
// order of their names (fonts, images, sounds). The first lookup that fails
// stops the extraction: identifiers before it keep their new values, it and
// those after it their old ones, and the answer is false.
bool ExtractInitResources(Zing::ResourceManager* manager);
bool ExtractSplashResources(Zing::ResourceManager* manager);
bool ExtractGameResources(Zing::ResourceManager* manager);

// The sound id of a game sound effect ("SOUND_CUBE_TAP" for the cube tap and
// so on); 0 until its group has been extracted.
enum class Sound;
int SoundId(Sound sound);

}  // namespace Lintwick
