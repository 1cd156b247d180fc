// The text table: exact language codes, Windows-1252 bytes, the button runs,
// and filling in numbers without treating a text as a format.

#include <gtest/gtest.h>

#include <algorithm>

#include "game/shell/Texts.h"

namespace {

using namespace Lintwick;

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
