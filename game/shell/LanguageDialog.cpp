// The language dialog: the list of the three languages in a fixed order, the
// current language selected; OK stores "Locale" and relabels the game,
// CANCEL changes nothing.

#include "game/shell/LanguageDialog.h"

#include <array>
#include <string>

#include "framework/widget/WidgetManager.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/GameConstants.h"
#include "game/shell/Resources.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kListId = 1;
constexpr Zing::Rect kDialogRect{186, 132, 269, 217};
constexpr Zing::Rect kListPlace{26, 71, 217, 78};
constexpr int kListColors[Zing::ListWidget::NUM_COLORS][3] = {{17, 66, 61},   {13, 47, 44},   {219, 248, 255},
                                                              {240, 122, 16}, {238, 154, 83}, {8, 41, 38}};

// The lines in list order, with the locale each stands for.
struct Choice {
  const char* line;
  const char* locale;
};
constexpr std::array<Choice, 3> kChoices = {{{"English", "En"},
                                             {"Deutsch", "De"},
                                             {"Fran\xE7"
                                              "ais",
                                              "Fr"}}};

int IndexOfLocale(const std::string& locale) {
  if (locale == "Fr") return 2;
  if (locale == "De") return 1;
  return 0;
}

}  // namespace

LanguageDialog::LanguageDialog(AppManager* app)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, DIALOG_LANGUAGE, true, TEXT_SELECT_LANGUAGE_TITLE, "", "",
             BUTTONS_OK_CANCEL),
      mApp(app),
      mList(std::make_unique<Zing::ListWidget>(kListId, FONT_DEFAULT, this)) {
  ApplyDialogLook(*this);
  mList->SetColors(kListColors, Zing::ListWidget::NUM_COLORS);
  for (const Choice& choice : kChoices) mList->AddLine(choice.line, false);
  mSelected = IndexOfLocale(app->mLocale);
  mList->SetSelect(mSelected);
  Resize(kDialogRect);
}

LanguageDialog::~LanguageDialog() {
  // Leave the tree while the list still exists, so it leaves with the dialog.
  if (parent != nullptr) parent->RemoveWidget(this);
}

void LanguageDialog::Resize(int newX, int newY, int newWidth, int newHeight) {
  Dialog::Resize(newX, newY, newWidth, newHeight);
  mList->Resize(newX + kListPlace.x, newY + kListPlace.y, kListPlace.w, kListPlace.h);
}

void LanguageDialog::AddedToManager(Zing::WidgetManager* manager) {
  Dialog::AddedToManager(manager);
  manager->AddWidget(mList.get());
}

std::vector<Zing::Widget*> LanguageDialog::FocusOrder() {
  std::vector<Zing::Widget*> order{mList.get()};
  for (Zing::Widget* button : Dialog::FocusOrder()) order.push_back(button);
  return order;
}

void LanguageDialog::RemovedFromManager(Zing::WidgetManager* manager) {
  Dialog::RemovedFromManager(manager);
  if (mList->widgetManager != nullptr) manager->RemoveWidget(mList.get());
}

void LanguageDialog::ListClicked(int listId, int index, int) {
  if (listId != kListId || index < 0 || index >= static_cast<int>(kChoices.size())) return;
  mList->SetSelect(index);
  mSelected = index;
}

void LanguageDialog::ButtonDepress(int buttonId) {
  Dialog::ButtonDepress(buttonId);
  AppManager* app = mApp;  // this dialog is queued for deletion below
  if (buttonId == ID_CANCEL) {
    app->KillDialog(this);
    return;
  }
  if (buttonId != ID_OK) return;
  app->mLocale = kChoices[static_cast<std::size_t>(mSelected)].locale;
  if (!app->RegistryWriteString(kLocaleValue, app->mLocale)) {
    app->Popup(std::string("Couldn't save \"") + kLocaleValue + "\" to registry");
  }
  app->LanguageChanged();
  app->KillDialog(this);
}

}  // namespace Lintwick
