// The words painted into the artwork, per language (UTF-8 here; the lettering
// draws them as outlines, so no code page is involved).
#pragma once

#include <array>
#include <string>

namespace artgen {

struct Language {
  const char* suffix;  // of the resource ids and file names: "EN", "FR", "DE"
  // The effect texts on the shutters, rows 0 to 10 (row 5 is the shimmer, no
  // words; rows 9 and 10 stand for rows 0 and 1 after a perfect board).
  std::array<const char*, 11> effects;
  const char* newGame;
  const char* continueGame;
  const char* replay;
  const char* daily;  // the start screen's way to the day's board
  const char* tagline;
  const char* locked;
  const char* lockedHint;
  // The help page: a heading and two lines for each of its four pictures.
  std::array<std::array<const char*, 3>, 4> help;
};

inline const std::array<Language, 3> kLanguages = {{
    {"EN",
     {"LEVEL", "COMPLETE", "FAILED", "ALL LEVELS", "COMPLETE!", "", "LEVEL POINTS", "TRY", "AGAIN", "PERFECT",
      "BOARD!"},
     "New Game",
     "Continue Game",
     "Replay a Level",
     "Daily Board",
     "join every pair",
     "LOCKED",
     "Solve the boards before it",
     {{{"Join the pairs", "Draw a path between the two", "pieces of every colour."},
       {"The rolling cube", "It lays the path as you move.", "Click the last piece to go on."},
       {"Cutting costs", "Removing laid pieces costs points", "and empties the vortex bar."},
       {"Hints", "A hint shows the whole solution", "in the panel. Ten per game."}}}},
    {"FR",
     {"NIVEAU", "TERMINÉ", "ÉCHEC", "TOUS LES NIVEAUX", "TERMINÉS !", "", "POINTS DU NIVEAU", "NOUVEL", "ESSAI",
      "TABLEAU", "PARFAIT !"},
     "Nouvelle partie",
     "Continuer la partie",
     "Rejouer un niveau",
     "Tableau du jour",
     "reliez chaque paire",
     "VERROUILLÉ",
     "Résolvez d'abord les précédents",
     {{{"Reliez les paires", "Tracez un chemin entre les deux", "pièces de chaque couleur."},
       {"Le cube roulant", "Il pose le chemin qui vous suit.", "Cliquez la dernière pièce."},
       {"Couper coûte", "Retirer des pièces coûte des points", "et vide la barre des tourbillons."},
       {"Conseils", "Un conseil montre la solution", "dans le panneau. Dix par partie."}}}},
    {"DE",
     {"LEVEL", "GESCHAFFT", "VERLOREN", "ALLE LEVEL", "GESCHAFFT!", "", "LEVELPUNKTE", "NOCH EIN", "VERSUCH",
      "PERFEKTES", "BRETT!"},
     "Neues Spiel",
     "Spiel fortsetzen",
     "Level wiederholen",
     "Brett des Tages",
     "verbinde jedes Paar",
     "GESPERRT",
     "Erst die Bretter davor lösen",
     {{{"Paare verbinden", "Ziehe einen Weg zwischen den", "zwei Steinen jeder Farbe."},
       {"Der rollende Würfel", "Er legt den Weg, während du ziehst.", "Klicke den letzten Stein an."},
       {"Schneiden kostet", "Gelegte Steine entfernen kostet", "Punkte und leert die Wirbelleiste."},
       {"Tipps", "Ein Tipp zeigt die ganze Lösung", "im Seitenfeld. Zehn pro Spiel."}}}},
}};

}  // namespace artgen
