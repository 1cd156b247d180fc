// The game's dialog look, shared by the dialogs the application builds and
// by the help and about dialogs that build themselves.

#include "game/shell/DialogLook.h"

#include "framework/widget/Dialog.h"
#include "game/shell/DialogIds.h"
#include "game/shell/Resources.h"
#include "game/shell/ShellLook.h"

namespace Lintwick {

namespace {

constexpr int kSpaceAfterHeader = 27;

}  // namespace

DialogPlace DialogPlaceOf(int dialogId) {
  switch (dialogId) {
    case DIALOG_CONFIRM_START_NEW:
      return {193, 149, 255, 183};
    case DIALOG_CONFIRM_NEW_GAME:
    case DIALOG_RESTART_LEVEL:
    case DIALOG_CONFIRM_EXIT:
      return {199, 149, 243, 183};
    case DIALOG_DAILY:
      return {185, 140, 270, 200};
    default:
      return {100, 100, 300, 250};
  }
}

void ApplyDialogLook(Zing::Dialog& dialog) {
  dialog.contentInsets = Zing::Insets{18, 18, 18, 15};
  dialog.SetHeaderFont(FONT_DEFAULT);
  dialog.SetLinesFont(FONT_DEFAULT);
  dialog.SetButtonFont(FONT_DEFAULT);
  dialog.SetColor(Zing::Dialog::COLOR_HEADER, kTextColor);
  dialog.SetColor(Zing::Dialog::COLOR_LINES, kTextColor);
  dialog.SetColor(Zing::Dialog::COLOR_BUTTON_TEXT, kTextColor);
  dialog.SetColor(Zing::Dialog::COLOR_BUTTON_TEXT_HILITE, kHighlightColor);
  dialog.spaceAfterHeader = kSpaceAfterHeader;
}

}  // namespace Lintwick
