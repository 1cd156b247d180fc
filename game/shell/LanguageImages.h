#pragma once

// Points the language-neutral image aliases (IMAGE_NEW and its siblings) at
// the pictures of one language. The pictures belong to group "Game", so this
// runs only after that group has been extracted.

#include "game/shell/Texts.h"

namespace Lintwick {

void SelectLanguageImages(Language language);

}  // namespace Lintwick
