// The splash: background, lettering, a progress bar that grows with the
// loading thread's completed resources, and a start link that stays hidden
// and disabled until loading has succeeded, so the menus never appear before
// their images exist. The loading thread only counts its resources; the
// splash itself notices at each update when the bar has grown, so no widget
// is touched from that thread.

#include "game/shell/Splash.h"

#include <algorithm>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widget/HyperlinkWidget.h"
#include "framework/widget/WidgetManager.h"
#include "game/shell/AppManager.h"
#include "game/shell/GameConstants.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kStartLinkId = 0;
constexpr int kTextX = 21;
constexpr int kTextY = 74;
constexpr int kBarX = 152;
constexpr int kBarY = 342;
constexpr int kLoadingCentreX = 320;
constexpr int kLoadingBaseline = 404;
constexpr int kLinkY = 384;
constexpr int kCompanyX = 552;
constexpr int kCompanyBaseline = 474;
// The company line keeps this much room to the window's right edge: where the
// game's font makes it wider than the room right of kCompanyX, it moves left.
constexpr int kCompanyMargin = 8;
constexpr Zing::Color kCompanyColor(0x1C, 0x68, 0x60);

}  // namespace

Splash::Splash(AppManager* app) : mApp(app), mStartLink(new Zing::HyperlinkWidget(kStartLinkId, this)) {
  mStartLink->SetFont(FONT_DEFAULT);
  mStartLink->label = TEXT_CLICK_TO_START;
  mStartLink->color = kTextColor;
  mStartLink->overColor = kHighlightColor;
  mStartLink->underlineSize = 1;
}

Splash::~Splash() { delete mStartLink; }

void Splash::AddedToManager(Zing::WidgetManager* manager) {
  Widget::AddedToManager(manager);
  if (mStartLink == nullptr) return;
  mStartLink->SetVisible(false);
  mStartLink->SetDisabled(true);
  const int textWidth = FONT_DEFAULT != nullptr ? FONT_DEFAULT->StringWidth(mStartLink->label) : 0;
  const int fontHeight = FONT_DEFAULT != nullptr ? FONT_DEFAULT->GetHeight() : 0;
  mStartLink->Resize(kLoadingCentreX - textWidth / 2, kLinkY, textWidth, fontHeight + 4);
  mStartLink->doFinger = true;
  manager->AddWidget(mStartLink);
}

void Splash::RemovedFromManager(Zing::WidgetManager* manager) {
  Widget::RemovedFromManager(manager);
  if (mStartLink != nullptr && mStartLink->widgetManager != nullptr) manager->RemoveWidget(mStartLink);
}

void Splash::EnableStartLink() {
  if (mStartLink == nullptr) return;
  mStartLink->SetVisible(true);
  mStartLink->SetDisabled(false);
  // Enter or Space starts as well as a click.
  if (widgetManager != nullptr) widgetManager->SetFocus(mStartLink);
  MarkDirty();
}

bool Splash::IsStartLinkEnabled() const {
  return mStartLink != nullptr && mStartLink->visible && !mStartLink->disabled;
}

Zing::Rect Splash::GetStartLinkRect() const { return mStartLink != nullptr ? mStartLink->GetRect() : Zing::Rect(); }

int Splash::BarWidth() const {
  if (IMAGE_LOADING_BAR == nullptr) return 0;
  return static_cast<int>(mApp->GetLoadingThreadProgress() * IMAGE_LOADING_BAR->GetWidth());
}

void Splash::Update() {
  Widget::Update();
  if (BarWidth() != mDrawnBarWidth) MarkDirty();
}

void Splash::Draw(Zing::Graphics* g) {
  g->DrawImage(IMAGE_SPLASH_BKG, 0, 0);
  g->DrawImage(IMAGE_SPLASH_TEXT, kTextX, kTextY);

  mDrawnBarWidth = BarWidth();  // the progress is read once per draw
  if (mDrawnBarWidth > 0) {
    g->DrawImage(IMAGE_LOADING_BAR, kBarX, kBarY, Zing::Rect(0, 0, mDrawnBarWidth, IMAGE_LOADING_BAR->GetHeight()));
  }

  g->SetFont(FONT_DEFAULT);
  if (FONT_DEFAULT == nullptr) return;
  if (mStartLink == nullptr || !mStartLink->visible) {
    g->SetColor(kTextColor);
    g->DrawString(TEXT_LOADING, kLoadingCentreX - FONT_DEFAULT->StringWidth(TEXT_LOADING) / 2, kLoadingBaseline);
  }
  g->SetColor(kCompanyColor);
  const int companyX = std::min(kCompanyX, width - kCompanyMargin - FONT_DEFAULT->StringWidth(kCompanyName));
  g->DrawString(kCompanyName, companyX, kCompanyBaseline);
}

void Splash::ButtonDepress(int id) {
  if (id != kStartLinkId || mStartLink == nullptr) return;
  if (widgetManager != nullptr) widgetManager->RemoveWidget(this);
  mApp->SafeDeleteWidget(mStartLink);
  mStartLink = nullptr;
  mApp->SafeDeleteWidget(this);
  mApp->SplashFinished();
}

}  // namespace Lintwick
