#pragma once

// The look every dialog of the game shares: the dialog frame and button
// images, the default font and the pale blue text.

#include <string>

namespace Zing {
class Dialog;
}

namespace Lintwick {

// The rectangle a dialog of this id is shown in.
struct DialogPlace {
  int x;
  int y;
  int width;
  int height;
};
DialogPlace DialogPlaceOf(int dialogId);

// Insets, fonts, colours and the space after the header.
void ApplyDialogLook(Zing::Dialog& dialog);

}  // namespace Lintwick
