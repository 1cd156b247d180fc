// One row per alias: the alias and its English, French and German picture.

#include "game/shell/LanguageImages.h"

#include <array>

#include "game/shell/Resources.h"

namespace Lintwick {

namespace {

struct Alias {
  Zing::Image** alias;
  std::array<Zing::Image**, 3> pictures;  // English, French, German
};

const Alias kAliases[] = {
    {&IMAGE_NEW, {&IMAGE_NEW_EN, &IMAGE_NEW_FR, &IMAGE_NEW_DE}},
    {&IMAGE_NEW_HLT, {&IMAGE_NEW_HLT_EN, &IMAGE_NEW_HLT_FR, &IMAGE_NEW_HLT_DE}},
    {&IMAGE_CONTINUE, {&IMAGE_CONTINUE_EN, &IMAGE_CONTINUE_FR, &IMAGE_CONTINUE_DE}},
    {&IMAGE_CONTINUE_HLT, {&IMAGE_CONTINUE_HLT_EN, &IMAGE_CONTINUE_HLT_FR, &IMAGE_CONTINUE_HLT_DE}},
    {&IMAGE_REPLAY, {&IMAGE_REPLAY_EN, &IMAGE_REPLAY_FR, &IMAGE_REPLAY_DE}},
    {&IMAGE_REPLAY_HLT, {&IMAGE_REPLAY_HLT_EN, &IMAGE_REPLAY_HLT_FR, &IMAGE_REPLAY_HLT_DE}},
    {&IMAGE_DAILY, {&IMAGE_DAILY_EN, &IMAGE_DAILY_FR, &IMAGE_DAILY_DE}},
    {&IMAGE_DAILY_HLT, {&IMAGE_DAILY_HLT_EN, &IMAGE_DAILY_HLT_FR, &IMAGE_DAILY_HLT_DE}},
    {&IMAGE_REPLAY_LOCKED, {&IMAGE_REPLAY_LOCKED_EN, &IMAGE_REPLAY_LOCKED_FR, &IMAGE_REPLAY_LOCKED_DE}},
    {&IMAGE_MENU_TITLE, {&IMAGE_MENU_TITLE_EN, &IMAGE_MENU_TITLE_FR, &IMAGE_MENU_TITLE_DE}},
    {&IMAGE_HELP, {&IMAGE_HELP_EN, &IMAGE_HELP_FR, &IMAGE_HELP_DE}},
    {&IMAGE_EFFECT_TEXTS, {&IMAGE_EFFECT_TEXTS_EN, &IMAGE_EFFECT_TEXTS_FR, &IMAGE_EFFECT_TEXTS_DE}},
};

}  // namespace

void SelectLanguageImages(Language language) {
  const auto column = static_cast<std::size_t>(language);
  for (const Alias& entry : kAliases) *entry.alias = *entry.pictures[column];
}

}  // namespace Lintwick
