// The help dialog. Opened at the start of a fresh game it also owns the
// shadow under it and takes it away on closing; opened over another dialog
// it leaves the shadow to that dialog.

#include "game/shell/HelpDialog.h"

#include "framework/graphics/Graphics.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

// Tall enough for three lines of keys between the picture and the button.
constexpr int kDialogX = 87;
constexpr int kDialogY = 9;
constexpr int kDialogWidth = 466;
constexpr int kDialogHeight = 462;
constexpr int kPictureCentreX = 233;
constexpr int kPictureCentreY = 217;
constexpr int kKeysInset = 26;
constexpr int kKeysGap = 3;
constexpr int kKeysHeight = 48;
constexpr int kCentred = 0;

}  // namespace

HelpDialog::HelpDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_HELP, true, TEXT_HELP_TITLE, "", TEXT_HELP_CLOSE,
             BUTTONS_FOOTER),
      mApp(app) {
  ApplyDialogLook(*this);
  Resize(kDialogX, kDialogY, kDialogWidth, kDialogHeight);
}

void HelpDialog::Draw(Zing::Graphics* g) {
  Dialog::Draw(g);
  if (IMAGE_HELP == nullptr) return;
  const int w = IMAGE_HELP->GetCelWidth();
  const int h = IMAGE_HELP->GetCelHeight();
  g->DrawImageCel(IMAGE_HELP, kPictureCentreX - w / 2, kPictureCentreY - h / 2, 0);
  DrawKeys(g, kPictureCentreY + h / 2);
}

// The keys, between the picture and the closing button.
void HelpDialog::DrawKeys(Zing::Graphics* g, int top) {
  if (FONT_DEFAULT == nullptr) return;
  g->SetFont(FONT_DEFAULT);
  g->SetColor(kTextColor);
  const Zing::Rect area(kKeysInset, top + kKeysGap, width - 2 * kKeysInset, kKeysHeight);
  DrawWordWrapped(g, area, TEXT_HELP_KEYS, -1, kCentred);
}

void HelpDialog::ButtonDepress(int buttonId) {
  Dialog::ButtonDepress(buttonId);
  if (buttonId != ID_FOOTER) return;
  AppManager* app = mApp;  // this dialog is queued for deletion below
  app->KillDialog(this);
  if (app->mShowHelp) {
    app->mShowHelp = false;
    app->HideShadow();
  }
}

}  // namespace Lintwick
