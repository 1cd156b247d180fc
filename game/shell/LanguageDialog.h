#pragma once

// The language chooser: English, Deutsch and Français in a list; OK switches
// every text and language image of the game at once and stores the choice.

#include <memory>

#include "framework/widget/Dialog.h"
#include "framework/widget/ListListener.h"
#include "framework/widget/ListWidget.h"

namespace Lintwick {

class AppManager;

class LanguageDialog : public Zing::Dialog, public Zing::ListListener {
 public:
  explicit LanguageDialog(AppManager* app);
  ~LanguageDialog() override;

  using Dialog::Resize;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  using Dialog::ButtonPress;
  void ButtonDepress(int buttonId) override;
  // The list (the arrows pick a language), then ok and cancel.
  std::vector<Zing::Widget*> FocusOrder() override;
  void ListClicked(int listId, int index, int clickCount) override;

  Zing::ListWidget* GetList() { return mList.get(); }
  int GetSelectedIndex() const { return mSelected; }

 private:
  AppManager* mApp;
  std::unique_ptr<Zing::ListWidget> mList;
  int mSelected = 0;
};

}  // namespace Lintwick
