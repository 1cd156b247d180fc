// The help dialog. Opened at the start of a fresh game it also owns the
// shadow under it and takes it away on closing; opened over another dialog
// it leaves the shadow to that dialog.

#include "game/shell/HelpDialog.h"

#include "framework/graphics/Graphics.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/Resources.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kPictureCentreX = 233;
constexpr int kPictureCentreY = 217;

}  // namespace

HelpDialog::HelpDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_HELP, true, TEXT_HELP_TITLE, "", TEXT_HELP_CLOSE,
             BUTTONS_FOOTER),
      mApp(app) {
  ApplyDialogLook(*this);
  Resize(87, 19, 466, 442);
}

void HelpDialog::Draw(Zing::Graphics* g) {
  Dialog::Draw(g);
  if (IMAGE_HELP == nullptr) return;
  const int w = IMAGE_HELP->GetCelWidth();
  const int h = IMAGE_HELP->GetCelHeight();
  g->DrawImageCel(IMAGE_HELP, kPictureCentreX - w / 2, kPictureCentreY - h / 2, 0);
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
