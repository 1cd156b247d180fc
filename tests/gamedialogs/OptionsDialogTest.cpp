// The options and language dialogs in the running game, and the text table
// behind the languages.

#include <algorithm>

#include "framework/widget/ButtonWidget.h"
#include "game/shell/Resources.h"
#include "game/shell/Texts.h"
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
  EXPECT_TRUE(options->GetFullScreenBox()->IsChecked());
  Zing::Slider* music = options->GetMusicSlider();
  Zing::Slider* effects = options->GetEffectsSlider();
  EXPECT_TRUE(music->x > options->x && music->x + music->width < options->x + options->width);
  const int y = music->y + music->height / 2;  // the knob dragged all the way left
  MoveTo(music->x + 2, y);
  Send(MessageCode::LButtonDown, music->x + 2, y);
  MoveTo(music->x, y);
  Send(MessageCode::LButtonUp, music->x, y);
  EXPECT_LT(app->GetMusicVolume(), 0.1);  // before DONE
  const double musicVolume = app->GetMusicVolume();
  ClickCentre(effects->GetRect());
  EXPECT_NEAR(app->GetSfxVolume(), 0.5, 0.1);
  ClickCentre(options->GetFullScreenBox()->GetRect());
  ClickCentre(options->GetCustomCursorsBox()->GetRect());
  EXPECT_FALSE(app->windowed);  // boxes wait for DONE
  ClickFooter(DIALOG_OPTIONS);
  EXPECT_TRUE(services->lastWindow.windowed);
  EXPECT_EQ(app->mShadow->widgetManager, nullptr);
  EXPECT_EQ(app->GetWidgetManager()->focusWidget, app->mMainMenu);
  const double sfx = app->GetSfxVolume();
  const bool cursors = app->customCursorsEnabled;

  // German relabels the game at once.
  options = OpenOptions();
  ASSERT_NE(options, nullptr);
  LanguageDialog* language = OpenLanguages(options);
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->GetSelectedIndex(), 0);
  ClickCentre(language->yesButton->GetRect());  // OK with English changes nothing visible
  const std::string englishOptions = app->mMainMenu->GetButton(1)->label;

  language = PickGerman(options);
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->GetSelectedIndex(), 1);
  ClickCentre(language->noButton->GetRect());  // CANCEL keeps English
  EXPECT_EQ(app->mLocale, "En");
  std::string stored;
  EXPECT_TRUE(app->RegistryReadString("Locale", stored));
  EXPECT_EQ(stored, "En");

  language = PickGerman(options);
  ASSERT_NE(language, nullptr);
  ClickCentre(language->yesButton->GetRect());
  EXPECT_EQ(app->mLocale, "De");
  EXPECT_NE(app->mMainMenu->GetButton(1)->label, englishOptions);
  EXPECT_EQ(app->mMainMenu->GetButton(1)->label, TEXT_OPTIONS);
  EXPECT_EQ(options->dialogHeader, TEXT_OPTIONS_TITLE);
  EXPECT_EQ(options->GetButton(OptionsDialog::ID_ABOUT)->label, TEXT_ABOUT);
  EXPECT_EQ(app->mStartScreen->GetButton(0)->buttonImage, IMAGE_NEW_DE);
  EXPECT_EQ(Zing::TEXT_DIALOG_CANCEL, "ABBRECHEN");
  ClickFooter(DIALOG_OPTIONS);

  // The player ends this run and starts a new one on the same folders.
  app->Shutdown();
  app.reset();
  services = new LintwickTest::NullServices;
  MakeApp();
  ReachStartScreen();
  EXPECT_EQ(app->mStartScreen->GetButton(0)->buttonImage, IMAGE_NEW_DE);
  EXPECT_TRUE(app->windowed);
  EXPECT_NEAR(app->GetMusicVolume(), musicVolume, 0.011);
  EXPECT_NEAR(app->GetSfxVolume(), sfx, 0.011);
  EXPECT_EQ(app->customCursorsEnabled, cursors);
  options = OpenOptions();
  ASSERT_NE(options, nullptr);
  EXPECT_FALSE(options->GetFullScreenBox()->IsChecked());
  Key(Zing::KEYCODE_RETURN, true);  // Alt+Enter: the box follows the switch
  EXPECT_FALSE(app->windowed);
  EXPECT_TRUE(options->GetFullScreenBox()->IsChecked());
  language = OpenLanguages(options);
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->GetSelectedIndex(), 1);  // the chooser opens on the language in use
  ClickCentre(language->noButton->GetRect());
  ClickFooter(DIALOG_OPTIONS);
  EXPECT_FALSE(app->windowed);

  // Any change of language relabels the panel and swaps the start pictures.
  app->mLocale = "Fr";
  app->LanguageChanged();
  EXPECT_EQ(app->mMainMenu->GetButton(0)->label, "Nouvelle partie");
  EXPECT_EQ(app->mStartScreen->GetButton(1)->buttonImage, IMAGE_CONTINUE_FR);
  EXPECT_EQ(app->mStartScreen->GetButton(2)->overImage, IMAGE_REPLAY_HLT_FR);
}

TEST_F(OptionsFlow, RefusedChoicesAreReportedAndPutBack) {
  ReachStartScreen();
  app->forceFullscreen = true;
  OptionsDialog* options = OpenOptions();
  ASSERT_NE(options, nullptr);
  ClickCentre(options->GetFullScreenBox()->GetRect());
  ASSERT_NE(app->GetDialog(DIALOG_MESSAGE), nullptr);
  EXPECT_EQ(app->GetDialog(DIALOG_MESSAGE)->dialogHeader, "No Windowed Mode");
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
}

TEST(Texts, LanguagesAndTheirBytes) {
  EXPECT_EQ(LanguageOfLocale("Fr"), Language::French);
  EXPECT_EQ(LanguageOfLocale("De"), Language::German);
  for (const char* other : {"", "En", "fr", "FR", "Fra", "de ", "DE"})
    EXPECT_EQ(LanguageOfLocale(other), Language::English) << other;

  SetupTexts(Language::German);
  EXPECT_EQ(TEXT_HELP_CLOSE, std::string("SCHLIE\xDF") + "EN");
  EXPECT_EQ(*TEXT_MAIN_MENU_BUTTONS[3], "Spiel verlassen");

  SetupTexts(Language::French);
  EXPECT_EQ(TEXT_HARDWARE_ACCELERATION, "Acc\xE9l\xE9ration Mat\xE9rielle");
  EXPECT_EQ(FormatText(TEXT_HINT, 7), "Conseil (7 rest.)");

  SetupTexts(Language::English);
  // The about body: seven lines, the version in the first.
  const std::string about = FormatText(TEXT_ABOUT_BODY, "1.0.3");
  EXPECT_EQ(about.substr(0, about.find('\n')), "Lintwick v1.0.3 ");
  EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 6);
  // Only the first placeholder is filled; other percent signs stay as they are.
  EXPECT_EQ(FormatText("%d%% of %d %s", 5), "5%% of %d %s");
  EXPECT_EQ(FormatText("no number", 5), "no number");
}

}  // namespace
