#pragma once

// The ids of the game's dialogs. Their yes/ok answers reach the application
// as 2000 + id, their no/cancel answers as 3000 + id.

namespace Lintwick {

inline constexpr int DIALOG_OPTIONS = 0;
inline constexpr int DIALOG_MESSAGE = 1;
inline constexpr int DIALOG_CONFIRM_START_NEW = 2;
inline constexpr int DIALOG_CONFIRM_NEW_GAME = 3;
inline constexpr int DIALOG_RESTART_LEVEL = 4;
inline constexpr int DIALOG_CONFIRM_EXIT = 5;
inline constexpr int DIALOG_LEVEL_CHOOSER = 6;
inline constexpr int DIALOG_HELP = 7;
inline constexpr int DIALOG_ABOUT = 8;
inline constexpr int DIALOG_HIGH_SCORES = 9;
inline constexpr int DIALOG_LANGUAGE = 13;
inline constexpr int DIALOG_DAILY = 14;  // the daily board's message

inline constexpr int kYesAnswer = 2000;
inline constexpr int kNoAnswer = 3000;

}  // namespace Lintwick
