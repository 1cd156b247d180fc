// The start screen. Its buttons are image buttons whose pictures carry the
// words, so a change of language swaps all eight pictures at once.

#include "game/shell/StartScreen.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widget/ButtonWidget.h"
#include "framework/widget/WidgetManager.h"
#include "game/shell/AppManager.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kTitleX = 5;
constexpr int kTitleY = 15;
// The perfect count, centred under the title, above the first button.
constexpr int kCountCentreX = 235;
constexpr int kCountBaseline = 136;
// Window positions of the buttons: 5 pixels right of the screen's left edge.
constexpr int kButtonX = 175;
constexpr int kButtonY[StartScreen::kButtonCount] = {140, 211, 282, 353};

}  // namespace

StartScreen::StartScreen(AppManager* app) : mApp(app) {
  for (int id = 0; id < kButtonCount; ++id) {
    auto* button = new Zing::ButtonWidget(id, this);
    button->doFinger = true;
    mButtons[static_cast<std::size_t>(id)] = button;
  }
  ApplyLanguageImages();
}

StartScreen::~StartScreen() {
  for (Zing::ButtonWidget* button : mButtons) delete button;
}

void StartScreen::ApplyLanguageImages() {
  mNewImage = IMAGE_NEW;
  mNewHighlight = IMAGE_NEW_HLT;
  mContinueImage = IMAGE_CONTINUE;
  mContinueHighlight = IMAGE_CONTINUE_HLT;
  mReplayImage = IMAGE_REPLAY;
  mReplayHighlight = IMAGE_REPLAY_HLT;
  mDailyImage = IMAGE_DAILY;
  mDailyHighlight = IMAGE_DAILY_HLT;
  const std::array<Zing::Image*, kButtonCount> normal = {mNewImage, mContinueImage, mReplayImage, mDailyImage};
  const std::array<Zing::Image*, kButtonCount> highlight = {mNewHighlight, mContinueHighlight, mReplayHighlight,
                                                            mDailyHighlight};
  for (std::size_t i = 0; i < mButtons.size(); ++i) {
    Zing::ButtonWidget* button = mButtons[i];
    button->buttonImage = normal[i];
    button->overImage = highlight[i];
    button->downImage = highlight[i];
    const int w = normal[i] != nullptr ? normal[i]->GetWidth() : 0;
    const int h = normal[i] != nullptr ? normal[i]->GetHeight() : 0;
    button->Resize(kButtonX, kButtonY[i], w, h);
    button->MarkDirty();
  }
  MarkDirty();
}

void StartScreen::AddedToManager(Zing::WidgetManager* manager) {
  Widget::AddedToManager(manager);
  for (Zing::ButtonWidget* button : mButtons) manager->AddWidget(button);
}

void StartScreen::RemovedFromManager(Zing::WidgetManager* manager) {
  Widget::RemovedFromManager(manager);
  for (Zing::ButtonWidget* button : mButtons) manager->RemoveWidget(button);
}

void StartScreen::Draw(Zing::Graphics* g) {
  g->DrawImage(IMAGE_MENU_BKG, 0, 0);
  g->DrawImage(IMAGE_MENU_TITLE, kTitleX, kTitleY);
  if (!FONT_DEFAULT) return;
  const std::string count = PerfectLabel();
  g->SetFont(FONT_DEFAULT);
  g->SetColor(kTextColor);
  g->DrawString(count, kCountCentreX - FONT_DEFAULT->StringWidth(count) / 2, kCountBaseline);
}

std::string StartScreen::PerfectLabel() const {
  return FormatText(TEXT_PERFECT_COUNT, mApp->GetProgress().PerfectCount());
}

void StartScreen::ButtonDepress(int id) { mApp->StartScreenCommand(id); }

}  // namespace Lintwick
