// The shadow: one step of alpha per update up to 64 of 255, then still.

#include "game/shell/ShadowScreen.h"

#include "framework/graphics/Graphics.h"

namespace Lintwick {

ShadowScreen::ShadowScreen(AppManager* app) : mApp(app) {
  hasAlpha = true;
  hasTransparencies = true;
}

void ShadowScreen::AddedToManager(Zing::WidgetManager* manager) {
  Widget::AddedToManager(manager);
  mAlpha = 0;  // every showing fades in anew
}

void ShadowScreen::Update() {
  Widget::Update();
  if (mAlpha < kFullAlpha) {
    ++mAlpha;
    MarkDirty();
  }
}

void ShadowScreen::Draw(Zing::Graphics* g) {
  g->SetColor(Zing::Color(0, 0, 0, mAlpha));
  g->FillRect(0, 0, width, height);
}

}  // namespace Lintwick
