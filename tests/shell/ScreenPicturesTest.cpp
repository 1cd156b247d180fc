// The window as the player sees it at each stop of a run through the shell's screens and dialogs:
// every stop's picture, as the loop drew it, against a table of checksums. One table pins the
// layout of every screen and dialog, their words in each language, their colours and what each
// control shows. With LINTWICK_PICTURES=DIR each picture is also written there as a PNG, to look at
// when a checksum changes.

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widget/ButtonWidget.h"
#include "game/shell/DailyBoardFiles.h"
#include "game/shell/LevelDialog.h"
#include "game/shell/ScoreDialog.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::MessageCode;
using LintwickTest::ShellFixture;

// FNV-1a over the window's pixels.
std::uint32_t Checksum(Zing::MemoryImage* image) {
  std::uint32_t hash = 2166136261u;
  const std::uint32_t* bits = image->GetBits();
  for (int i = 0; i < image->GetWidth() * image->GetHeight(); ++i) hash = (hash ^ bits[i]) * 16777619u;
  return hash;
}

void WritePicture(const std::string& path, Zing::MemoryImage* screen) {
  Zing::ImageLib::Image picture;
  if (!picture.Allocate(screen->GetWidth(), screen->GetHeight())) return;
  std::copy_n(screen->GetBits(), screen->GetWidth() * screen->GetHeight(), picture.GetBits());
  for (int i = 0; i < screen->GetWidth() * screen->GetHeight(); ++i) picture.GetBits()[i] |= 0xFF000000u;
  Zing::ImageLib::WritePNGImage(path, picture);
}

// Window centres of the level chooser's arrow buttons.
constexpr int kRightArrowX = 187 + 216 + 9;
constexpr int kArrowY = 53 + 279 + 9;

struct Stop {
  const char* name;
  std::function<void()> reach;
  std::uint32_t expected;
  std::uint32_t wait = 1000;  // ms of the loop before the picture
};

using ScreenPictures = ShellFixture;

TEST_F(ScreenPictures, EveryStopOfARunLooksAsItDid) {
  // A player who has solved boards 1 and 3 perfectly along their stored
  // solutions and board 2 with one piece, and has reached board 4.
  auto levels = LintwickTest::GeneratedLevels();
  ASSERT_TRUE(levels);
  const auto storedSolve = [&](int level) {
    const auto* path =
        reinterpret_cast<const unsigned char*>(&levels->files[kSolutionFile][level * kSolutionRecordSize]);
    LevelSolve solve{level, true, 500 + level, {}};
    for (int link = 0; link < kMaxLinks; ++link)
      for (int n = *path++; n > 0; --n) solve.pieces.push_back({link, *path++});
    return solve;
  };
  Progress progress;
  progress.Merge(storedSolve(0));
  progress.Merge({1, false, 545, {{0, 0x55}}});
  progress.Merge(storedSolve(2));
  progress.Merge({96, false, 700, {{6, 0x10}, {6, 0x00}}});
  progress.Merge({69, false, 650, {{3, 0x31}, {3, 0x30}, {3, 0x20}, {3, 0x10}, {3, 0x00}}});  // into (0, 1)
  // Link 5 passes beside its other node on its way: halfway, no stick may close it early.
  const std::vector<LaidPiece> twoLinks = {{5, 0x13}, {3, 0x16}, {3, 0x15}, {3, 0x14}, {5, 0x12},
                                           {5, 0x02}, {5, 0x01}, {5, 0x11}, {5, 0x21}};
  progress.Merge({90, false, 600, twoLinks});
  WriteProgress(progress);
  ZingTest::NullAppFixture<LintwickTest::ShellApp>::Start();  // the loading is left to the stops
  ASSERT_TRUE(app->RegistryWriteInteger("UnlockedLevel", 3));
  const int total = app->loadingTotal;

  const auto click = [&](Zing::Widget* w) { ClickCentre(w->GetRect()); };
  const auto options = [&] { return dynamic_cast<OptionsDialog*>(app->GetDialog(DIALOG_OPTIONS)); };
  const auto chooser = [&] { return dynamic_cast<LevelDialog*>(app->GetDialog(DIALOG_LEVEL_CHOOSER)); };
  // One stop a line: how it is reached from the one before, and its picture.
  // clang-format off
  const std::vector<Stop> stops = {
      {"splash, its bar one pixel long", [&] { app->loadingThreadStarted = true; app->loadingTotal = 2 * 336;
                                               app->loadingDone = 3; }, 954714948},  // 1.5 of the bar's 336 pixels
      {"splash while loading", [&] { app->loadingTotal = total; app->loadingDone = 0;
                                     while (app->loadingDone < app->loadingTotal / 2) app->LoadingSlice(); },
       2188698279},
      {"its bar grown", [&] { while (app->loadingDone < app->loadingTotal * 3 / 4) app->LoadingSlice(); }, 2953697666},
      {"splash", [&] { app->LoadingThreadProc(); app->loadingThreadCompleted = true; }, 2616915020},
      {"start screen, Options hovered", [&] { ClickCentre(app->mSplash->GetStartLinkRect());
                                              services->pointerInWindow = true; MoveTo(40, 185); }, 193309235},
      {"options", [&] { services->pointerInWindow = false; OpenOptions(); }, 2398146608},
      {"languages", [&] { OpenLanguages(options()); }, 4213062849},
      {"options in German", [&] { ClickFooter(DIALOG_LANGUAGE, false); PickLanguage(options(), 1);
                                  ClickFooter(DIALOG_LANGUAGE); }, 301061671},
      {"about in German", [&] { click(options()->GetButton(OptionsDialog::ID_ABOUT)); }, 662985128},
      {"help in German", [&] { ClickFooter(DIALOG_ABOUT); click(options()->GetButton(OptionsDialog::ID_HELP)); },
       3346723740},
      {"high scores in German", [&] { ClickFooter(DIALOG_HELP);
                                      click(options()->GetButton(OptionsDialog::ID_HIGH_SCORES)); }, 3903346390},
      {"start screen in French", [&] { ClickFooter(DIALOG_HIGH_SCORES); PickLanguage(options(), 2);
                                       ClickFooter(DIALOG_LANGUAGE); ClickFooter(DIALOG_OPTIONS); }, 2698351397},
      {"chooser on a perfect board", [&] { app->mLocale = "En"; app->LanguageChanged();
                                           click(app->mStartScreen->GetButton(2)); }, 935540027},
      {"its solve played back", [&] { click(&chooser()->GetWatchButton()); }, 1791238346},
      {"chooser on a solved board", [&] { Click(kRightArrowX, kArrowY); }, 2480895746},
      {"a three-link solve played back whole", [&] { Click(kRightArrowX, kArrowY); Click(187 + 133, 53 + 176);
                                                     RunFor(SolvePlayback::kUpdatesPerPiece * 10 * 40); }, 3936065580},
      {"chooser on a reached board", [&] { Click(kRightArrowX, kArrowY); }, 4189957108},
      {"chooser on a locked board", [&] { chooser()->SliderValueChanged(LevelDialog::kSliderId, 1.0); }, 69651339},
      {"board 91 halfway through its solve", [&] { ClickFooter(DIALOG_LEVEL_CHOOSER, false);
                                                   app->RegistryWriteInteger("UnlockedLevel", 99);
                                                   click(app->mStartScreen->GetButton(2));
                                                   chooser()->SliderValueChanged(LevelDialog::kSliderId, 90.0 / 99);
                                                   click(&chooser()->GetWatchButton()); },
       1184896045, SolvePlayback::kUpdatesPerPiece * 10 * 5 + 300},
      {"and whole", [] {}, 1153642365, SolvePlayback::kUpdatesPerPiece * 10 * 5},
      {"board 97: its touching nodes joined", [&] { chooser()->SliderValueChanged(LevelDialog::kSliderId, 96.0 / 99);
                                                    click(&chooser()->GetWatchButton()); }, 2357078700, 2000},
      {"board 70: its link 3 round the corner", [&] { chooser()->SliderValueChanged(LevelDialog::kSliderId, 69.0 / 99);
                                                      click(&chooser()->GetWatchButton()); }, 242817585, 4000},
      {"a fresh game's help", [&] { ClickFooter(DIALOG_LEVEL_CHOOSER, false); click(app->mStartScreen->GetButton(0)); },
       855543554},
      {"level 1", [&] { ClickFooter(DIALOG_HELP); }, 4044555856},
      {"a hint", [&] { click(app->mMainMenu->GetButton(MainMenu::kHintButton)); }, 3021560218},
      {"exit question fading in", [&] { click(app->mMainMenu->GetButton(3)); }, 2045471043, 200},
      {"exit question", [] {}, 1625913508, 800},
      {"new game question", [&] { ClickFooter(DIALOG_CONFIRM_EXIT, false); click(app->mMainMenu->GetButton(0)); },
       1973384165},
      {"restart question", [&] { ClickFooter(DIALOG_CONFIRM_NEW_GAME, false); app->AskRestartLevel(); }, 3364356821},
      {"a new high score", [&] { ClickFooter(DIALOG_RESTART_LEVEL); app->ShowHighScores(500);
                                 for (char c : std::string("Ann")) Send(MessageCode::Char, 0, 0, c); }, 3701046359},
      {"start new question", [&] { ClickFooter(DIALOG_HIGH_SCORES); click(app->mStartScreen->GetButton(0)); },
       1989163258},
      {"a daily board in German", [&] { ClickFooter(DIALOG_CONFIRM_START_NEW, false); app->mLocale = "De";
                                        app->LanguageChanged(); app->playingDemo = true;
                                        app->demoMarkers = {{"daily 2026-09-18", app->updateCount}};
                                        app->StartDailyBoard(); app->playingDemo = false; }, 1193252476},
      {"daily message in German", [&] { app->mDailyDate = LocalToday();
                              app->BoardSolved(0, true); }, 3558864433},
  };
  // clang-format on
  const char* folder = std::getenv("LINTWICK_PICTURES");
  for (const Stop& stop : stops) {
    stop.reach();
    RunFor(stop.wait);
    Zing::MemoryImage* screen = app->GetScreenImage();
    ASSERT_NE(screen, nullptr);
    if (folder != nullptr) WritePicture(std::string(folder) + "/" + stop.name + ".png", screen);
    EXPECT_EQ(Checksum(screen), stop.expected) << stop.name;
  }
}

}  // namespace
