// The options, language and high-score dialogs in the running game (names
// typed through key and character messages); the text table behind the
// languages, and what a damaged high-score file turns into.

#include <filesystem>

#include "framework/platform/Windows1252.h"
#include "framework/widget/ButtonWidget.h"
#include "game/shell/Resources.h"
#include "game/shell/ScoreDialog.h"
#include "game/shell/ShellLook.h"
#include "game/shell/SolvePlayback.h"
#include "game/shell/Texts.h"
#include "tests/graphics/TestImages.h"
#include "tests/shell/ShellTestSupport.h"

namespace {

using namespace Lintwick;
using LintwickTest::ShellFixture;
using Zing::Platform::MessageCode;

using OptionsFlow = ShellFixture;

TEST_F(OptionsFlow, VolumesScreenModeAndLanguageSurviveRestart) {
  ReachStartScreen();
  ASSERT_FALSE(app->windowed);  // the game starts in full screen
  OptionsDialog* options = OpenOptions();
  ASSERT_NE(options, nullptr);
  Zing::Slider* music = options->GetMusicSlider();
  Zing::Slider* effects = options->GetEffectsSlider();
  const int y = music->y + music->height / 2;  // the knob dragged all the way left
  MoveTo(music->x + 2, y);
  Send(MessageCode::LButtonDown, music->x + 2, y);
  MoveTo(music->x, y);
  Send(MessageCode::LButtonUp, music->x, y);
  EXPECT_LT(app->GetMusicVolume(), 0.1);  // before DONE
  const double musicVolume = app->GetMusicVolume();
  ClickCentre(effects->GetRect());
  EXPECT_NEAR(app->GetSfxVolume(), 0.5, 0.1);
  const bool cursorsBefore = app->customCursorsEnabled;
  ClickCentre(options->GetFullScreenBox()->GetRect());
  ClickCentre(options->GetCustomCursorsBox()->GetRect());
  EXPECT_EQ(std::pair(app->windowed, app->customCursorsEnabled),
            std::pair(false, cursorsBefore));  // boxes wait for DONE

  ClickFooter(DIALOG_OPTIONS);
  EXPECT_EQ(std::tuple(services->lastWindow.windowed, app->customCursorsEnabled, app->mShadow->widgetManager),
            std::tuple(true, !cursorsBefore, nullptr));
  // The keys are back where they were before the options opened.
  EXPECT_EQ(app->GetWidgetManager()->focusWidget, app->mStartScreen->GetButton(0));
  const double sfx = app->GetSfxVolume();
  const bool cursors = app->customCursorsEnabled;

  // CANCEL keeps the language in use, whatever line was picked; OK takes the
  // picked one and relabels the game at once. (DONE leaves the window as it is.)
  const int windows = services->windowsCreated;
  options = OpenOptions();
  ASSERT_NE(options, nullptr);
  for (bool ok : {false, true}) {
    ASSERT_NE(PickLanguage(options, 1), nullptr);
    ClickFooter(DIALOG_LANGUAGE, ok);
    EXPECT_EQ(app->mLocale + " " + Zing::TEXT_DIALOG_CANCEL, ok ? "De ABBRECHEN" : "En CANCEL");
  }
  ClickFooter(DIALOG_OPTIONS);
  EXPECT_EQ(services->windowsCreated, windows);

  // The player ends this run and starts a new one on the same folders.
  app->Shutdown();
  app.reset();
  services = new LintwickTest::NullServices;
  MakeApp();
  ReachStartScreen();
  EXPECT_EQ(app->mStartScreen->GetButton(0)->buttonImage, IMAGE_NEW_DE);
  EXPECT_EQ(std::pair(app->windowed, app->customCursorsEnabled), std::pair(true, cursors));
  EXPECT_NEAR(app->GetMusicVolume(), musicVolume, 0.011);
  EXPECT_NEAR(app->GetSfxVolume(), sfx, 0.011);
  options = OpenOptions();
  ASSERT_NE(options, nullptr);
  EXPECT_FALSE(options->GetFullScreenBox()->IsChecked());
  Key(Zing::KEYCODE_RETURN, true);  // Alt+Enter: the box follows the switch
  EXPECT_EQ(std::pair(app->windowed, options->GetFullScreenBox()->IsChecked()), std::pair(false, true));
  for (auto [locale, line] : {std::pair{"De", 1}, {"Fr", 2}}) {  // the chooser opens on the language in use
    app->mLocale = locale;
    LanguageDialog* language = OpenLanguages(options);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language->GetSelectedIndex(), line);
    const Zing::ListWidget* list = language->GetList();  // English; below the last line nothing
    for (int at : {0, 3}) Click(list->x + 20, list->y + 4 + list->itemHeight * at + list->itemHeight / 2);
    EXPECT_EQ(language->GetSelectedIndex(), 0);
    ClickFooter(DIALOG_LANGUAGE, false);
  }
  ClickFooter(DIALOG_OPTIONS);
  EXPECT_FALSE(app->windowed);
}

TEST_F(OptionsFlow, RefusedChoicesAreReportedAndPutBackAndTheSecondaryDialogsAreModal) {
  ReachStartScreen();
  app->forceFullscreen = true;
  OptionsDialog* options = OpenOptions();
  ASSERT_NE(options, nullptr);
  ClickCentre(options->GetFullScreenBox()->GetRect());
  ASSERT_NE(app->GetDialog(DIALOG_MESSAGE), nullptr);
  EXPECT_EQ(app->GetDialog(DIALOG_MESSAGE)->dialogHeader, "No Windowed Mode");
  EXPECT_EQ(app->GetWidgetManager()->baseModalWidget, app->GetDialog(DIALOG_MESSAGE));  // modal over the options
  EXPECT_TRUE(options->GetFullScreenBox()->IsChecked());
  ClickFooter(DIALOG_MESSAGE);
  services->accelerationWorks = false;
  ClickCentre(options->GetAccelerationBox()->GetRect());
  ASSERT_NE(app->GetDialog(DIALOG_MESSAGE), nullptr);
  EXPECT_EQ(app->GetDialog(DIALOG_MESSAGE)->dialogHeader, "Not Supported");
  EXPECT_FALSE(options->GetAccelerationBox()->IsChecked());
  ClickFooter(DIALOG_MESSAGE);
  services->accelerationWorks = true;
  ClickCentre(options->GetAccelerationBox()->GetRect());
  EXPECT_EQ(app->GetDialog(DIALOG_MESSAGE), nullptr);  // a machine that passes the test needs no warning
  ClickFooter(DIALOG_OPTIONS);
  EXPECT_TRUE(app->IsHardwareAccelerated());
  services->accelerationWorks = false;  // opened again, the options show what is set and ask nothing
  options = OpenOptions();
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(std::pair(options->GetAccelerationBox()->IsChecked(), app->GetDialogCount()), std::pair(true, 1));
  // Each of its secondary dialogs stands modal over it until its footer closes it.
  for (auto [button, id] : {std::pair{OptionsDialog::ID_HIGH_SCORES, DIALOG_HIGH_SCORES},
                            {OptionsDialog::ID_HELP, DIALOG_HELP},
                            {OptionsDialog::ID_LANGUAGE, DIALOG_LANGUAGE},
                            {OptionsDialog::ID_ABOUT, DIALOG_ABOUT}}) {
    ClickCentre(options->GetButton(button)->GetRect());
    EXPECT_EQ(app->GetWidgetManager()->baseModalWidget, app->GetDialog(id)) << id;
    ClickFooter(id);
    EXPECT_EQ(app->GetWidgetManager()->baseModalWidget, options) << id;
  }
}

TEST(Texts, LanguagesAndTheirBytes) {
  EXPECT_EQ(std::pair(LanguageOfLocale("Fr"), LanguageOfLocale("De")), std::pair(Language::French, Language::German));
  for (const char* other : {"", "En", "fr", "FR", "Fra", "de ", "DE"})
    EXPECT_EQ(LanguageOfLocale(other), Language::English) << other;

    // The whole table in every language, as Windows-1252 bytes, against the
    // fixed list of the game's texts (kept in UTF-8, one text a line).
#define T(id) std::pair<const char*, const std::string*>(#id, &id)
  // clang-format off
  const std::pair<const char*, const std::string*> ids[] = {
      T(TEXT_CLICK_TO_START), T(TEXT_LOADING), T(TEXT_NEW_GAME), T(TEXT_OPTIONS), T(TEXT_HINT), T(TEXT_EXIT_GAME),
      T(TEXT_LEVEL_LABEL), T(TEXT_SCORE_LABEL), T(TEXT_OPTIONS_TITLE), T(TEXT_DONE), T(TEXT_HIGH_SCORES),
      T(TEXT_HELP), T(TEXT_LANGUAGE), T(TEXT_ABOUT), T(TEXT_MUSIC_VOLUME), T(TEXT_EFFECTS_VOLUME),
      T(TEXT_FULL_SCREEN), T(TEXT_CUSTOM_CURSORS), T(TEXT_HARDWARE_ACCELERATION), T(TEXT_START_NEW_GAME_TITLE),
      T(TEXT_START_NEW_GAME_QUESTION), T(TEXT_NEW_GAME_TITLE), T(TEXT_NEW_GAME_QUESTION), T(TEXT_RESTART_LEVEL_TITLE),
      T(TEXT_RESTART_LEVEL_QUESTION), T(TEXT_EXIT_GAME_TITLE), T(TEXT_EXIT_GAME_QUESTION), T(TEXT_CHOOSE_BOARD_TITLE),
      T(TEXT_LEVEL_NUMBER), T(TEXT_HELP_TITLE), T(TEXT_HELP_CLOSE), T(TEXT_HELP_KEYS), T(TEXT_ABOUT_TITLE),
      T(TEXT_ABOUT_CLOSE), T(TEXT_ABOUT_BODY), T(TEXT_HIGH_SCORES_TITLE), T(TEXT_HIGH_SCORES_CLOSE),
      T(TEXT_SELECT_LANGUAGE_TITLE), T(TEXT_DAILY_TITLE), T(TEXT_DAILY_SOLVED), T(TEXT_DAILY_PERFECT),
      T(TEXT_DAILY_STREAK), T(TEXT_DAILY_BEST), T(TEXT_DAILY_NONE), T(TEXT_PERFECT_COUNT), T(TEXT_WATCH),
      T(Zing::TEXT_DIALOG_YES), T(Zing::TEXT_DIALOG_NO), T(Zing::TEXT_DIALOG_OK), T(Zing::TEXT_DIALOG_CANCEL)};
  // clang-format on
#undef T
  std::vector<std::string> shown;
  for (const auto& [name, text] : ids) shown.push_back(std::string(name).substr(std::string(name).rfind(':') + 1));
  for (Language language : {Language::English, Language::French, Language::German}) {
    SetupTexts(language);
    for (std::size_t i = 0; i < shown.size(); ++i) {
      std::string utf8 = Zing::Platform::Windows1252ToUtf8(*ids[i].second);
      for (std::size_t at = 0; (at = utf8.find('\n', at)) != std::string::npos;) utf8.replace(at, 1, "\\n");
      shown[i] += "|" + utf8;
    }
  }
  std::ifstream golden(LINTWICK_TEXTS_GOLDEN);
  std::vector<std::string> expected;
  for (std::string line; std::getline(golden, line);)
    if (!line.empty() && line[0] != '#') expected.push_back(line);
  EXPECT_EQ(std::tuple(shown, *TEXT_MAIN_MENU_BUTTONS[3], *TEXT_OPTIONS_BUTTONS[0]),
            std::tuple(expected, "Spiel verlassen", "Highscores"));

  SetupTexts(Language::English);
  // Only the first placeholder is filled; other percent signs stay as they are.
  EXPECT_EQ(FormatText("%d%% of %d %s", 5), "5%% of %d %s");
  EXPECT_EQ(FormatText("no number", 5), "no number");
}

struct ScoreDialogFlow : ShellFixture {
  // A game at its end hands its final score over; the dialog opens when it enters.
  ScoreDialog* FinishGame(int score) {
    app->StartGame(kStartNewGame);
    if (app->GetDialog(DIALOG_HELP) != nullptr) ClickFooter(DIALOG_HELP);  // the rules shown to a fresh game
    app->ShowHighScores(score);
    RunFor(20);
    return dynamic_cast<ScoreDialog*>(app->GetDialog(DIALOG_HIGH_SCORES));
  }

  std::string ScorePath() const { return home.Path() + "/data/save/score.dat"; }

  ScoreTable StoredScores() {
    Zing::Buffer buffer;
    ScoreTable table;
    table.entries = {};  // a missing file shows as an empty table
    if (app->ZingAppBase::ReadBufferFromFile(ScorePath(), buffer)) table.Read(buffer);
    return table;
  }

  void WriteTable(const ScoreTable& table) {
    Zing::Buffer buffer;
    table.Write(buffer);
    ASSERT_TRUE(app->ZingAppBase::WriteBufferToFile(ScorePath(), buffer));
  }

  // Typed as a person types: capitals with Shift held down.
  void ReplaceName(const std::string& name) {
    for (int i = 0; i < 6; ++i) Key(Zing::KEYCODE_BACK);
    for (char c : name) {
      const bool capital = c >= 'A' && c <= 'Z';
      if (capital) Send(MessageCode::KeyDown, 0, 0, Zing::KEYCODE_SHIFT);
      Send(MessageCode::Char, 0, 0, static_cast<unsigned char>(c));
      if (capital) Send(MessageCode::KeyUp, 0, 0, Zing::KEYCODE_SHIFT);
    }
  }
};

TEST_F(ScoreDialogFlow, ScoresEnterFirstMiddleLastOrNoPlace) {
  ReachStartScreen();
  EXPECT_EQ(FinishGame(100), nullptr);                   // ties with the defaults: no place, nothing saved
  EXPECT_NE(app->mStartScreen->widgetManager, nullptr);  // and the game went straight back to the start screen
  EXPECT_FALSE(std::filesystem::exists(ScorePath()));
  ScoreTable empty, letters;
  letters.entries = {{{900, "A"}, {800, "B"}, {700, "C"}, {600, "D"}, {500, "E"}, {400, "F"}}};
  struct Entry {
    const ScoreTable* before;  // the stored table, or null for the one the last entry left
    int score, place;
    const char *typed, *stored;
    bool enter;  // the name ends with Enter, else the footer closes the dialog with it
  };
  const Entry entries[] = {
      {nullptr, 101, 0, "Ann\x02\xE9", "Ann\xE9", true},  // a control byte refused, an accented letter taken
      {&empty, 300, 0, "Bea", "Bea", false},
      {&letters, 700, 3, "John McDonald", "John McDonald", false},  // below the equal entry; capitals stay
      {nullptr, 501, 5, "Zed", "Zed", true}};
  for (const Entry& entry : entries) {
    if (entry.before != nullptr) WriteTable(*entry.before);
    ScoreDialog* dialog = FinishGame(entry.score);
    ASSERT_NE(dialog, nullptr) << entry.score;
    EXPECT_EQ(dialog->GetNewEntry(), entry.place);
    ScoreTable expected = StoredScores();
    EXPECT_EQ(std::pair(expected.entries[entry.place].score, expected.entries[entry.place].name),
              std::pair(entry.score, std::string("Wicker")));  // saved at once with the default name
    expected.entries[entry.place].name = entry.stored;         // and only that name changes after
    // The name field has the keys, on its place's row (30 pixels apart, the first 68 down).
    EXPECT_EQ(std::pair(app->GetWidgetManager()->focusWidget, dialog->GetNameField()->y - dialog->y),
              (std::pair<Zing::Widget*, int>(dialog->GetNameField(), 68 + 30 * entry.place)));
    ReplaceName(entry.typed);
    if (entry.enter) Key(Zing::KEYCODE_RETURN);
    EXPECT_EQ(dialog->GetNameField()->widgetManager != nullptr, !entry.enter);
    entry.enter ? Key(Zing::KEYCODE_RETURN) : ClickFooter(DIALOG_HIGH_SCORES);  // after Enter, the keys close it
    const ScoreTable stored = StoredScores();
    for (std::size_t i = 0; i < stored.entries.size(); ++i)
      EXPECT_EQ(std::pair(stored.entries[i].score, stored.entries[i].name),
                std::pair(expected.entries[i].score, expected.entries[i].name))
          << entry.score << " place " << i;
    EXPECT_NE(app->mStartScreen->widgetManager, nullptr);  // the game ended
  }
  EXPECT_EQ(std::pair(StoredScores().entries[4].name, StoredScores().entries[3].score),
            std::pair(std::string("D"), 700));
  EXPECT_EQ(FinishGame(501), nullptr);  // equal to the last entry: no place
}

// One piece each time the cube would have rolled a cell, counted from the start, until the whole solve is shown.
TEST(SolvePlayback, OnePieceEachCubeRollFromTheStartUntilAllAreShown) {
  SolvePlayback playback;
  const auto run = [&](int updates) {
    std::vector<int> at;
    for (int update = 1; update <= updates; ++update)
      if (playback.Update()) at.push_back(update);
    return at;
  };
  const std::vector<LaidPiece> solve = {{0, 0x11}, {0, 0x12}, {1, 0x33}};
  EXPECT_EQ(run(100), std::vector<int>{});  // nothing started
  playback.Start(4, solve);
  EXPECT_EQ(run(35), std::vector<int>{});
  playback.Start(4, solve);  // again: the clock starts over too
  EXPECT_EQ(run(300), (std::vector<int>{70, 140, 210}));
  EXPECT_EQ(std::tuple(playback.IsPlaying(), playback.Level(), playback.Shown(), playback.Finished()),
            std::tuple(true, 4, 3, true));
  playback.Stop();
  EXPECT_EQ(std::tuple(playback.IsPlaying(), playback.Shown(), playback.Pieces().size()), std::tuple(false, 0, 0u));
  playback.Start(0, {});  // a solve without pieces is shown whole at once
  EXPECT_EQ(std::pair(playback.Finished(), run(100)), std::pair(true, std::vector<int>{}));
}

TEST(ScoreTable, DamagedFilesGiveSaneTables) {
  const auto read = [](ScoreTable& table, const std::string& bytes) {
    Zing::Buffer buffer = LintwickTest::BufferOf(bytes);
    table.Read(buffer);
  };
  ScoreTable table;
  table.entries[0].score = 5;
  read(table, "");
  EXPECT_EQ(std::pair(table.entries[0].score, table.entries[5].name), std::pair(100, std::string("Wicker")));

  // One whole record, then a name whose length runs past the end.
  read(table, std::string("\x0A\x00\x00\x00\x03\x00"
                          "Ann"
                          "\x05\x00\x00\x00\x40\x00"
                          "B\x01\x1b\x81z",
                          21));
  EXPECT_EQ(std::tuple(table.entries[0].name, table.entries[1].score, table.entries[5].score),
            std::tuple(std::string("Ann"), 5, 0));
  EXPECT_EQ(table.entries[1].name, "Bz");  // control, escape and undefined bytes dropped

  // Every byte against the rule: printable, not DEL, defined in the code page.
  for (int byte = 0; byte < 256; ++byte) {
    const bool kept =
        byte >= 32 && byte != 127 && byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
    EXPECT_EQ(SanitizeScoreName(std::string(3, static_cast<char>(byte))).size(), kept ? 3u : 0u) << byte;
  }
  read(table, std::string("\x01\x00\x00\x00\x20\x00", 6) + std::string(32, 'n'));
  EXPECT_EQ(table.entries[0].name.size(), ScoreTable::kMaxNameLength);

  // A score below the whole table takes no place, whatever lies in memory after the table.
  struct {
    ScoreTable table;
    ScoreEntry after[2] = {{1 << 30, "after"}, {}};
  } guarded;
  EXPECT_EQ(std::pair(guarded.table.Insert(99, "low"), guarded.after[1].name), std::pair(-1, std::string()));
  ScoreTable moved;  // each new first place moves every place down one, down to the last
  for (const std::string name : {"f", "e", "d", "c", "b", "a"}) moved.Insert(1000 - name[0], name);
  EXPECT_EQ(std::pair(moved.entries[0].name, moved.entries[5].name), std::pair(std::string("a"), std::string("f")));
}

}  // namespace
