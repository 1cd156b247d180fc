// The text table in English, French and German. Non-ASCII letters are
// Windows-1252 bytes written as escapes (é E9, è E8, ç E7, Ä C4, Ü DC, ü FC,
// ß DF); an escape is closed by splitting the literal where a hex digit follows.

#include "game/shell/Texts.h"

#include <array>

#include "framework/widget/Dialog.h"

namespace Lintwick {

std::string TEXT_CLICK_TO_START;
std::string TEXT_LOADING;
std::string TEXT_NEW_GAME;
std::string TEXT_OPTIONS;
std::string TEXT_HINT;
std::string TEXT_EXIT_GAME;
std::string TEXT_LEVEL_LABEL;
std::string TEXT_SCORE_LABEL;
std::string TEXT_OPTIONS_TITLE;
std::string TEXT_DONE;
std::string TEXT_HIGH_SCORES;
std::string TEXT_HELP;
std::string TEXT_LANGUAGE;
std::string TEXT_ABOUT;
std::string TEXT_MUSIC_VOLUME;
std::string TEXT_EFFECTS_VOLUME;
std::string TEXT_FULL_SCREEN;
std::string TEXT_CUSTOM_CURSORS;
std::string TEXT_HARDWARE_ACCELERATION;
std::string TEXT_START_NEW_GAME_TITLE;
std::string TEXT_START_NEW_GAME_QUESTION;
std::string TEXT_NEW_GAME_TITLE;
std::string TEXT_NEW_GAME_QUESTION;
std::string TEXT_RESTART_LEVEL_TITLE;
std::string TEXT_RESTART_LEVEL_QUESTION;
std::string TEXT_EXIT_GAME_TITLE;
std::string TEXT_EXIT_GAME_QUESTION;
std::string TEXT_CHOOSE_BOARD_TITLE;
std::string TEXT_LEVEL_NUMBER;
std::string TEXT_HELP_TITLE;
std::string TEXT_HELP_CLOSE;
std::string TEXT_HELP_KEYS;
std::string TEXT_ABOUT_TITLE;
std::string TEXT_ABOUT_CLOSE;
std::string TEXT_ABOUT_BODY;
std::string TEXT_HIGH_SCORES_TITLE;
std::string TEXT_HIGH_SCORES_CLOSE;
std::string TEXT_SELECT_LANGUAGE_TITLE;

const std::string* const TEXT_MAIN_MENU_BUTTONS[4] = {&TEXT_NEW_GAME, &TEXT_OPTIONS, &TEXT_HINT, &TEXT_EXIT_GAME};
const std::string* const TEXT_OPTIONS_BUTTONS[4] = {&TEXT_HIGH_SCORES, &TEXT_HELP, &TEXT_LANGUAGE, &TEXT_ABOUT};

namespace {

// The about text: the version line, the maker, the support contact. Only
// the support heading differs between the languages.
#define ABOUT_HEAD "Lintwick v%s \n\nCopyright Tamo Games. All rights reserved.\nwww.tamogames.com\n\n"
#define ABOUT_TAIL "\nsupport@tamogames.com"

struct Entry {
  std::string* text;
  std::array<const char*, 3> words;  // English, French, German
};

const Entry kTable[] = {
    {&TEXT_CLICK_TO_START,
     {"Click here to start the game", "Cliquez ici pour commencer le jeu", "Hier klicken um das Spiel zu beginnen"}},
    {&TEXT_LOADING, {"Loading...", "Chargement...", "Laden..."}},
    {&TEXT_NEW_GAME, {"New Game", "Nouvelle partie", "Neues spiel"}},
    {&TEXT_OPTIONS, {"Options", "Options", "Optionen"}},
    {&TEXT_HINT, {"Hint (%d left)", "Conseil (%d rest.)", "Tipp (%d geblieb.)"}},
    {&TEXT_EXIT_GAME, {"Exit Game", "Quitter le jeu", "Spiel verlassen"}},
    {&TEXT_LEVEL_LABEL, {"Level: %d", "Niveau: %d", "Level: %d"}},
    {&TEXT_SCORE_LABEL, {"Score: %d", "Score: %d", "Punkte: %d"}},
    {&TEXT_OPTIONS_TITLE, {"OPTIONS", "OPTIONS", "OPTIONEN"}},
    {&TEXT_DONE, {"DONE", "TERMINE", "FERTIG"}},
    {&TEXT_HIGH_SCORES, {"High Scores", "Records", "Highscores"}},
    {&TEXT_HELP, {"Help", "Aide", "Hilfe"}},
    {&TEXT_LANGUAGE, {"Language", "Langue", "Sprache"}},
    {&TEXT_ABOUT,
     {"About", "A propos",
      "\xDC"
      "ber"}},
    {&TEXT_MUSIC_VOLUME, {"Music Volume", "Vol. Musiques", "Musik-Lautst."}},
    {&TEXT_EFFECTS_VOLUME, {"Effects Volume", "Volume Sons", "Effekte-Lautst."}},
    {&TEXT_FULL_SCREEN, {"Full Screen", "Plein Ecran", "Vollbild"}},
    {&TEXT_CUSTOM_CURSORS, {"Custom Cursors", "Curseurs Perso.", "Eig. Mauszeiger"}},
    {&TEXT_HARDWARE_ACCELERATION,
     {"Hardware Acceleration", "Acc\xE9l\xE9ration Mat\xE9rielle", "Hardwarebeschleunigung"}},
    {&TEXT_START_NEW_GAME_TITLE, {"START NEW GAME", "NOUVELLE PARTIE", "NEUES SPIEL BEGINNEN"}},
    {&TEXT_START_NEW_GAME_QUESTION,
     {"If you start a new game your last game will be lost. OK?",
      "Si vous commencez une nouvelle partie, votre derni\xE8re partie sera perdue. D'accord?",
      "Wenn Sie ein neues Spiel beginnen, wird Ihr letztes Spiel verloren sein. OK?"}},
    {&TEXT_NEW_GAME_TITLE, {"NEW GAME", "NOUVELLE PARTIE", "NEUES SPIEL"}},
    {&TEXT_NEW_GAME_QUESTION,
     {"Are you sure you want to end this game?", "Voulez-vous vraiment terminer cette partie?",
      "Wollen Sie wirklich dieses Spiel beenden?"}},
    {&TEXT_RESTART_LEVEL_TITLE, {"RESTART LEVEL", "RECOMMENCER LE NIVEAU", "LEVEL NEU STARTEN"}},
    {&TEXT_RESTART_LEVEL_QUESTION,
     {"Are you sure you want to replay this level?", "Voulez-vous vraiment rejouer ce niveau?",
      "Wollen Sie wirklich dieser level wiederholen?"}},
    {&TEXT_EXIT_GAME_TITLE, {"EXIT GAME", "QUITTER LE JEU", "SPIEL VERLASSEN"}},
    {&TEXT_EXIT_GAME_QUESTION,
     {"Are you sure you want to exit?", "Voulez-vous vraiment quitter le jeu?", "Wollen Sie wirklich verlassen?"}},
    {&TEXT_CHOOSE_BOARD_TITLE, {"CHOOSE BOARD", "CHOISIR UN TABLEAU", "BRETT W\xC4HLEN"}},
    {&TEXT_LEVEL_NUMBER, {"Level %d", "Niveau %d", "Level %d"}},
    {&TEXT_HELP_TITLE, {"HELP", "AIDE", "HILFE"}},
    {&TEXT_HELP_CLOSE,
     {"CLOSE", "FERMER",
      "SCHLIE\xDF"
      "EN"}},
    {&TEXT_HELP_KEYS,
     {"Keys: arrows, Space/Enter (click), Backspace/Esc (cancel), Tab (menu). Controller: d-pad or stick, A, B, "
      "Start (options).",
      "Clavier : fl\xE8"
      "ches, Espace/Entr\xE9"
      "e (clic), \xC9"
      "chap (annuler), Tab (menu). Manette : croix, "
      "A, B, Start (options).",
      "Tasten: Pfeile, Leer/Eingabe (Klick), R\xFC"
      "ck/Esc (Abbruch), Tab (Men\xFC). Controller: Kreuz, A, B, "
      "Start (Optionen)."}},
    {&TEXT_ABOUT_TITLE,
     {"ABOUT", "A PROPOS",
      "\xDC"
      "BER"}},
    {&TEXT_ABOUT_CLOSE,
     {"CLOSE", "FERMER",
      "SCHLIE\xDF"
      "EN"}},
    {&TEXT_ABOUT_BODY,
     {ABOUT_HEAD "Technical support:" ABOUT_TAIL, ABOUT_HEAD "Assistance technique:" ABOUT_TAIL,
      ABOUT_HEAD "Technische Unterst\xFCtzung:" ABOUT_TAIL}},
    {&TEXT_HIGH_SCORES_TITLE, {"HIGH SCORES", "RECORDS", "HIGHSCORES"}},
    {&TEXT_HIGH_SCORES_CLOSE,
     {"CLOSE", "FERMER",
      "SCHLIE\xDF"
      "EN"}},
    {&TEXT_SELECT_LANGUAGE_TITLE, {"SELECT LANGUAGE", "SELECTIONNER LA LANGUE", "SPRACHE W\xC4HLEN"}},
    // The framework's dialog buttons.
    {&Zing::TEXT_DIALOG_YES, {"YES", "OUI", "JA"}},
    {&Zing::TEXT_DIALOG_NO, {"NO", "NON", "NEIN"}},
    {&Zing::TEXT_DIALOG_OK, {"OK", "OK", "OK"}},
    {&Zing::TEXT_DIALOG_CANCEL, {"CANCEL", "ANNULER", "ABBRECHEN"}},
};

#undef ABOUT_HEAD
#undef ABOUT_TAIL

// Replaces the first "%d" or "%s" of `text` with `value`; a text without one
// is returned unchanged. The table's texts are never used as a format string.
std::string FillPlaceholder(const std::string& text, const char* placeholder, const std::string& value) {
  const std::size_t at = text.find(placeholder);
  if (at == std::string::npos) return text;
  return text.substr(0, at) + value + text.substr(at + 2);
}

}  // namespace

Language LanguageOfLocale(const std::string& locale) {
  if (locale == "Fr") return Language::French;
  if (locale == "De") return Language::German;
  return Language::English;
}

const char* LocaleOfLanguage(Language language) {
  switch (language) {
    case Language::French:
      return "Fr";
    case Language::German:
      return "De";
    case Language::English:
      break;
  }
  return "En";
}

void SetupTexts(Language language) {
  const auto column = static_cast<std::size_t>(language);
  for (const Entry& entry : kTable) *entry.text = entry.words[column];
}

std::string FormatText(const std::string& text, int number) {
  return FillPlaceholder(text, "%d", std::to_string(number));
}

std::string FormatText(const std::string& text, const std::string& word) { return FillPlaceholder(text, "%s", word); }

}  // namespace Lintwick
