// The main menu panel. The level and score labels are formatted at every
// draw, so they follow the game (and the language) without being told; the
// game screen marks the panel dirty after each of its logic ticks.

#include "game/shell/MainMenu.h"

#include <algorithm>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widget/ButtonWidget.h"
#include "framework/widget/WidgetManager.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/AppManager.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kPanelTextX = 2;
constexpr int kPanelTextY = 11;
constexpr int kLevelX = 61;
constexpr int kLevelY = 65;
constexpr int kWellRight = 156;
constexpr int kScoreX = 37;
constexpr int kScoreY = 82;
constexpr int kButtonX = 13;
constexpr int kButtonY[MainMenu::kButtonCount] = {123, 171, 219, 430};
constexpr int kButtonFontAscent = 14;
// The one key the panel listens to. It is passed on as a command without a
// meaning of its own, so only the click sounds.
constexpr char kSpareKey = 'e';
constexpr int kSpareCommand = 4;

}  // namespace

MainMenu::MainMenu(AppManager* app) : mApp(app) {
  for (int id = 0; id < kButtonCount; ++id) {
    auto* button = new Zing::ButtonWidget(id, this);
    button->SetFont(FONT_DEFAULT);
    if (button->font != nullptr) button->font->ascent = kButtonFontAscent;
    button->label = *TEXT_MAIN_MENU_BUTTONS[id];
    button->SetColor(0, kTextColor);
    button->SetColor(1, kHighlightColor);
    button->overImage = IMAGE_BUTTON_OVER;
    button->downImage = IMAGE_BUTTON_DOWN;
    button->buttonImage = IMAGE_BUTTON_NORMAL;
    button->doFinger = true;
    const int w = IMAGE_BUTTON_NORMAL != nullptr ? IMAGE_BUTTON_NORMAL->GetWidth() : 0;
    const int h = IMAGE_BUTTON_NORMAL != nullptr ? IMAGE_BUTTON_NORMAL->GetHeight() : 0;
    button->Resize(kButtonX, kButtonY[id], w, h);
    mButtons[static_cast<std::size_t>(id)] = button;
  }
  SetHintCount(0);
}

MainMenu::~MainMenu() {
  for (Zing::ButtonWidget* button : mButtons) delete button;
}

void MainMenu::AddedToManager(Zing::WidgetManager* manager) {
  Widget::AddedToManager(manager);
  for (Zing::ButtonWidget* button : mButtons) manager->AddWidget(button);
}

void MainMenu::RemovedFromManager(Zing::WidgetManager* manager) {
  Widget::RemovedFromManager(manager);
  for (Zing::ButtonWidget* button : mButtons) manager->RemoveWidget(button);
}

void MainMenu::SetHintCount(int hintsLeft) {
  Zing::ButtonWidget* button = mButtons[kHintButton];
  button->label = FormatText(TEXT_HINT, hintsLeft);
  button->MarkDirty();
}

void MainMenu::Relabel() {
  for (int id = 0; id < kButtonCount; ++id) {
    mButtons[static_cast<std::size_t>(id)]->label = *TEXT_MAIN_MENU_BUTTONS[id];
    mButtons[static_cast<std::size_t>(id)]->MarkDirty();
  }
  GameScreen* game = mApp->GetShownGameScreen();
  SetHintCount(game != nullptr ? game->GetHintsLeft() : 0);
}

void MainMenu::Draw(Zing::Graphics* g) {
  g->DrawImage(IMAGE_PANEL, 0, 0);
  g->DrawImage(IMAGE_PANEL_TEXT, kPanelTextX, kPanelTextY);
  g->SetColor(kTextColor);
  g->SetFont(FONT_SMALL_DIGITS);
  // A label longer than the level's (the daily board's date) moves left to
  // stay inside the well.
  const std::string level = LevelLabel();
  const int levelWidth = g->GetFont() != nullptr ? g->GetFont()->StringWidth(level) : 0;
  g->DrawString(level, std::min(kLevelX, kWellRight - levelWidth), kLevelY);
  g->DrawString(ScoreLabel(), kScoreX, kScoreY);
  if (GameScreen* game = mApp->GetShownGameScreen()) game->DrawHint(g);
}

std::string MainMenu::LevelLabel() const {
  // The daily board has no level number: its date stands in its place.
  if (mApp->IsDailyBoardShown()) return mApp->DailyDateText();
  const GameScreen* game = mApp->GetShownGameScreen();
  return FormatText(TEXT_LEVEL_LABEL, game != nullptr ? game->GetLevel() + 1 : 0);
}

std::string MainMenu::ScoreLabel() const {
  const GameScreen* game = mApp->GetShownGameScreen();
  return FormatText(TEXT_SCORE_LABEL, game != nullptr ? game->GetScore() : 0);
}

void MainMenu::KeyChar(char character) {
  if (character == kSpareKey) mApp->MainMenuCommand(kSpareCommand);
}

void MainMenu::ButtonDepress(int id) { mApp->MainMenuCommand(id); }

}  // namespace Lintwick
