// The game's screens from the splash to the end of a run, and the level chooser over the start
// screen, driven by mouse messages on the window-less platform with the generated data; the game
// without a mouse, with key messages alone; the daily board beside the running game, the day
// counted when it is solved, the export of a date's board and the date in each language; and the
// commands that end before a window opens.

#include <ctime>
#include <filesystem>
#include <map>

#include "framework/audio/SilentSoundManager.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/KeyCodes.h"
#include "framework/widget/ButtonWidget.h"
#include "game/levelgen/DailyBoard.h"
#include "game/levelgen/LevelFiles.h"
#include "game/shell/DailyBoardFiles.h"
#include "game/shell/DailyExportCommand.h"
#include "game/shell/DateText.h"
#include "game/shell/LevelDialog.h"
#include "game/shell/ProgramStart.h"
#include "game/shell/ProgressStore.h"
#include "game/shell/Resources.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/shell/ShellTestSupport.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using namespace Lintwick;
using LintwickTest::MessageCode;
using LintwickTest::ShellFixture;
using LintwickTest::Shown;
using ShellFlow = ShellFixture;

// The whole run is recorded; played back on a machine without the settings or the saved game, it
// must end in the same saved game, score and settings, and leave the stored settings alone.
TEST_F(ShellFlow, FromTheSplashThroughOneLevelToTheSavedExitAndItsPlayback) {
  app->commandLine = "-record -demofile=game.dmo";
  Start();
  auto& music = dynamic_cast<LintwickTest::NotingMusic&>(*app->musicInterface);
  EXPECT_EQ(std::pair(music.played, music.IsPlaying(1)), std::pair(decltype(music.played){{1, 0, false}}, true));
  const Zing::Rect link = app->mSplash->GetStartLinkRect();
  MoveTo(link.x + link.w / 2, link.y + link.h / 2);
  EXPECT_EQ(services->cursor, Zing::Platform::CursorHand);  // a link shows the hand
  // The game's own pictures stand for the arrow, the hand, the dragging hand and the text beam.
  const std::map<int, Zing::Image*> cursors = {{Zing::Platform::CursorArrow, IMAGE_CUSTOM_POINTER},
                                               {Zing::Platform::CursorHand, IMAGE_CUSTOM_HAND},
                                               {Zing::Platform::CursorDragging, IMAGE_CUSTOM_DRAGGING},
                                               {Zing::Platform::CursorText, IMAGE_CUSTOM_TEXT}};
  for (const auto& [number, image] : cursors) EXPECT_TRUE(image && app->cursorImages[number] == image) << number;
  // The company line stands at its place, moved left where a wide font would leave it no margin.
  for (const auto& [advance, drawn] : {std::pair(6, "Tamo Games at 552,474 r28"), {9, "Tamo Games at 542,474 r28"}}) {
    WidgetTest::BlockFont font(advance);
    Zing::Font* const gameFont = std::exchange(FONT_DEFAULT, &font);
    Zing::MemoryImage scratch;
    scratch.Create(640, 480);
    Zing::Graphics g(&scratch);
    app->mSplash->Draw(&g);
    FONT_DEFAULT = gameFont;
    EXPECT_EQ(font.drawn, std::vector<std::string>{drawn});
  }
  Zing::Widget* const startLink = app->GetWidgetManager()->GetWidgetAt(link.x + link.w / 2, link.y + link.h / 2);
  ClickCentre(link, false);  // the link goes with the splash, though deleted only once the loop unwinds
  ASSERT_EQ(std::tuple(Shown(app->mStartScreen), Shown(app->mMainMenu), startLink->widgetManager),
            std::tuple(true, true, nullptr));
  for (const Zing::ButtonWidget* button : {app->mMainMenu->GetButton(0), app->mStartScreen->GetButton(0)}) {
    MoveTo(button->x + button->width / 2, button->y + button->height / 2);
    EXPECT_EQ(services->cursor, Zing::Platform::CursorHand) << button->id;  // so do the panel's and screen's buttons
  }
  RunFor(50);  // the splash is deleted once the loop has unwound

  // New without a saved game starts at once, with the help over the shadow.
  ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
  ASSERT_TRUE(Shown(app->mGameScreen) && app->GetDialog(DIALOG_HELP) != nullptr);
  EXPECT_EQ(std::pair(Shown(app->mShadow), app->mGameScreen->IsPaused()), std::pair(true, true));
  RunFor(1000);
  EXPECT_EQ(app->mShadow->GetAlpha(), ShadowScreen::kFullAlpha);
  ClickFooter(DIALOG_HELP);
  EXPECT_EQ(std::pair(Shown(app->mShadow), app->mGameScreen->IsPaused()), std::pair(false, false));
  EXPECT_EQ(app->mMainMenu->LevelLabel(), "Level: 1");

  // Level 1 with the mouse: the panel follows level and score.
  ASSERT_NO_FATAL_FAILURE(SolveLevel());
  EXPECT_EQ(app->mMainMenu->LevelLabel(), "Level: 2");
  // Along its stored solution the board is covered whole: a perfect solve, in the progress file at once.
  EXPECT_EQ(std::pair(app->GetProgress().SolvedCount(), app->GetProgress().PerfectCount()), std::pair(1, 1));
  EXPECT_EQ(home.Read("data/save/progress.dat"), LintwickTest::Bytes(ProgressBytes(app->GetProgress())));
  EXPECT_EQ(app->mMainMenu->ScoreLabel(), "Score: " + std::to_string(app->mGameScreen->GetScore()));
  RunFor(500);

  // German through the options; then Exit asks, and YES shuts down and saves the game on the second level.
  LanguageDialog* language = PickLanguage(OpenOptions(), 1);
  ASSERT_NE(language, nullptr);
  ClickCentre(language->yesButton->GetRect());
  ClickFooter(DIALOG_OPTIONS);
  ASSERT_EQ(app->mLocale, "De");
  ClickCentre(app->mMainMenu->GetButton(3)->GetRect());
  ClickFooter(DIALOG_CONFIRM_EXIT);
  ASSERT_TRUE(app->shutdown);
  const std::string saved = home.Read("data/save/game.dat");
  EXPECT_EQ(saved, LintwickTest::Bytes(app->mGameScreen->SavedGameBytes()));
  EXPECT_TRUE(app->exits.empty());
  const int score = app->mGameScreen->GetScore();
  const int updates = app->updateCount;
  const bool windowed = app->windowed;
  app.reset();  // writes the demo

  // Another machine: no settings and no saved game.
  for (const char* gone : {"/TamoGames", "/data/save/game.dat", "/data/save/progress.dat"})
    std::filesystem::remove_all(home.Path() + gone);
  services = new LintwickTest::NullServices;
  services->clock = 777777;
  MakeApp();
  app->commandLine = "-play -demofile=game.dmo";
  Start();
  ASSERT_TRUE(app->exits.empty());
  for (int i = 0; i < 200000 && !app->shutdown; ++i) app->UpdateApp();
  ASSERT_TRUE(app->shutdown);
  EXPECT_EQ(std::pair(app->updateCount, home.Read("data/save/game.dat")), std::pair(updates, saved));
  ASSERT_NE(app->mGameScreen, nullptr);
  EXPECT_EQ(std::tuple(app->mGameScreen->GetScore(), app->mLocale, app->windowed), std::tuple(score, "De", windowed));
  // Nothing of the game is stored; the run itself ended normally.
  const std::string settings = home.Read("TamoGames/Lintwick/settings.reg");
  EXPECT_EQ(std::pair(settings.find("Locale"), settings.find("UnlockedLevel")),
            std::pair(std::string::npos, std::string::npos));
  EXPECT_NE(settings.find("\"InProgress\"=dword:00000000"), std::string::npos);
}

TEST_F(ShellFlow, ASavedGameMakesNewAskAndFocusLossPauses) {
  home.Write("data/save/game.dat", "saved");
  home.Write("data/save/progress.dat", "damaged");  // reported, and kept until progress is saved again
  testing::internal::CaptureStderr();
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("progress.dat could not be read"), std::string::npos);
  EXPECT_EQ(home.Read("data/save/progress.dat"), "damaged");
  ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
  ClickFooter(DIALOG_CONFIRM_START_NEW, false);  // NO leaves the start screen as it was
  EXPECT_EQ(std::pair(Shown(app->mStartScreen), Shown(app->mShadow)), std::pair(true, false));
  ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
  ClickFooter(DIALOG_CONFIRM_START_NEW);
  ASSERT_EQ(std::pair(Shown(app->mGameScreen), Shown(app->mStartScreen)), std::pair(true, false));
  ClickFooter(DIALOG_HELP);
  GameScreen* game = app->mGameScreen;
  ASSERT_FALSE(game->IsPaused());

  // Losing the window stops the ticks, getting it back resumes them; a
  // dialog opened meanwhile keeps play paused after the focus returns.
  Send(MessageCode::ActivateApp, 0, 0, 0);
  const int frozen = game->updateCount;
  RunFor(500);
  EXPECT_EQ(std::pair(game->IsPaused(), game->updateCount), std::pair(true, frozen));
  Send(MessageCode::ActivateApp, 0, 0, 1);
  EXPECT_FALSE(game->IsPaused());
  RunFor(100);
  EXPECT_GT(game->updateCount, frozen);
  app->MainMenuCommand(3);
  Send(MessageCode::ActivateApp, 0, 0, 0), Send(MessageCode::ActivateApp, 0, 0, 1);
  EXPECT_TRUE(game->IsPaused());
  ClickFooter(DIALOG_CONFIRM_EXIT, false);
  EXPECT_FALSE(game->IsPaused());

  // Leaving play through New Game saves and shows the start screen again.
  app->MainMenuCommand(0);
  ClickFooter(DIALOG_CONFIRM_NEW_GAME);
  EXPECT_EQ(std::pair(Shown(app->mStartScreen), Shown(game)), std::pair(true, false));
  EXPECT_EQ(std::pair(app->mMainMenu->LevelLabel(), app->mMainMenu->GetButton(MainMenu::kHintButton)->label),
            std::pair(std::string("Level: 0"), std::string("Hint (0 left)")));
  EXPECT_NE(home.Read("data/save/game.dat"), "saved");
}

// The questions of a replayed level, and when the game is saved where the program may end without a
// close (a browser page): at each level shown, and as closing would when the page goes, but never
// in a finished game's last transition (it would pay its score again): closing stops that first.
TEST_F(ShellFlow, TheRestartQuestionsAndTheSavesOfAPageThatMayEndWithoutAClose) {
  struct PageServices : LintwickTest::NullServices {
    bool MayEndWithoutClose() const override { return true; }
  };
  app.reset();
  services = new PageServices;
  MakeApp();
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
  ClickFooter(DIALOG_HELP);
  GameScreen* game = app->mGameScreen;
  game->mShutterTick = kLastShutterTick;
  game->mTransitionKind = kNextLevel;
  RunFor(100);
  EXPECT_EQ(home.Read("data/save/game.dat"), LintwickTest::Bytes(game->SavedGameBytes()));
  game->UseHint();
  app->SaveForLeaving();
  EXPECT_EQ(home.Read("data/save/game.dat"), LintwickTest::Bytes(game->SavedGameBytes()));

  // The allowance spent: at the level change the game asks. YES only closes
  // the question; NO returns to the start screen and saves the game.
  for (bool yes : {true, false}) {
    game->mShutterTick = kLevelChangeTick;
    game->mTransitionKind = kReplayLevel;
    RunFor(100);
    ClickFooter(DIALOG_RESTART_LEVEL, yes);
    EXPECT_EQ(app->GetDialog(DIALOG_RESTART_LEVEL), nullptr) << yes;
    EXPECT_EQ(std::tuple(Shown(game), Shown(app->mStartScreen), Shown(app->mShadow)), std::tuple(yes, !yes, false));
  }
  const std::string bytes = LintwickTest::Bytes(game->SavedGameBytes());
  EXPECT_EQ(home.Read("data/save/game.dat"), bytes);

  ClickCentre(app->mStartScreen->GetButton(1)->GetRect());
  ASSERT_TRUE(Shown(game));
  game->mShutterTick = kGameDoneTick;
  game->mTransitionKind = kGameDone;
  app->SaveForLeaving();
  EXPECT_EQ(home.Read("data/save/game.dat"), bytes);
  app->Shutdown();
  const std::string saved = home.Read("data/save/game.dat");
  ASSERT_EQ(saved.size(), bytes.size());
  EXPECT_EQ(std::pair(saved[11], saved[12]), std::pair('\0', '\0'));
}

// Counts the instances asked for, by sound id.
struct CountingSounds : Zing::SilentSoundManager {
  std::map<unsigned int, int> asked;
  Zing::SoundInstance* GetSoundInstance(unsigned int id) override {
    ++asked[id];
    return SilentSoundManager::GetSoundInstance(id);
  }
};

TEST_F(ShellFlow, StarAndVortexSoundsStartOncePerUpdateAndSilenceAsksForNothing) {
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  auto* sounds = new CountingSounds;
  app->soundManager.reset(sounds);
  RunFor(20);
  const auto asked = [&](int id) { return sounds->asked[static_cast<unsigned int>(id)]; };
  for (int i = 0; i < 5; ++i)
    for (Sound sound : {Sound::StarSmall, Sound::Vortex, Sound::CubeTap}) app->PlaySound(sound);
  EXPECT_EQ(std::tuple(asked(SOUND_STAR_SMALL), asked(SOUND_VORTEX), asked(SOUND_CUBE_TAP)), std::tuple(1, 1, 5));
  // The very next update may start them again.
  for (const int update = app->updateCount; app->updateCount == update;) app->UpdateApp();
  app->PlaySound(Sound::StarSmall);
  EXPECT_EQ(asked(SOUND_STAR_SMALL), 2);

  // Every menu button clicks, and so does the panel's one key, 'e', a command
  // without a meaning of its own; with effects at 0 nothing is even asked for.
  app->GetWidgetManager()->SetFocus(app->mMainMenu);
  for (int c : {'x', 'e'}) Send(MessageCode::Char, 0, 0, c);
  EXPECT_EQ(std::pair(asked(SOUND_GUI_CLICK), app->GetDialogCount()), std::pair(1, 0));
  ClickCentre(app->mStartScreen->GetButton(2)->GetRect());
  EXPECT_EQ(asked(SOUND_GUI_CLICK), 2);
  app->SetSfxVolume(0);
  sounds->asked.clear();
  ClickCentre(app->mMainMenu->GetButton(1)->GetRect());
  RunFor(20);
  app->PlaySound(Sound::StarBig);
  EXPECT_TRUE(sounds->asked.empty());
}

// Damaged data: no data at all, or a copy of the generated data in the home
// folder whose manifest names a picture file that does not exist, or whose
// first level file cannot be read (a folder in its place).
struct Damage {
  const char* picture;  // the picture whose file is gone; "" the boards cannot be read; null no data
  const char* message;  // a part of the message the player sees
  bool ends;            // the program ends before anything shows
  bool startLink;       // the splash lets the player start
};

struct DamagedData : ShellFixture, ::testing::WithParamInterface<Damage> {
  void Break() {
    namespace fs = std::filesystem;
    Zing::Platform::ChangeWorkingFolder(home.Path());
    if (GetParam().picture == nullptr) return;
    const std::string picture = GetParam().picture;
    for (const char* folder : {"fonts", "images", "sounds", "music"})
      fs::create_directory_symlink(dataDir + "/" + folder, home.File(folder));
    fs::create_directories(home.File("levels"));
    for (const std::string name : {"level_b.dat", "level_n.dat", "level_l.dat"}) {
      if (picture.empty() && name == "level_b.dat")
        fs::create_directories(home.File("levels/" + name));
      else
        fs::create_symlink(dataDir + "/levels/" + name, home.File("levels/" + name));
    }
    std::ifstream in(dataDir + "/properties/resources.xml");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    if (!picture.empty()) text.replace(text.find("path=\"" + picture + "\""), picture.size() + 7, "path=\"gone\"");
    home.Write("properties/resources.xml", text);
  }
};

TEST_P(DamagedData, IsReportedAndOnlyMissingStartPicturesEndTheProgram) {
  const Damage& damage = GetParam();
  Break();
  Start();
  RunFor(200);
  EXPECT_EQ(std::tuple(app->exits, Shown(app->mSplash), Shown(app->mSplash) && app->mSplash->IsStartLinkEnabled()),
            std::tuple(damage.ends ? std::vector<int>{0} : std::vector<int>{}, !damage.ends, damage.startLink));
  if (Shown(app->mSplash)) {  // a link that cannot start stays hidden: the splash itself is under the pointer
    const Zing::Rect link = app->mSplash->GetStartLinkRect();
    EXPECT_EQ(app->GetWidgetManager()->GetWidgetAt(link.x + link.w / 2, link.y + link.h / 2) == app->mSplash,
              !damage.startLink);
  }
  EXPECT_EQ(app->LoadingFailed(), damage.picture != nullptr && !damage.startLink);
  if (damage.startLink) {  // play goes on without a board
    ClickCentre(app->mSplash->GetStartLinkRect());
    ClickCentre(app->mStartScreen->GetButton(0)->GetRect());
    ASSERT_TRUE(Shown(app->mGameScreen));
    RunFor(500);
    Click(CellX(3), CellY(3));
    RunFor(200);
    EXPECT_TRUE(app->exits.empty());
  }
  ASSERT_FALSE(services->messageBoxes.empty());
  EXPECT_NE(services->messageBoxes[0].find(damage.message), std::string::npos) << services->messageBoxes[0];
  services->messageBoxes.clear();
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedData,
                         ::testing::Values(Damage{nullptr, "resources.xml", true, false},
                                           Damage{"splash_text", "gone", true, false},
                                           Damage{"cell", "gone", false, false},
                                           Damage{"", "Could not read contents of levels", false, true}));

// Window centres of the arrow buttons: the dialog stands at (187, 53).
constexpr int kLeftArrowX = 187 + 33 + 9;
constexpr int kRightArrowX = 187 + 216 + 9;
constexpr int kArrowY = 53 + 279 + 9;

struct LevelChooser : ShellFixture {
  LevelDialog* Open() {
    ClickCentre(app->mStartScreen->GetButton(2)->GetRect());
    return dynamic_cast<LevelDialog*>(app->GetDialog(DIALOG_LEVEL_CHOOSER));
  }
  int Setting(const char* name) {
    int value = -1;
    return app->RegistryReadInteger(name, value) ? value : -1;
  }
};

TEST_F(LevelChooser, ShowsEveryBoardAndStartsReachedOnesWithTheSavedScoreAndHints) {
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());

  // First run: board 1, which can be started; the arrows stop at both ends.
  LevelDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(std::tuple(dialog->IsLocked(), app->GetWidgetManager()->baseModalWidget), std::tuple(false, dialog));
  Click(kLeftArrowX, kArrowY);
  EXPECT_EQ(dialog->GetChosenLevel(), 0);
  Click(kRightArrowX, kArrowY);
  EXPECT_EQ(std::pair(dialog->GetChosenLevel(), dialog->IsLocked()), std::pair(1, true));
  EXPECT_NEAR(dialog->GetSlider().value, 1.0 / 99, 1e-9);
  ClickCentre(dialog->yesButton->GetRect());  // OK on a locked board does nothing
  ASSERT_EQ(app->GetDialog(DIALOG_LEVEL_CHOOSER), dialog);
  Click(kLeftArrowX, kArrowY);
  ClickCentre(dialog->yesButton->GetRect());
  ASSERT_TRUE(Shown(app->mGameScreen));
  EXPECT_EQ(Setting("ChosenLevel"), 0);

  // A game saved on board 10 with score 900 and 7 hints left.
  GameScreen* game = app->mGameScreen;
  if (Zing::Dialog* help = app->GetDialog(DIALOG_HELP)) ClickCentre(help->yesButton->GetRect());
  game->mLevel = 9;
  game->mScore = 900;
  game->mHintsLeft = 7;
  game->UseHint();
  app->ReturnToStartScreen();
  EXPECT_EQ(Setting("UnlockedLevel"), 9);

  // The slider at its right end: board 100, locked; CANCEL remembers it.
  dialog = Open();
  ASSERT_NE(dialog, nullptr);
  dialog->SliderValueChanged(LevelDialog::kSliderId, 0.0);  // the slider's ends: boards 1 and 100
  EXPECT_EQ(dialog->GetChosenLevel(), 0);
  dialog->SliderValueChanged(LevelDialog::kSliderId, 1.0);
  EXPECT_EQ(std::pair(dialog->GetChosenLevel(), dialog->IsLocked()), std::pair(99, true));
  ClickCentre(dialog->noButton->GetRect());
  EXPECT_EQ(std::tuple(Setting("ChosenLevel"), app->mShadow->widgetManager), std::tuple(99, nullptr));

  // An earlier board starts fresh with the saved score and hints (whose rules the saved game's tests pin).
  dialog = Open();
  ASSERT_EQ(dialog->GetChosenLevel(), 99);
  dialog->SliderValueChanged(LevelDialog::kSliderId, 4.0 / 99);
  Click(kLeftArrowX, kArrowY);
  ClickCentre(dialog->yesButton->GetRect());
  EXPECT_EQ(std::tuple(game->GetLevel(), app->mMainMenu->GetButton(MainMenu::kHintButton)->label, game->IsPaused()),
            std::tuple(3, "Hint (6 left)", false));
}

// Boards solved before: Watch (or a click on the miniature) plays the best
// solve back piece by piece until another board is shown. (Its pace the
// playback's own test pins; what it looks like, the pictures test.)
TEST_F(LevelChooser, PlaysTheBestSolveOfASolvedBoardBack) {
  Progress progress;
  progress.Merge({0, true, 500, {{0, 0x22}, {0, 0x23}, {1, 0x45}}});
  progress.Merge({1, false, 545, {{0, 0x55}}});
  WriteProgress(progress);
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  ASSERT_TRUE(app->RegistryWriteInteger("UnlockedLevel", 2));
  LevelDialog* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  dialog->SliderValueChanged(LevelDialog::kSliderId, 2 / 99.0);
  ClickCentre(dialog->GetWatchButton().GetRect());  // does nothing on an unsolved board
  EXPECT_FALSE(dialog->GetPlayback().IsPlaying());

  Click(kLeftArrowX, kArrowY);
  ClickCentre(dialog->GetWatchButton().GetRect());
  EXPECT_EQ(std::pair(dialog->GetPlayback().Level(), dialog->GetPlayback().Shown()), std::pair(1, 0));
  RunFor(SolvePlayback::kUpdatesPerPiece * 10 + 100);  // an update each 10 ms
  EXPECT_TRUE(dialog->GetPlayback().Finished());
  Click(kLeftArrowX, kArrowY);
  EXPECT_FALSE(dialog->GetPlayback().IsPlaying());

  // The miniature: 103 pixels each way from (133, 176). A click on it starts
  // the playback, again from the start; one beside it does nothing.
  const auto clickAt = [&](int dx, int dy) {
    Click(187 + 133 + dx, 53 + 176 + dy);
    return dialog->GetPlayback().IsPlaying();
  };
  EXPECT_EQ((std::tuple{clickAt(104, 0), clickAt(0, -104), clickAt(-103, 103)}), std::tuple(false, false, true));
  RunFor(SolvePlayback::kUpdatesPerPiece * 10 + 100);
  EXPECT_EQ(dialog->GetPlayback().Shown(), 1);
  EXPECT_TRUE(clickAt(103, -103));
  EXPECT_EQ(std::pair(dialog->GetPlayback().Level(), dialog->GetPlayback().Shown()), std::pair(0, 0));
}

// A damaged node record: of the pairs it counts, only nodes on the board are drawn,
// and the bytes past its count join nothing in the playback.
TEST_F(LevelChooser, ADamagedNodeRecordShowsOnlyWhatItHoldsOnTheBoard) {
  namespace fs = std::filesystem;
  Progress progress;
  progress.Merge({0, true, 500, {{0, 0x01}, {2, 0x45}}});
  WriteProgress(progress);
  // The generated data without its archive, and a node file of the test's own.
  Zing::Platform::ChangeWorkingFolder(home.Path());
  for (const char* entry : {"fonts", "images", "sounds", "music", "properties"})
    fs::create_directory_symlink(dataDir + "/" + entry, home.File(entry));
  fs::create_directories(home.File("levels"));
  fs::create_symlink(dataDir + "/levels/level_b.dat", home.File("levels/level_b.dat"));
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  // The dialog's own drawing: the slider would hide row 10.
  const auto picture = [&](const std::string& nodes) {
    home.Write("levels/level_n.dat", nodes + std::string(kNodeRecordSize - nodes.size(), '\0'));
    LevelDialog* dialog = Open();
    ClickCentre(dialog->GetWatchButton().GetRect());
    RunFor(SolvePlayback::kUpdatesPerPiece * 10 * 3);
    Zing::MemoryImage image;
    image.Create(dialog->width, dialog->height);
    Zing::Graphics g(&image);
    dialog->Draw(&g);
    ClickFooter(DIALOG_LEVEL_CHOOSER, false);
    return std::vector<std::uint32_t>(image.GetBits(), image.GetBits() + image.GetWidth() * image.GetHeight());
  };
  // Link 1 on column 10 and row 10, or beyond; a third pair past the count beside piece 0x45, or none.
  EXPECT_TRUE(picture({4, 0x00, 0x02, '\xA0', 0x0A, 0x44, 0x46}) == picture({4, 0x00, 0x02, '\xB0', 0x0B}));
}

struct KeyboardFlow : ShellFixture {
  // A key, then time for the logic tick that takes it.
  void Press(int key) {
    Key(key);
    RunFor(60);
  }
  Zing::Widget* Focus() { return app->GetWidgetManager()->focusWidget; }
};

TEST_F(KeyboardFlow, TheKeysAloneFromTheSplashToTheBoardAndTheMenu) {
  Start();
  ASSERT_TRUE(app->exits.empty());
  Send(MessageCode::KeyDown, 0, 0, Zing::KEYCODE_START);                  // a controller's Start: the shell's own key,
  EXPECT_FALSE(app->GetWidgetManager()->IsKeyDown(Zing::KEYCODE_START));  // which no widget sees held
  Press(Zing::KEYCODE_START);                                             // the splash has no options
  EXPECT_EQ(app->GetDialogCount(), 0);
  Press(Zing::KEYCODE_SPACE);  // the start link has the focus
  ASSERT_TRUE(Shown(app->mStartScreen));
  Press(Zing::KEYCODE_START);  // the menu's options, but not a second time over themselves
  Press(Zing::KEYCODE_START);
  ASSERT_EQ(std::pair(app->GetDialogCount(), app->GetDialog(DIALOG_OPTIONS) != nullptr), std::pair(1, true));
  Press(Zing::KEYCODE_ESCAPE);
  EXPECT_EQ(Focus(), app->mStartScreen->GetButton(0));
  // Tab and the arrows walk the start screen's and the panel's buttons.
  Press(Zing::KEYCODE_DOWN);
  Press(Zing::KEYCODE_TAB);
  EXPECT_EQ(Focus(), app->mStartScreen->GetButton(2));
  for (int i = 0; i < 3; ++i) Press(Zing::KEYCODE_UP);
  EXPECT_EQ(Focus(), app->mMainMenu->GetButton(MainMenu::kButtonCount - 1));
  Press(Zing::KEYCODE_DOWN);
  EXPECT_EQ(Focus(), app->mStartScreen->GetButton(0));

  // New, with the help over the board: Escape closes it and the board has the keys.
  Press(Zing::KEYCODE_RETURN);
  ASSERT_TRUE(Shown(app->mGameScreen) && app->GetDialog(DIALOG_HELP) != nullptr);
  Press(Zing::KEYCODE_ESCAPE);
  ASSERT_EQ(app->GetDialog(DIALOG_HELP), nullptr);
  EXPECT_EQ(Focus(), app->mGameScreen);
  // The board has them: the arrows lead its highlight (the puzzle's own tests play whole levels with the keys).
  for (int key : {Zing::KEYCODE_RIGHT, Zing::KEYCODE_DOWN, Zing::KEYCODE_RIGHT}) Press(key);
  const std::pair highlight(app->mGameScreen->mHoverX, app->mGameScreen->mHoverY);
  for (int key : {Zing::KEYCODE_LEFT, Zing::KEYCODE_UP}) Press(key);
  EXPECT_EQ(std::pair(app->mGameScreen->mHoverX + 1, app->mGameScreen->mHoverY + 1), highlight);

  // Tab leads to the panel; Options opens on Enter, and Escape closes it with the focus back on its button.
  Press(Zing::KEYCODE_TAB);
  Press(Zing::KEYCODE_DOWN);
  ASSERT_EQ(Focus(), app->mMainMenu->GetButton(1));
  Press(Zing::KEYCODE_RETURN);
  ASSERT_NE(app->GetDialog(DIALOG_OPTIONS), nullptr);
  EXPECT_TRUE(app->mGameScreen->IsPaused());
  Press(Zing::KEYCODE_ESCAPE);
  EXPECT_EQ(std::pair(app->GetDialog(DIALOG_OPTIONS), Focus()),
            std::pair(static_cast<Zing::Dialog*>(nullptr), static_cast<Zing::Widget*>(app->mMainMenu->GetButton(1))));
  // Exit: Escape answers no, Enter on the focused YES leaves.
  for (int key : {Zing::KEYCODE_DOWN, Zing::KEYCODE_DOWN, Zing::KEYCODE_RETURN}) Press(key);
  ASSERT_NE(app->GetDialog(DIALOG_CONFIRM_EXIT), nullptr);
  Press(Zing::KEYCODE_ESCAPE);
  ASSERT_EQ(app->GetDialog(DIALOG_CONFIRM_EXIT), nullptr);
  EXPECT_FALSE(app->shutdown);
  for (int i = 0; i < 2; ++i) Press(Zing::KEYCODE_RETURN);
  ASSERT_TRUE(app->shutdown);
}

using DailyFlow = ShellFixture;

TEST_F(DailyFlow, TodaysBoardIsPlayedBesideTheGameAndSolvingItCountsTheDay) {
  ASSERT_NO_FATAL_FAILURE(ReachStartScreen());
  ClickCentre(app->mStartScreen->GetButton(3)->GetRect());
  ASSERT_TRUE(Shown(app->mDailyScreen));
  EXPECT_EQ(std::pair(Shown(app->mStartScreen), app->GetShownGameScreen()), std::pair(false, app->mDailyScreen));
  const CalendarDate today = LocalToday();
  EXPECT_EQ(app->mMainMenu->LevelLabel(), DateText(today, Language::English));
  EXPECT_EQ(app->mDailyScreen->GetLevel(), DailyLevelIndex(Weekday(today)));

  // The stored solution fills the board: a perfect solve.
  ASSERT_NO_FATAL_FAILURE(DrawSolution(app->mDailyScreen));
  for (int i = 0; i < 400 && app->GetDialog(DIALOG_DAILY) == nullptr; ++i) RunFor(50);
  ASSERT_NE(app->GetDialog(DIALOG_DAILY), nullptr);
  EXPECT_EQ(std::pair(Shown(app->mStartScreen), Shown(app->mDailyScreen)), std::pair(true, false));
  const DailyRecord record = app->GetDailyRecord();
  EXPECT_EQ(std::tuple(record.streak, record.best, TodayState(record, DayNumber(today))),
            std::tuple(1, 1, DailyState::Perfect));
  ClickFooter(DIALOG_DAILY);
  EXPECT_EQ(app->GetDialog(DIALOG_DAILY), nullptr);
  EXPECT_FALSE(Shown(app->mShadow));
  // The game of the hundred levels was neither started nor saved over, and
  // no level counts as solved; the day is in the progress file for the next run.
  EXPECT_EQ(std::tuple(app->mGameScreen, home.Exists("data/save/game.dat"), app->GetProgress().SolvedCount()),
            std::tuple(nullptr, false, 0));
  Progress stored;
  ASSERT_EQ(ReadProgressFile(home.File("data/save/progress.dat"), stored), ProgressFileState::Read);
  EXPECT_EQ(stored.daily, record);
}

// A recording keeps the date of the board it opened, and its playback opens that date's board
// whatever day it is played on: the date of the marker at the update that opens it.
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
  const auto decoded = LevelGen::DecodeLevel(board, nodes, solution);
  ASSERT_TRUE(daily && decoded);
  EXPECT_EQ(std::pair(decoded->board.present, decoded->routes),
            std::pair(daily->level.board.present, daily->level.routes));
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
  std::string error;  // a day with no board, asked for without the command's checks
  EXPECT_EQ(std::pair(ExportDailyBoard({2026, 2, 30}, folder.Path(), error), error),
            std::pair(false, std::string("no daily board could be made for 2026-02-30")));
  EXPECT_EQ(RunDailyExportCommand({"--export-daily="}, stdout, stderr), 1);
  EXPECT_FALSE(RunDailyExportCommand({"-play", "--to=x"}, stdout, stderr));
}

// Before the application exists: the commands that end at once, the
// parameters handed on, and the folder the data is found in.
TEST_F(ShellFlow, ConsoleCommandsTheirHelpParametersAndTheDataFolder) {
  ZingTest::TempFolder folder;
  setenv("XDG_DATA_HOME", folder.File("home").c_str(), 1);
  EXPECT_EQ(RunConsoleCommand({"-play", "-windowed"}), std::nullopt);
  EXPECT_EQ(RunConsoleCommand({"-play", "--Stats"}), 0);
  EXPECT_EQ(RunConsoleCommand({"--stats", "--export-daily=2026-02-30"}), 1);  // the export goes first
  const std::string help = app->GetCommandLineHelp();  // the game's commands before the framework's help
  EXPECT_LT(help.find("  --stats "), help.find("  --help "));
  EXPECT_EQ(std::tuple(JoinArguments({"-play", "-demofile=my game.dmo", "-windowed"}), JoinArguments({})),
            std::tuple("-play \"-demofile=my game.dmo\" -windowed", ""));

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
