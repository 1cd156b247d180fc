// The about dialog: the text table's about body with the version filled in.

#include "game/shell/AboutDialog.h"

#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/GameConstants.h"
#include "game/shell/Resources.h"
#include "game/shell/Texts.h"

namespace Lintwick {

AboutDialog::AboutDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_ABOUT, true, TEXT_ABOUT_TITLE,
             FormatText(TEXT_ABOUT_BODY, kProductVersion), TEXT_ABOUT_CLOSE, BUTTONS_FOOTER),
      mApp(app) {
  ApplyDialogLook(*this);
  Resize(186, 90, 268, 300);
}

void AboutDialog::ButtonDepress(int buttonId) {
  Dialog::ButtonDepress(buttonId);
  if (buttonId == ID_FOOTER) mApp->KillDialog(this);
}

}  // namespace Lintwick
