#pragma once

// The words the game shows: one process-wide string per text, holding the
// current language. Changing the language rewrites the whole table; screens
// that copied a text into a widget relabel themselves. Texts are
// Windows-1252 bytes, which the game's image fonts carry.

#include <string>

namespace Lintwick {

enum class Language { English, French, German };

// The language a stored code selects: "Fr" French, "De" German, anything else
// (other case, other length, empty) English.
Language LanguageOfLocale(const std::string& locale);

// The locale code the game stores for a language ("En", "Fr", "De").
const char* LocaleOfLanguage(Language language);

// Rewrites every text below, and the framework's dialog button captions, for
// the language.
void SetupTexts(Language language);

extern std::string TEXT_CLICK_TO_START;
extern std::string TEXT_LOADING;
extern std::string TEXT_NEW_GAME;
extern std::string TEXT_OPTIONS;
extern std::string TEXT_HINT;
extern std::string TEXT_EXIT_GAME;
extern std::string TEXT_LEVEL_LABEL;
extern std::string TEXT_SCORE_LABEL;
extern std::string TEXT_OPTIONS_TITLE;
extern std::string TEXT_DONE;
extern std::string TEXT_HIGH_SCORES;
extern std::string TEXT_HELP;
extern std::string TEXT_LANGUAGE;
extern std::string TEXT_ABOUT;
extern std::string TEXT_MUSIC_VOLUME;
extern std::string TEXT_EFFECTS_VOLUME;
extern std::string TEXT_FULL_SCREEN;
extern std::string TEXT_CUSTOM_CURSORS;
extern std::string TEXT_HARDWARE_ACCELERATION;
extern std::string TEXT_START_NEW_GAME_TITLE;
extern std::string TEXT_START_NEW_GAME_QUESTION;
extern std::string TEXT_NEW_GAME_TITLE;
extern std::string TEXT_NEW_GAME_QUESTION;
extern std::string TEXT_RESTART_LEVEL_TITLE;
extern std::string TEXT_RESTART_LEVEL_QUESTION;
extern std::string TEXT_EXIT_GAME_TITLE;
extern std::string TEXT_EXIT_GAME_QUESTION;
extern std::string TEXT_CHOOSE_BOARD_TITLE;
extern std::string TEXT_LEVEL_NUMBER;
extern std::string TEXT_HELP_TITLE;
extern std::string TEXT_HELP_CLOSE;
// The keys and controller buttons, under the help page's picture.
extern std::string TEXT_HELP_KEYS;
extern std::string TEXT_ABOUT_TITLE;
extern std::string TEXT_ABOUT_CLOSE;
extern std::string TEXT_ABOUT_BODY;
extern std::string TEXT_HIGH_SCORES_TITLE;
extern std::string TEXT_HIGH_SCORES_CLOSE;
extern std::string TEXT_SELECT_LANGUAGE_TITLE;

// The captions of the main menu's buttons 0 to 3 and of the options dialog's
// buttons 0 to 3, indexed by button id.
extern const std::string* const TEXT_MAIN_MENU_BUTTONS[4];
extern const std::string* const TEXT_OPTIONS_BUTTONS[4];

// A text with one "%d" or "%s" filled in.
std::string FormatText(const std::string& text, int number);
std::string FormatText(const std::string& text, const std::string& word);

}  // namespace Lintwick
