#pragma once

// The high-score table in a dialog. Opened from the options dialog it only
// shows the table; opened at the end of a whole game with a score that makes
// the table, it inserts the score with the default name, saves at once, and
// lets the player type a name in place of it.

#include <memory>
#include <string>

#include "framework/widget/Dialog.h"
#include "framework/widget/EditListener.h"
#include "framework/widget/EditWidget.h"
#include "game/shell/ScoreTable.h"

namespace Lintwick {

class AppManager;

class ScoreDialog : public Zing::Dialog, public Zing::EditListener {
 public:
  // Builds the dialog and reads the table from the file.
  explicit ScoreDialog(AppManager* app);
  ~ScoreDialog() override;

  // Enters a final score and shows the dialog with the name field on its
  // row; answers the row, or -1 (nothing shown) when the score is too low.
  int InsertScore(int score);
  void SaveScores();

  using Dialog::Resize;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void Draw(Zing::Graphics* g) override;
  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  using Dialog::ButtonPress;
  void ButtonDepress(int buttonId) override;
  // The name field while a new entry is named, then the closing button.
  std::vector<Zing::Widget*> FocusOrder() override;
  void EditWidgetText(int editId, const std::string& text) override;

  const ScoreTable& GetTable() const { return mTable; }
  Zing::EditWidget* GetNameField() { return mNameField.get(); }
  int GetNewEntry() const { return mNewEntry; }

 private:
  void LoadScores();
  // Stores the name field's text as the new entry's name and saves.
  void StoreTypedName();

  AppManager* mApp;
  ScoreTable mTable;
  int mNewEntry = -1;
  bool mFromGameEnd = false;
  std::unique_ptr<Zing::EditWidget> mNameField;
};

}  // namespace Lintwick
