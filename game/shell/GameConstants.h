#pragma once

// Constants shared by the game's screens, the puzzle and the saved files.

namespace Lintwick {

inline constexpr const char* kProductVersion = "1.0.3";
inline constexpr const char* kCompanyName = "Tamo Games";
inline constexpr const char* kProductName = "Lintwick";
inline constexpr const char* kRegistryKey = "TamoGames\\Lintwick";

inline constexpr const char* kSaveFolder = "save";
inline constexpr const char* kSavedGameFile = "save\\game.dat";
inline constexpr const char* kHighScoreFile = "save\\score.dat";

inline constexpr const char* kUnlockedLevelValue = "UnlockedLevel";
inline constexpr const char* kChosenLevelValue = "ChosenLevel";
inline constexpr const char* kLocaleValue = "Locale";

}  // namespace Lintwick
