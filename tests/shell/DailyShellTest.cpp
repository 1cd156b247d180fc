// The daily board in the shell: the start screen's way in, its play screen
// beside the running game, the date in the panel, the day counted when it is
// solved; the export of a date's board; the date in each language.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <tuple>

#include "game/levelgen/DailyBoard.h"
#include "game/levelgen/LevelFiles.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/DailyBoardFiles.h"
#include "game/shell/DailyExportCommand.h"
#include "game/shell/DateText.h"
#include "game/shell/DialogIds.h"
#include "game/shell/MainMenu.h"
#include "game/shell/ProgramStart.h"
#include "game/shell/ProgressStore.h"
#include "game/shell/StartScreen.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Lintwick;
using LintwickTest::ShellFixture;

using LintwickTest::Shown;

using DailyFlow = ShellFixture;

TEST_F(DailyFlow, TodaysBoardIsPlayedBesideTheGameAndSolvingItCountsTheDay) {
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  ClickCentre(app->mStartScreen->GetButton(3)->GetRect());
  ASSERT_TRUE(Shown(app->mDailyScreen));
  EXPECT_FALSE(Shown(app->mStartScreen));
  EXPECT_EQ(app->GetShownGameScreen(), app->mDailyScreen);
  const CalendarDate today = LocalToday();
  EXPECT_EQ(app->mMainMenu->LevelLabel(), DateText(today, Language::English));
  EXPECT_EQ(app->mDailyScreen->GetLevel(), DailyLevelIndex(Weekday(today)));

  // The stored solution fills the board: a perfect solve.
  ASSERT_NO_FATAL_FAILURE(DrawSolution(app->mDailyScreen));
  for (int i = 0; i < 400 && app->GetDialog(DIALOG_DAILY) == nullptr; ++i) RunFor(50);
  ASSERT_NE(app->GetDialog(DIALOG_DAILY), nullptr);
  EXPECT_TRUE(Shown(app->mStartScreen));
  EXPECT_FALSE(Shown(app->mDailyScreen));
  const DailyRecord record = app->GetDailyRecord();
  EXPECT_EQ(std::tuple(record.streak, record.best, TodayState(record, DayNumber(today))),
            std::tuple(1, 1, DailyState::Perfect));
  ClickFooter(DIALOG_DAILY);
  EXPECT_EQ(app->GetDialog(DIALOG_DAILY), nullptr);
  EXPECT_FALSE(Shown(app->mShadow));
  // The game of the hundred levels was neither started nor saved over, and
  // no level counts as solved; the day is in the progress file for the next run.
  EXPECT_EQ(app->mGameScreen, nullptr);
  EXPECT_FALSE(home.Exists("data/save/game.dat"));
  EXPECT_EQ(app->GetProgress().SolvedCount(), 0);
  Progress stored;
  ASSERT_EQ(ReadProgressFile(home.File("data/save/progress.dat"), stored), ProgressFileState::Read);
  EXPECT_EQ(stored.daily, record);
}

// A recording keeps the date of the board it opened, and its playback opens
// that date's board whatever day it is played on: the date of the marker at
// the update that opens it.
TEST_F(DailyFlow, ARecordingCarriesItsDateToThePlayback) {
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  app->recordingDemo = true;
  app->StartDailyBoard();
  ASSERT_FALSE(app->demoMarkers.empty());
  EXPECT_EQ(app->demoMarkers.back().name, "daily " + FormatDate(LocalToday()));
  app->ReturnToStartScreen();

  app->recordingDemo = false;
  app->playingDemo = true;
  app->demoMarkers = {{"daily 2026-01-05", app->updateCount - 1}, {"daily 2026-12-09", app->updateCount}};
  app->StartDailyBoard();
  app->playingDemo = false;
  EXPECT_EQ(std::pair(app->mDailyDate, app->mMainMenu->LevelLabel()),
            std::pair(CalendarDate{2026, 12, 9}, std::string("Dec 9, 2026")));
}

TEST(DailyExport, WritesOneRecordOfEachFileInTheGamesLayout) {
  ZingTest::TempFolder folder;
  const std::string target = folder.File("new/board");
  EXPECT_EQ(RunDailyExportCommand({"--TO=" + target, "--Export-Daily=2026-12-13"}, stdout, stderr), 0);
  const std::string board = folder.Read("new/board/level_b.dat"), nodes = folder.Read("new/board/level_n.dat"),
                    solution = folder.Read("new/board/level_l.dat");
  ASSERT_EQ(std::tuple(board.size(), nodes.size(), solution.size()),
            std::tuple(std::size_t{kBoardRecordSize}, std::size_t{kNodeRecordSize}, std::size_t{kSolutionRecordSize}));
  const auto daily = LevelGen::MakeDailyBoard({2026, 12, 13});
  ASSERT_TRUE(daily);
  const auto decoded = LevelGen::DecodeLevel(board, nodes, solution);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->board.present, daily->level.board.present);
  EXPECT_EQ(decoded->routes, daily->level.routes);
  EXPECT_TRUE(LevelGen::CertifyFillUnique(*decoded));
  // Unused bytes stay zero: after the ten row masks, after the node codes.
  EXPECT_EQ(board.substr(20), std::string(12, '\0'));
  EXPECT_EQ(nodes.substr(1 + static_cast<unsigned char>(nodes[0])),
            std::string(15 - static_cast<unsigned char>(nodes[0]), '\0'));

  // Bad dates, a missing or unwritable folder: exit code 1, nothing written.
  folder.Write("file", "x");
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--export-daily=2026-02-30", "--to=" + folder.File("a")},
                                             {"--export-daily=7.12.2026", "--to=" + folder.File("a")},
                                             {"--export-daily=2026-12-07"},
                                             {"--export-daily=2026-12-07", "--to="},
                                             {"--export-daily=2026-12-07", "--to=" + folder.File("file")}}) {
    EXPECT_EQ(RunDailyExportCommand(arguments, stdout, stderr), 1) << arguments[0];
  }
  EXPECT_FALSE(folder.Exists("a"));
  EXPECT_EQ(RunDailyExportCommand({"--export-daily="}, stdout, stderr), 1);
  EXPECT_FALSE(RunDailyExportCommand({"-play", "--to=x"}, stdout, stderr));
}

// Before the application exists: the commands that end at once, the
// parameters handed on, and the folder the data is found in.
TEST(ProgramStart, ConsoleCommandsParametersAndTheDataFolder) {
  ZingTest::TempFolder folder;
  setenv("XDG_DATA_HOME", folder.File("home").c_str(), 1);
  EXPECT_EQ(RunConsoleCommand({"-play", "-windowed"}), std::nullopt);
  EXPECT_EQ(RunConsoleCommand({"-play", "--Stats"}), 0);
  EXPECT_EQ(RunConsoleCommand({"--stats", "--export-daily=2026-02-30"}), 1);  // the export goes first
  EXPECT_EQ(JoinArguments({"-play", "-demofile=my game.dmo", "-windowed"}),
            "-play \"-demofile=my game.dmo\" -windowed");
  EXPECT_EQ(JoinArguments({}), "");

  // The working folder first, then "data" and "../share/lintwick" beside the program.
  const std::filesystem::path before = std::filesystem::current_path();
  folder.Write("bin/data/main.pak", "");
  folder.Write("usr/share/lintwick/properties/resources.xml", "");
  folder.Write("usr/bin/lintwick", "");
  folder.Write("work/main.pak", "");
  for (const auto& [work, program, found] : {std::tuple{"work", "bin/", "work"},
                                             {"home", "bin/", "bin/data"},
                                             {"home", "usr/bin/", "usr/share/lintwick"},
                                             {"home", "bin/sub/", "home"}}) {
    std::filesystem::create_directories(folder.File(work));
    std::filesystem::current_path(folder.File(work));
    FindGameData(folder.File(program));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder.File(found))) << program;
  }
  std::filesystem::current_path(before);
}

TEST(DailyDate, WrittenTheWayEachLanguageWritesItAndEachWeekdaysBoard) {
  EXPECT_EQ(DateText({2026, 12, 7}, Language::English), "Dec 7, 2026");
  EXPECT_EQ(DateText({2026, 2, 28}, Language::French), "28 f\xE9vr. 2026");
  EXPECT_EQ(DateText({2026, 8, 1}, Language::French), "1 ao\xFBt 2026");
  EXPECT_EQ(DateText({2026, 3, 15}, Language::German), "15. M\xE4rz 2026");
  EXPECT_EQ(DateText({2026, 12, 31}, Language::German), "31. Dez. 2026");
  EXPECT_EQ(DateText({2026, 13, 1}, Language::English), "Jan 1, 2026");  // a damaged month
  // The player's today, and the level each weekday's board is sized like, Monday (0) first.
  char today[16];
  const std::time_t now = std::time(nullptr);
  std::strftime(today, sizeof today, "%Y-%m-%d", std::localtime(&now));
  EXPECT_EQ(FormatDate(LocalToday()), today);
  for (auto [weekday, level] : {std::pair{0, 5}, {3, 30}, {6, 90}, {7, 5}, {-1, 90}})
    EXPECT_EQ(DailyLevelIndex(weekday), level) << weekday;
}

}  // namespace
